#include "cli/import_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/calc_command.h"
#include "cli/cli_output.h"
#include "cli/set_open.h"
#include "cli/set_session.h"
#include "exchange/import_run.h"
#include "platform/headless/headless_host.h"
#include "selection/selection_sets.h"
#include "session/preferences.h"
#include "storage/recovery.h"

namespace vantu::cli {

namespace {

constexpr const char* kUsage =
    "uso: vantu-cli import --dir DIRECTORIO --format bc3 --in ARCHIVO --rama R --obra OO\n"
    "                      [--map ARCHIVO]\n";

std::string Absolute(const std::string& path) {
  std::error_code ec;
  return std::filesystem::absolute(path, ec).string();
}

std::optional<ImportRequest> Parse(const std::vector<std::string>& args, std::string& why) {
  ImportRequest r;
  bool bc3 = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (i + 1 >= args.size()) {
      why = "falta el valor de " + opt;
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (opt == "--dir") {
      r.dir = Absolute(value);
    } else if (opt == "--format" && value == "bc3") {
      bc3 = true;
    } else if (opt == "--in") {
      r.file = Absolute(value);
    } else if (opt == "--rama") {
      r.rama = value;
    } else if (opt == "--obra") {
      r.obra = value;
    } else if (opt == "--map") {
      r.mapPath = Absolute(value);
    } else {
      why = "opcion no valida: " + opt + " " + value;
      return std::nullopt;
    }
  }
  if (!bc3 || r.file.empty() || r.dir.empty() || r.rama.empty() || r.obra.empty()) {
    why = "se requieren --dir, --format bc3, --in, --rama y --obra";
    return std::nullopt;
  }
  return r;
}

int RunImport(ImportRequest r, const std::string& argv0) {
  // Only the new Rama is written, under its own lock: a marker left by a
  // run on another set is not this command's business.
  StartWithoutSet(argv0);
  // The data directory becomes the current one, as when a set is opened:
  // the program's end remembers it.
  std::error_code ec;
  if (std::filesystem::is_directory(r.dir, ec)) selection::ChangeDataDirectory(r.dir);
  r.toPeso = Prefs().roundToPeso;
  const ImportResult result = ImportBc3(r);
  if (!result.refused.empty()) {
    std::fprintf(stderr, "vantu-cli: no se importo: %s\n", Utf8(result.refused).c_str());
    return kExitDataErrors;
  }
  if (!result.failure.empty()) {
    std::fprintf(stderr, "vantu-cli: %s\n", Utf8(result.failure).c_str());
    return kExitFailure;
  }
  for (const std::string& note : result.notes) std::printf("Nota: %s\n", Utf8(note).c_str());
  std::printf("Importados %d conceptos en la Rama %s, Obra %s de %s\nCodigos en %s\n",
              result.concepts, r.rama.c_str(), r.obra.c_str(), r.dir.c_str(),
              result.mapWritten.c_str());
  return kExitOk;
}

}  // namespace

int ImportCommand(const std::vector<std::string>& args, const std::string& argv0) {
  const std::optional<ImportRequest> r = ParseOrShowUsage(args, Parse, kUsage);
  if (!r) return kExitFailure;
  HeadlessHost host;
  return RunOverHost(host, [&] { return RunImport(*r, argv0); });
}

}  // namespace vantu::cli
