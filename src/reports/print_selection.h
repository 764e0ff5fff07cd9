#pragma once
// The print selection shown before a printed listing: the kind's title,
// the age of old prices to mark, the page range and the confirmation.

namespace vantu {

// Contiguous ranges of the selection's fields a command uses:
//   1..4  old prices, from, to, confirm   (partial forms)
//   2..4  from, to, confirm               (partial budget and schedule listings)
//   5..6  old prices, confirm             (total forms)
//   6..6  confirm                         (total budget and schedule listings)
enum class SelectionFields { PricesAndPages, Pages, PricesOnly, ConfirmOnly };

// The title of a listing kind, empty for kinds without one.
const char* ListingKindTitle(int kind);

// Shows the selection and edits it. On "go" sets FromPage, ToPage, Copies
// and OldPriceDays, writes SI and a line end to the listing file, and, for
// the laser route, shows the print dialog (a cancelled dialog is no "go").
bool PrintSelection(int kind, SelectionFields fields);

}  // namespace vantu
