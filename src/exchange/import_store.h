#pragma once
// Writes a planned import as a new Rama (files 1-5) and Obra (file 6) in
// the selection's data directory, through the work areas, and runs the
// program's own review and calculation on it, as command I would: a set
// the program rejects is no import. Work areas 1-6 are used and left
// closed.

#include <string>
#include <vector>

#include "exchange/import_plan.h"
#include "toolkit/error_file.h"

namespace vantu {

struct StoredSet {
  std::vector<ErrorEntry> errors;  // what the review found; none: calculated
  long double directCost = 0;      // the budget's direct cost as calculated
};

// `toPeso` rounds as "Ajuste al peso"; the review's errors go through
// `errorFile`.
StoredSet WritePlannedSet(const ImportPlan& plan, const std::string& rama, const std::string& obra,
                          bool toPeso, const std::string& errorFile);

}  // namespace vantu
