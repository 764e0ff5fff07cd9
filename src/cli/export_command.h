#pragma once
// vantu-cli export --dir DIR --rama R [--obra O] --format bc3|xlsx|csv
//                  --out PATH [--decimal coma|punto]
//
// Opens the set as the program does and writes it, calculated, as an
// exchange file (.bc3), a workbook (.xlsx) or CSV tables (PATH is then a
// directory). Exit status: 0 written, 1 the set is not calculated (nothing
// written; run calc first), 2 failure.

#include <string>
#include <vector>

namespace vantu::cli {

int ExportCommand(const std::vector<std::string>& args, const std::string& argv0);

}  // namespace vantu::cli
