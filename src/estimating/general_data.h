#pragma once
// Command D: the general data of the Rama and of the open Obra.

#include "records/general_record.h"

namespace vantu {

// Runs the screen; the record is saved when it ends.
void GeneralDataCommand();

// The AIU a save derives from the mode and the three percentages: mode 1
// puts their sum into AiuPerItem and its subcontract copy, mode 2 into
// AiuAtEnd; the others become 0.
void DeriveAiu(GeneralDataRecord& g);

}  // namespace vantu
