#pragma once
// The code lists' source with the costs of analyses and subcontracts priced
// by the calculation's cost rules from the records as they stand, rather
// than as the last calculation stored them.

#include "toolkit/code_list_source.h"

namespace vantu {

// Delegates to `base` (which must outlive it) and prices the details.
CodeListSource& CostedListSource(CodeListSource& base);

}  // namespace vantu
