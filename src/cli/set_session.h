#pragma once
// The arguments that name a set on vantu-cli's command line, checked before
// anything is opened. Opening and closing the set are in cli/set_open.h.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vantu::cli {

struct SetArgs {
  std::string dir, rama, obra;
};

// "" when --dir, --rama (one character) and --obra (two, if given) are
// acceptable and the set's files are there, else why not.
std::string CheckSetArgs(const SetArgs& a);

// A command's arguments as `parse` reads them; when it refuses them, the
// reason and `usage` are printed on stderr and nothing is returned.
template <class Args>
std::optional<Args> ParseOrShowUsage(const std::vector<std::string>& args,
                                     std::optional<Args> (*parse)(const std::vector<std::string>&,
                                                                  std::string&),
                                     const std::string& usage) {
  std::string why;
  std::optional<Args> a = parse(args, why);
  if (!a) std::fprintf(stderr, "vantu-cli: %s\n%s", why.c_str(), usage.c_str());
  return a;
}

}  // namespace vantu::cli
