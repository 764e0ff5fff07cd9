#include "cli/commands.h"

#include <cstdio>

#include "cli/calc_command.h"
#include "cli/export_command.h"
#include "cli/import_command.h"
#include "cli/list_command.h"
#include "session/program_version.h"

namespace vantu::cli {

namespace {

constexpr const char* kHelp =
    "uso: vantu-cli ORDEN [opciones]\n"
    "     vantu-cli --version\n"
    "Ordenes (vantu-cli ORDEN --help explica cada una):\n"
    "  calc    revisa y calcula una Rama (y su Obra)\n"
    "  export  exporta un conjunto calculado a FIEBDC-3, Excel o CSV\n"
    "  import  importa un archivo FIEBDC-3 en una Rama y Obra nuevas\n"
    "  list    escribe un listado de un conjunto calculado en texto o PDF\n"
    "Estado de salida de toda orden: 0 hecho, 1 datos rechazados o con errores,\n"
    "2 fallo (argumentos, conjunto inexistente o en uso, disco).\n";

using Command = int (*)(const std::vector<std::string>&, const std::string&);

struct Order {
  const char* name;
  Command run;
};

constexpr Order kOrders[] = {
    {"calc", CalcCommand},
    {"export", ExportCommand},
    {"import", ImportCommand},
    {"list", ListCommand},
};

}  // namespace

int VantuCli(const std::vector<std::string>& args, const std::string& argv0) {
  if (args.empty()) {
    std::fputs(kHelp, stderr);
    return kExitFailure;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    std::fputs(kHelp, stdout);
    return kExitOk;
  }
  if (args[0] == "--version") {
    std::printf("vantu-cli %s\n", ProgramVersion());
    return kExitOk;
  }
  for (const Order& order : kOrders)
    if (args[0] == order.name)
      return order.run(std::vector<std::string>(args.begin() + 1, args.end()), argv0);
  std::fprintf(stderr, "vantu-cli: orden desconocida: %s\n%s", args[0].c_str(), kHelp);
  return kExitFailure;
}

}  // namespace vantu::cli
