#pragma once
// What an export writes, read once from the open Rama (files 1-5) and Obra
// (file 6): the records as plain values in code order, with the prices the
// calculation stored. The writers (exchange formats, spreadsheets, CSV)
// work from this model only, so they never touch a work area.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "calc/cost_rules.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "records/general_record.h"

namespace vantu {

struct ExportInput {
  std::string code, description, unit, date;
  int group = 0;              // 1..4; 0 when its chapter names no group
  long double price = 0;      // as entered
  long double priceUsed = 0;  // AdjustPrice by the group's factor
};

struct ExportLine {
  LineType type = LineType::kEmpty;
  std::string code;     // input or analysis code; "000000" for a global
  int globalRecNo = 0;  // file 5 record of a global
  long double quantity = 0;
  long double cost = 0;  // what the line adds to its section, by the cost rules
};

struct ExportAnalysis {
  std::string code, description, unit, date;
  long double herramientaMenorPct = 0, desperdicioPct = 0;
  std::array<std::vector<ExportLine>, 5> sections;  // groups 1..4
  AnalysisCosts stored;                             // the calculated fields as stored
};

struct ExportSubcontract {
  std::string code, description, unit, date;
  long double directCost = 0, unitPrice = 0;
};

struct ExportGlobal {
  std::string description, date, ownerCode;
  long double price = 0;
};

struct ExportBudgetItem {
  std::string code, pliegosCode, refCode, description, unit;
  uint8_t refType = 0;  // budget_item::kRefAnalysis ...
  bool porDefinir = false;
  long double quantity = 0, unitPrice = 0, total = 0;
};

// As the listings show an item: a global item is one unit at its amount.
inline long double ListedQuantity(const ExportBudgetItem& it) {
  return it.refType == budget_item::kRefGlobal ? 1 : it.quantity;
}
inline long double ListedUnitPrice(const ExportBudgetItem& it) {
  return it.refType == budget_item::kRefGlobal ? it.total : it.unitPrice;
}

struct ExportChapter {
  std::string code, description;
  long double total = 0;
  std::vector<ExportBudgetItem> items;
};

struct ExportModel {
  std::string rama, obra;
  GeneralDataRecord general{};
  ObraHeader obraHeader{};
  bool hasObra = false;
  CostBasis basis;
  BudgetSummary summary;
  std::vector<ExportInput> inputs;
  std::vector<ExportAnalysis> analyses;
  std::vector<ExportSubcontract> subcontracts;
  std::map<int, ExportGlobal> globals;  // by file 5 record number
  std::vector<ExportChapter> chapters;
  long double budgetTotal = 0;  // the header's BudgetItemsTotal
};

// True when a file of the open set changed since the last calculation, or
// the Obra was calculated with another generation than the Rama: the
// stored prices would not be the current ones.
bool SetNeedsCalculation();

// Reads the open set. The Rama must be selected; the Obra is read when one
// is selected.
ExportModel ReadExportModel();

}  // namespace vantu
