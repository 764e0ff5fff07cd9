#include "cli/import_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/calc_command.h"
#include "cli/cli_output.h"
#include "cli/price_update_command.h"
#include "cli/set_open.h"
#include "cli/set_session.h"
#include "exchange/import_run.h"
#include "platform/headless/headless_host.h"
#include "selection/selection_sets.h"
#include "session/preferences.h"
#include "storage/recovery.h"

namespace vantu::cli {

namespace {

constexpr const char* kHelp =
    "uso: vantu-cli import --dir DIRECTORIO --format bc3 --in ARCHIVO --rama R --obra OO\n"
    "                      [--map ARCHIVO]\n"
    "  Importa un archivo FIEBDC-3 en una Rama R y Obra OO nuevas del DIRECTORIO y\n"
    "  escribe la tabla de codigos (--map, por omision importacion-<R><OO>.csv).\n"
    "  Estado de salida: 0 importado, 1 archivo rechazado o Rama existente (nada\n"
    "  escrito), 2 fallo.\n"
    "uso: vantu-cli import --actualizar --dir DIRECTORIO --format bc3 --in ARCHIVO --rama R\n"
    "                      [--map ARCHIVO]\n"
    "  Actualiza los precios de una Rama existente con un banco de precios\n"
    "  (vantu-cli import --actualizar --help lo explica).\n";

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

// "" when the data directory and the file to read are there, else why not.
std::string CheckPlaces(const ImportRequest& r) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(r.dir, ec)) return "no existe el directorio " + r.dir;
  if (!fs::exists(r.file, ec)) return "no existe el archivo " + r.file;
  if (!fs::is_regular_file(r.file, ec)) return r.file + " no es un archivo";
  return "";
}

int RunImport(ImportRequest r, const std::string& argv0) {
  // Only the new Rama is written, under its own lock: a marker left by a
  // run on another set is not this command's business.
  StartWithoutSet(argv0);
  // The data directory becomes the current one, as when a set is opened:
  // the program's end remembers it.
  selection::ChangeDataDirectory(r.dir);
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
  for (const std::string& note : result.notes)
    std::fprintf(stderr, "vantu-cli: nota: %s\n", Utf8(note).c_str());
  std::printf("Importados %d conceptos en la Rama %s, Obra %s de %s\nCodigos en %s\n",
              result.concepts, r.rama.c_str(), r.obra.c_str(), r.dir.c_str(),
              result.mapWritten.c_str());
  return kExitOk;
}

}  // namespace

int ImportCommand(const std::vector<std::string>& args, const std::string& argv0) {
  std::vector<std::string> rest;
  for (const std::string& a : args)
    if (a != "--actualizar") rest.push_back(a);
  if (rest.size() != args.size()) return PriceUpdateCommand(rest, argv0);
  int status = kExitOk;
  const std::optional<ImportRequest> r = ParseOrShowUsage(args, Parse, kHelp, status);
  if (!r) return status;
  if (const std::string why = CheckPlaces(*r); !why.empty()) {
    std::fprintf(stderr, "vantu-cli: %s\n", why.c_str());
    return kExitFailure;
  }
  HeadlessHost host;
  return RunOverHost(host, [&] { return RunImport(*r, argv0); });
}

}  // namespace vantu::cli
