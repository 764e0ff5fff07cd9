#pragma once
// The code lists' source over the work areas of the open set.

#include "toolkit/code_list_source.h"

namespace vantu {

// The list source over work areas 2, 3, 4 and 6 of the open set.
CodeListSource& WorkAreaSource();

}  // namespace vantu
