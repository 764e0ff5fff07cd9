#pragma once
// What the budget listings read besides the walked file: the Rama's general
// data, the Obra's header, the budget summary figures, and the text forms
// the listings share.

#include <cstdint>
#include <functional>
#include <string>

#include "calc/cost_rules.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "storage/btree.h"
#include "storage/record_file.h"

namespace vantu {

// The budget summary, worked out by the calculation's own rule so that the
// listings print exactly what the calculation shows.
using SummaryFigures = BudgetSummary;

struct BudgetListingData {
  GeneralDataRecord general;
  ObraHeader obra;
  bool obraOpen = false;
  SummaryFigures summary;
};

// Reads file 1's record and, with an Obra open, file 6's header, and works
// the summary out from the header's budget total.
BudgetListingData LoadListingData();

// Walks an index in key order, reading each entry's record of `data`;
// `visit` gets the record's bytes and the key and returns false to stop.
// Returns false when stopped.
bool WalkIndex(IndexFileState& index, DataFileState& data, int recordLength,
               const std::function<bool(const uint8_t* rec, const std::string& key)>& visit);
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
