#pragma once
// vantu-cli's command line: the order named first (calc, export, import,
// list) with its options, or --help and --version.

#include <string>
#include <vector>

namespace vantu::cli {

// Runs the order that `args` (the arguments after the program's name)
// names; its exit status. Without arguments the help goes to stderr with
// status 2; --help sends it to stdout with status 0.
int VantuCli(const std::vector<std::string>& args, const std::string& argv0);

}  // namespace vantu::cli
