#pragma once
// What an imported exchange file becomes in the program's terms, before
// anything is written: every concept given its kind and a code of the
// program's own, and the records to write, in the order they can be
// written (an analysis after the analyses it uses).
//
//   leaf concepts used by analyses, or by nothing: basic inputs, grouped by
//     type (1 labour -> Mano de Obra, 2 machinery -> Equipos, 3 materials
//     -> Materiales, none -> Transportes), chapters per group
//   concepts with a decomposition: unit price analyses; a part used once
//     whose lines end in a percentage (materials with waste, labour with
//     minor tools) is folded into its analysis as that percentage
//   other percentage lines: an input "%..." of price 1 whose quantity is
//     the amount the rate gives over the lines above it
//   leaf concepts used directly by the budget: subcontracts by values
//   the root "##": the Obra; its chapters "#" (sub-chapters follow their
//     chapter as chapters of their own) and their items with quantities

#include <array>
#include <string>
#include <vector>

#include "exchange/bc3_document.h"
#include "records/codes.h"

namespace vantu {

struct PlanInput {
  std::string code, description, unit, date;  // date "dd/mm/aa" or ""
  long double price = 0;
  bool chapter = false;
  int group = 0;  // of a chapter
};

struct PlanLine {
  LineType type = LineType::kInput;
  std::string code;  // the program's code of the input or analysis
  long double quantity = 0;
};

struct PlanAnalysis {
  std::string code, description, unit, date;
  bool chapter = false;
  long double herramientaMenorPct = 0, desperdicioPct = 0;
  std::array<std::vector<PlanLine>, 5> sections;  // groups 1..4
};

struct PlanSubcontract {
  std::string code, description, unit, date;
  bool chapter = false;
  int group = 0;  // the value the price goes into, 1..4
  long double value = 0;
};

struct PlanBudgetItem {
  std::string code, pliegos, refCode, description, unit, date;
  uint8_t refType = 0;
  long double quantity = 0;
  bool porDefinir = false;  // no quantity yet: "<POR DEFINIR>"
};

struct PlanChapter {
  std::string code, description;
  std::vector<PlanBudgetItem> items;
};

struct CodeMapping {
  std::string original, code, kind, summary;
};

struct ImportPlan {
  std::string ramaName, obraName, obraReference, budgetDate;
  long double adminPct = 0, utilidadPct = 0;
  std::vector<PlanInput> inputs;              // in code order
  std::vector<PlanAnalysis> analyses;         // chapters first, then uses before users
  std::vector<PlanSubcontract> subcontracts;  // in code order
  std::vector<PlanChapter> chapters;
  std::vector<CodeMapping> mapping;
  std::vector<std::string> notes;  // what was carried differently or left aside
  std::string rootCode;            // the file's root
  long double statedTotal = 0;     // and the price the file gives it (0: none)
};

struct PlanResult {
  ImportPlan plan;
  std::string error;  // "" or why the file cannot be imported
};

// `today` ("dd/mm/aa") dates what the file leaves undated; `toPeso` rounds
// the amounts of percentage lines as the set will.
PlanResult PlanImport(const Bc3Document& doc, const std::string& today, bool toPeso);

}  // namespace vantu
