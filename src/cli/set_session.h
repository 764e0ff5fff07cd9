#pragma once
// The arguments that name a set on vantu-cli's command line, checked before
// anything is opened. Opening and closing the set are in cli/set_open.h.

#include <string>

namespace vantu::cli {

struct SetArgs {
  std::string dir, rama, obra;
};

// "" when --dir, --rama (one character) and --obra (two, if given) are
// acceptable and the set's files are there, else why not.
std::string CheckSetArgs(const SetArgs& a);

}  // namespace vantu::cli
