#pragma once
// The code lists' source with current costs: the records come from the
// work areas' source, and the detail of an analysis or a subcontract is
// priced now by the cost rules instead of showing what the last
// calculation stored.

#include "toolkit/code_list_source.h"

namespace vantu {

CodeListSource& PricedListSource(CodeListSource& records);

}  // namespace vantu
