#pragma once
// What a budget item (file 6) keeps of the analysis or subcontract that
// prices it: the reference code and its kind, the copy of the referenced
// description and unit, the description written back into the reference,
// the quantity to be defined, and the Obra's tender-code switch.
//
// These work on the open work areas 3, 4 and 6 and never draw.

#include <cstdint>
#include <string>

#include "records/budget_records.h"
#include "records/codes.h"

namespace vantu {

// What a code typed in the item's reference field names, by its shape.
enum class RefKind {
  kChapter,      // 2 characters: the field is edited again
  kAnalysis,     // 6 characters, file 3
  kSubcontract,  // 5 characters, file 4
  kGlobal,       // first five characters "00000": a lump sum
  kInvalid,      // any other length
};
RefKind ClassifyRefCode(const std::string& code);

// Outcome of bringing an item in step with its reference.
enum class RefSync {
  kNotReferenced,  // a global or an item without a reference
  kInStep,         // the reference agrees with the item
  kUpdated,        // code, stamp, description or unit copied; item rewritten
  kMissing,        // neither the record number nor the code finds it
};

// Resolves the reference of the item at record `recNo` of file 6 and copies
// the referenced code, stamp, record number, description and unit into it.
// When anything changed the item is written back and the budget flushed.
RefSync SyncItemReference(BudgetRecord& item, int16_t recNo);

// Prices the item with analysis (6 characters) or subcontract (5) `code`:
// reference, description and unit copied. False when the code is not in
// its file; the item is then unchanged.
bool PriceItemWith(BudgetRecord& item, const std::string& code);

// Makes the item a global: no reference, no description, unit "Global",
// and a quantity that is no longer to be defined.
void MakeGlobalItem(BudgetRecord& item, const std::string& code);

// Writes the item's description into its analysis or subcontract, flushes
// that file and sets its change marker. False when the item has no
// reference or the reference is gone.
bool WriteBackDescription(const BudgetRecord& item);

// F8: switches the quantity between a value and "<POR DEFINIR>" (which
// zeroes it); the budget's change marker is set. True when it is now to be
// defined.
bool TogglePorDefinir(BudgetRecord& item);

// `UsePliegosCodes` of the Obra's header (file 6, record 0).
bool UsesTenderCodes();
// Switches it, writes the header and sets the budget's change marker; the
// new state.
bool ToggleTenderCodes();

}  // namespace vantu
