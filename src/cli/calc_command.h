#pragma once
// vantu-cli calc --dir DIR --rama R [--obra O] [--ajuste-al-peso si|no]
//
// Opens the Rama (and Obra) as the program does, runs the review and
// calculation, prints the progress, every error in the error review's words
// and the budget summary. Exit status: 0 everything correct, 1 errors found,
// 2 failure (nothing changed).

#include <string>
#include <vector>

namespace vantu::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDataErrors = 1;
inline constexpr int kExitFailure = 2;

int CalcCommand(const std::vector<std::string>& args, const std::string& argv0);

}  // namespace vantu::cli
