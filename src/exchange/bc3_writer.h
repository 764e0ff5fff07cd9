#pragma once
// The open set as an exchange file (.bc3) of concepts and decompositions:
//
//   ~V  owner, format version, program, heading, character set "ANSI"
//       (Windows-1252, the stored texts as they are), information type 2
//       (budget) with an Obra, 1 (database) for a Rama alone, whose root
//       "A##" names the Rama and has no lines
//   ~K  decimal places the records carry (yields as many as the longest
//       written, prices 2, amounts the money decimals) in both the legacy
//       and the current field, and the AIU as general expenses (GG =
//       administration + contingencies) and profit (BI = utilidad) per cent
//   ~C  every concept: code, unit, summary, price, date, type
//   ~D  decompositions: analyses into their lines, budget chapters into
//       their items, the root into the chapters
//   ~M  one measurement per budget line: the item's quantity
//   ~T  texts longer than a summary: the root's note on the AIU and IVA
//
// Records end with CR LF. Prices carry the stored calculation: a concept
// recomputes as the sum of its lines, each line its child's price times
// the yield rounded to the money decimals, and a percentage line the rate
// times the lines above it, rounded the same way. Budget lines use each
// concept's direct cost, so the root recomputes to the direct cost of the
// budget; the AIU and the IVA on the profit go in ~K and the root's text.

#include <string>

#include "exchange/export_model.h"

namespace vantu {

// Decimals of amounts (each line's price times its yield, and every
// total): 0 when amounts are rounded to whole pesos.
int Bc3MoneyDecimals(const ExportModel& m);
// Decimals of prices.
inline constexpr int kBc3PriceDecimals = 2;
// Decimals of yields and quantities at most.
inline constexpr int kBc3YieldDecimals = 6;

std::string Bc3Text(const ExportModel& m);

}  // namespace vantu
