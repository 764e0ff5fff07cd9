#pragma once
// The estimating modules in the program: the code lists' source over the
// work areas, the field editor's and cost window's hooks, and commands D
// and E.

#include "toolkit/code_list_source.h"

namespace vantu {

// The list source over work areas 2, 3, 4 and 6 of the open set.
CodeListSource& WorkAreaSource();

// Installs the source, the hooks and the command letters.
void InstallEstimating();

}  // namespace vantu
