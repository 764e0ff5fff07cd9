#include "cli/price_update_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/calc_command.h"
#include "cli/cli_output.h"
#include "cli/set_open.h"
#include "cli/set_session.h"
#include "exchange/price_update.h"
#include "platform/headless/headless_host.h"
#include "session/selection_state.h"

namespace vantu::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "uso: vantu-cli import --actualizar --dir DIRECTORIO --format bc3 --in ARCHIVO --rama R\n"
    "                      [--map ARCHIVO]\n"
    "  Actualiza los precios de la Rama R con un banco de precios FIEBDC-3. Cada\n"
    "  concepto se busca por el codigo que le da la tabla de codigos (--map; por\n"
    "  omision importacion-<R>01.csv si existe, si no codigos-<R>.csv) o por el\n"
    "  codigo de la Rama (01010 un insumo, S01010 un subcontrato). Cambia los\n"
    "  precios de los insumos y subcontratos que encuentra, agrega los nuevos en\n"
    "  capitulos de su grupo (y sus codigos a la tabla), no toca los analisis y\n"
    "  deja la Rama por calcular. Informe en actualizacion-<R>.csv del DIRECTORIO.\n"
    "  Estado de salida: 0 actualizado, 1 banco rechazado (nada escrito), 2 fallo.\n";

std::optional<PriceUpdateRequest> Parse(const std::vector<std::string>& args, std::string& why) {
  PriceUpdateRequest r;
  bool bc3 = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (i + 1 >= args.size()) {
      why = "falta el valor de " + opt;
      return std::nullopt;
    }
    const std::string& value = args[++i];
    std::error_code ec;
    if (opt == "--dir") {
      r.dir = fs::absolute(value, ec).lexically_normal().string();
    } else if (opt == "--format" && value == "bc3") {
      bc3 = true;
    } else if (opt == "--in") {
      r.file = fs::absolute(value, ec).string();
    } else if (opt == "--rama") {
      r.rama = value;
    } else if (opt == "--map") {
      r.mapPath = fs::absolute(value, ec).string();
    } else {
      why = "opcion no valida con --actualizar: " + opt + " " + value;
      return std::nullopt;
    }
  }
  if (!bc3 || r.file.empty() || r.dir.empty() || r.rama.size() != 1) {
    why = "se requieren --dir, --format bc3, --in y --rama (una letra o cifra)";
    return std::nullopt;
  }
  if (r.dir.size() > 1 && r.dir.back() == '/') r.dir.pop_back();
  return r;
}

// "" when the directory, the Rama and the bank are there, else why not.
std::string CheckPlaces(const PriceUpdateRequest& r) {
  std::error_code ec;
  if (!fs::is_directory(r.dir, ec)) return "no existe el directorio " + r.dir;
  if (const std::string missing = MissingSetFile(r.dir, r.rama, ""); !missing.empty())
    return "no existe el archivo " + missing + " en " + r.dir + ": la Rama " + r.rama +
           " no esta ahi";
  if (!fs::is_regular_file(r.file, ec)) return "no existe el archivo " + r.file;
  return "";
}

int RunUpdate(PriceUpdateRequest r, const std::string& argv0) {
  OpenSetAsSelected(r.dir, r.rama, "", argv0);
  r.dir = Selection().DataDirectory;
  const PriceUpdateResult result = UpdateRamaPrices(r);
  if (!result.refused.empty()) {
    std::fprintf(stderr, "vantu-cli: no se actualizo: %s\n", Utf8(result.refused).c_str());
    return kExitDataErrors;
  }
  if (!result.failure.empty()) {
    std::fprintf(stderr, "vantu-cli: %s\n", Utf8(result.failure).c_str());
    return kExitFailure;
  }
  for (const std::string& line : PriceUpdateSummary(result.plan))
    std::fprintf(stderr, "vantu-cli: %s\n", Utf8(line).c_str());
  std::printf("Precios de la Rama %s actualizados desde %s\nInforme en %s\nCodigos en %s\n",
              r.rama.c_str(), r.file.c_str(), result.reportPath.c_str(), result.mapPath.c_str());
  return kExitOk;
}

}  // namespace

int PriceUpdateCommand(const std::vector<std::string>& args, const std::string& argv0) {
  int status = kExitOk;
  const std::optional<PriceUpdateRequest> r = ParseOrShowUsage(args, Parse, kHelp, status);
  if (!r) return status;
  if (const std::string why = CheckPlaces(*r); !why.empty()) {
    std::fprintf(stderr, "vantu-cli: %s\n", why.c_str());
    return kExitFailure;
  }
  HeadlessHost host;
  return RunOverHost(host, [&] { return RunUpdate(*r, argv0); });
}

}  // namespace vantu::cli
