#pragma once
// The arguments that name a set on vantu-cli's command line, checked before
// anything is opened. Opening and closing the set are in cli/set_open.h.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/exit_status.h"

namespace vantu::cli {

struct SetArgs {
  std::string dir, rama, obra;
};

// "" when --dir, --rama (one character) and --obra (two, if given) are
// acceptable and the set's files are there, else why not.
std::string CheckSetArgs(const SetArgs& a);

// True when the arguments hold --help or -h.
bool AsksForHelp(const std::vector<std::string>& args);

// A command's arguments as `parse` reads them. Nothing is returned when
// they ask for help (the help text on stdout, `status` 0) or when `parse`
// refuses them (the reason and the help text on stderr, `status` 2).
template <class Args>
std::optional<Args> ParseOrShowUsage(const std::vector<std::string>& args,
                                     std::optional<Args> (*parse)(const std::vector<std::string>&,
                                                                  std::string&),
                                     const std::string& help, int& status) {
  if (AsksForHelp(args)) {
    std::fputs(help.c_str(), stdout);
    status = kExitOk;
    return std::nullopt;
  }
  std::string why;
  std::optional<Args> a = parse(args, why);
  if (!a) std::fprintf(stderr, "vantu-cli: %s\n%s", why.c_str(), help.c_str());
  status = kExitFailure;
  return a;
}

}  // namespace vantu::cli
