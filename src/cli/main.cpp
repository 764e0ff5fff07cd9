// vantu-cli: the program's batch commands, without a window.
//   vantu-cli calc --dir DIR --rama R [--obra O] [--ajuste-al-peso si|no]
//   vantu-cli export --dir DIR --rama R [--obra O] --format bc3|xlsx|csv --out PATH
//   vantu-cli import --dir DIR --format bc3 --in FILE --rama R --obra O [--map FILE]
//   vantu-cli list --dir DIR --rama R [--obra O] --listing NAME [--pages A-B]
//                  (--pdf FILE | --text FILE)
// Exit status: 0 correct, 1 data errors found, 2 failure.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/calc_command.h"
#include "cli/export_command.h"
#include "cli/import_command.h"
#include "cli/list_command.h"
#include "session/paths.h"
#include "storage/set_lock.h"

int main(int argc, char** argv) {
  using namespace vantu::cli;
  const std::vector<std::string> args(argv + 1, argv + argc);
  vantu::SetLockProgram("vantu-cli");
  vantu::AnchorHomeVariable();
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::fprintf(args.empty() ? stderr : stdout,
                 "uso: vantu-cli ORDEN [opciones]\n"
                 "  calc --dir DIRECTORIO --rama R [--obra OO] [--ajuste-al-peso si|no]\n"
                 "       revisa y calcula la Rama (y la Obra); estado 0 correcto,\n"
                 "       1 con errores en los datos, 2 fallo\n"
                 "  export --dir DIRECTORIO --rama R [--obra OO] --format bc3|xlsx|csv --out RUTA\n"
                 "       [--decimal coma|punto]  exporta el conjunto calculado; estado 0\n"
                 "       correcto, 1 sin calcular, 2 fallo\n"
                 "  import --dir DIRECTORIO --format bc3 --in ARCHIVO --rama R --obra OO\n"
                 "       [--map ARCHIVO]  importa el archivo en una Rama y Obra nuevas; estado 0\n"
                 "       correcto, 1 rechazado (nada escrito), 2 fallo\n%s",
                 ListUsage().c_str());
    return args.empty() ? kExitFailure : kExitOk;
  }
  if (args[0] == "calc")
    return CalcCommand(std::vector<std::string>(args.begin() + 1, args.end()), argv[0]);
  if (args[0] == "export")
    return ExportCommand(std::vector<std::string>(args.begin() + 1, args.end()), argv[0]);
  if (args[0] == "import")
    return ImportCommand(std::vector<std::string>(args.begin() + 1, args.end()), argv[0]);
  if (args[0] == "list")
    return ListCommand(std::vector<std::string>(args.begin() + 1, args.end()), argv[0]);
  std::fprintf(stderr, "vantu-cli: orden desconocida: %s\n", args[0].c_str());
  return kExitFailure;
}
