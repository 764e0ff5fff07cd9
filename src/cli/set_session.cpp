#include "cli/set_session.h"

#include <algorithm>
#include <filesystem>

#include "cli/set_open.h"

namespace vantu::cli {

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

std::string CheckSetArgs(const SetArgs& a) {
  if (a.dir.empty() || a.rama.size() != 1 || (!a.obra.empty() && a.obra.size() != 2))
    return "se requieren --dir, --rama de un caracter y, si se da, --obra de dos";
  std::error_code ec;
  if (!std::filesystem::is_directory(a.dir, ec)) return "no existe el directorio " + a.dir;
  if (const std::string missing = MissingSetFile(a.dir, a.rama, a.obra); !missing.empty())
    return "no existe el archivo " + missing + " en " + a.dir + ": la Rama " + a.rama +
           (a.obra.empty() ? "" : " con la Obra " + a.obra) + " no esta ahi";
  return "";
}

}  // namespace vantu::cli
