#include "cli/export_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/install_modules.h"
#include "cli/calc_command.h"
#include "cli/cli_output.h"
#include "cli/set_open.h"
#include "cli/set_session.h"
#include "exchange/export_run.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "storage/storage_engine.h"

namespace vantu::cli {

namespace {

constexpr const char* kHelp =
    "uso: vantu-cli export --dir DIRECTORIO --rama R [--obra OO] --format bc3|xlsx|csv\n"
    "                      --out RUTA [--decimal coma|punto]\n"
    "  Exporta la Rama R (y su Obra OO) ya calculada: FIEBDC-3 (.bc3), libro de\n"
    "  Excel (.xlsx) o tablas CSV en UTF-8 (RUTA es entonces una carpeta;\n"
    "  --decimal punto da \",\" y \".\", coma (por omision) \";\" y \",\").\n"
    "  Estado de salida: 0 exportado, 1 el conjunto no esta calculado (nada\n"
    "  escrito), 2 fallo.\n";

struct ExportArgs {
  SetArgs set;
  std::optional<ExportFormat> format;
  std::string out;
  CsvOptions csv;
};

std::optional<ExportArgs> Parse(const std::vector<std::string>& args, std::string& why) {
  ExportArgs a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (i + 1 >= args.size()) {
      why = "falta el valor de " + opt;
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (opt == "--dir") {
      a.set.dir = value;
    } else if (opt == "--rama") {
      a.set.rama = value;
    } else if (opt == "--obra") {
      a.set.obra = value;
    } else if (opt == "--format" && ExportFormatNamed(value)) {
      a.format = ExportFormatNamed(value);
    } else if (opt == "--out") {
      // Opening the set changes the working directory: a relative path is
      // taken from where the command was given.
      std::error_code ec;
      a.out = std::filesystem::absolute(value, ec).string();
    } else if (opt == "--decimal" && (value == "coma" || value == "punto")) {
      a.csv = value == "coma" ? CsvOptions{';', ','} : CsvOptions{',', '.'};
    } else {
      why = "opcion no valida: " + opt + " " + value;
      return std::nullopt;
    }
  }
  if (!a.format || a.out.empty()) {
    why = "se requieren --format y --out";
    return std::nullopt;
  }
  why = CheckSetArgs(a.set);
  if (!why.empty()) return std::nullopt;
  return a;
}

int RunExport(const ExportArgs& a, const std::string& argv0) {
  OpenSetAsSelected(a.set.dir, a.set.rama, a.set.obra, argv0);
  const ExportResult r = ExportOpenSet(*a.format, a.out, a.csv);
  if (r.needsCalculation) {
    std::fprintf(stderr,
                 "vantu-cli: ... PRIMERO DEBE REALIZAR LOS CALCULOS ...: la Rama %s%s cambio "
                 "desde el ultimo calculo; ejecute vantu-cli calc y vuelva a exportar\n",
                 a.set.rama.c_str(), a.set.obra.empty() ? "" : (" / Obra " + a.set.obra).c_str());
    return kExitDataErrors;
  }
  if (!r.error.empty()) {
    std::fprintf(stderr, "vantu-cli: %s\n", r.error.c_str());
    return kExitFailure;
  }
  std::printf("Exportado en %s\n", a.out.c_str());
  return kExitOk;
}

}  // namespace

int ExportCommand(const std::vector<std::string>& args, const std::string& argv0) {
  int status = kExitOk;
  const std::optional<ExportArgs> a = ParseOrShowUsage(args, Parse, kHelp, status);
  if (!a) return status;
  HeadlessHost host;
  return RunOverHost(host, [&] { return RunExport(*a, argv0); });
}

}  // namespace vantu::cli
