#pragma once
// Writes a planned import as a new Rama (files 1-5) and Obra (file 6) in
// the selection's data directory, through the work areas, as freshly
// entered data: every file changed and not yet calculated. Work areas 1-6
// are used and left closed.

#include <string>

#include "exchange/import_plan.h"

namespace vantu {

void WritePlannedSet(const ImportPlan& plan, const std::string& rama, const std::string& obra);

}  // namespace vantu
