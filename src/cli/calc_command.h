#pragma once
// vantu-cli calc --dir DIR --rama R [--obra O] [--ajuste-al-peso si|no] [--json]
//
// Opens the Rama (and Obra) as the program does, runs the review and
// calculation, prints the progress on stderr, then every error in the error
// review's words and the budget summary on stdout (as one JSON object with
// --json). Exit status: 0 everything correct, 1 errors found, 2 failure
// (nothing changed).

#include <string>
#include <vector>

#include "cli/exit_status.h"

namespace vantu::cli {

int CalcCommand(const std::vector<std::string>& args, const std::string& argv0);

}  // namespace vantu::cli
