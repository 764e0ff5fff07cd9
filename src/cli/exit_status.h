#pragma once
// The exit status of every command of vantu-cli and of korven.

namespace vantu::cli {

inline constexpr int kExitOk = 0;          // done (or --help, --version)
inline constexpr int kExitDataErrors = 1;  // the data were refused or hold errors
inline constexpr int kExitFailure = 2;     // could not be done: bad arguments, no set, no disk

}  // namespace vantu::cli
