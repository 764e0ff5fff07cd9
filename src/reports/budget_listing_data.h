#pragma once
// What the budget listings read besides the walked file: the Rama's general
// data, the Obra's header, the budget summary figures, and the text forms
// the listings share.

#include <cstdint>
#include <functional>
#include <string>

#include "records/budget_records.h"
#include "records/general_record.h"

namespace vantu {

// The budget summary as the calculation works it out from the budget total
// and the general data.
struct SummaryFigures {
  long double ivaEffectivePct = 0;
  long double directCostTotal = 0;  // D
  long double aiuAmount = 0;        // A
  long double adminAmount = 0;
  long double imprevistosAmount = 0;
  long double utilidadAmount = 0;
  long double subtotalWithAiu = 0;  // S
  long double ivaAmount = 0;
  long double budgetTotal = 0;  // T
};

// Filled from the application with the calculation's summary rule, so that
// the listings print exactly what the calculation works out.
using SummarySourceFn =
    std::function<SummaryFigures(long double budgetItemsTotal, const GeneralDataRecord& general)>;
SummarySourceFn& SummarySource();

struct BudgetListingData {
  GeneralDataRecord general;
  ObraHeader obra;
  bool obraOpen = false;
  SummaryFigures summary;
};

// Reads file 1's record and, with an Obra open, file 6's header, and works
// the summary out through SummarySource.
BudgetListingData LoadListingData();

// Walks the area's index in key order; `visit` gets each record's bytes and
// code and returns false to stop. Returns false when stopped.
bool WalkInKeyOrder(int area,
                    const std::function<bool(const uint8_t* rec, const std::string& code)>& visit);

// "01 010": the first two characters, a blank, the rest.
std::string ItemCodeText(const std::string& code);
// The description, a blank and dots up to 34 characters.
std::string DottedText(const std::string& description);
// A fixed amount of the totals: the number display with 2 decimals.
std::string FixedAmount(int width, long double x);
// A percentage in 5 columns with 2 decimals and "%".
std::string PercentText(long double pct);

// The three bold lines of a chapter heading, the code and description
// `indent` blanks after the margin.
void ChapterHeading(const std::string& code, const std::string& description, int indent);

}  // namespace vantu
