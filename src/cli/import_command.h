#pragma once
// vantu-cli import --dir DIR --format bc3 --in FILE --rama R --obra O
//                  [--map FILE]
//
// Reads an exchange file (.bc3) into a new Rama and Obra of the data
// directory, and writes the codes it gave beside them (or to --map).
// Exit status: 0 imported, 1 refused (the file does not read, its codes
// would not fit, or the Rama or Obra exists; nothing written), 2 failure.

#include <string>
#include <vector>

namespace vantu::cli {

int ImportCommand(const std::vector<std::string>& args, const std::string& argv0);

}  // namespace vantu::cli
