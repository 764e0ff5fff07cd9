#pragma once
// The open Obra as screens and listing headers name it: its name,
// reference, budget date and payment percentages, kept in the selection
// state and taken from the Obra's header record whenever that is read or
// written.

#include "records/budget_records.h"

namespace vantu {

void TakeObraIdentity(const ObraHeader& h);

}  // namespace vantu
