#pragma once
// vantu-cli import --actualizar: a price bank's prices into an existing
// Rama (see exchange/price_update.h).

#include <string>
#include <vector>

namespace vantu::cli {

// `args` without "--actualizar". Exit status as every command's.
int PriceUpdateCommand(const std::vector<std::string>& args, const std::string& argv0);

}  // namespace vantu::cli
