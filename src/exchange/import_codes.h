#pragma once
// The second half of planning an import: the concepts already sorted by
// kind get the program's codes (chapters of two digits, items of three, or
// four in analyses), and the records of the plan and the mapping of the
// original codes are filled in. Codes run in steps of 10 while a chapter
// has room for them, else in steps of 1.

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "exchange/bc3_document.h"
#include "exchange/import_plan.h"

namespace vantu {

// The section a leaf of this type goes to: 1 labour -> Mano de Obra (4),
// 2 machinery -> Equipos (1), 3 materials -> Materiales (2), none ->
// Transportes (3), which no percentage of an analysis touches.
inline int SectionOfType(int type) {
  constexpr int kSection[] = {3, 4, 1, 2};
  return type >= 0 && type <= 3 ? kSection[type] : 3;
}

struct AnalysisDraftLine {
  std::string bc3;  // the concept's code in the file
  LineType type = LineType::kInput;
  long double quantity = 0;
  int section = 3;
  bool fromPart = false;  // folded in from a part with its percentage
};

struct AnalysisDraft {
  std::vector<AnalysisDraftLine> lines;
  long double tools = 0, waste = 0;
};

// The concepts by kind, in the codes of the file.
struct ImportDraft {
  std::map<std::string, Bc3Concept> concepts;  // the file's, and undefined percentages
  std::vector<std::string> order;              // as defined in the file
  std::string root;
  std::set<std::string> inputs, percentInputs, budgetLeaves;
  std::map<std::string, AnalysisDraft> analyses;
  std::vector<std::string> writeOrder;        // analyses after the ones they use
  std::map<std::string, std::string> partOf;  // folded part -> its analysis
  std::map<std::string, int> foldedPercent;   // percentage -> section 2 or 4 it became
  std::vector<std::pair<std::string, std::vector<Bc3Child>>> chapters;
  // (chapter, line) measured by ~M -> what the measurement gave
  std::map<std::pair<std::string, size_t>, std::string> measured;
  std::string heading;
};

// Fills plan's records and mapping; "" or why the codes ran out.
std::string AssignCodes(const ImportDraft& d, const std::string& today, ImportPlan& plan);

// A concept's description: its summary, else the first line of its text,
// else its code. Its unit, "UD" when it gives none.
std::string ConceptDescription(const Bc3Concept& c);
std::string ConceptUnit(const Bc3Concept& c);

// "ddmmaa" or "ddmmaaaa" as "dd/mm/aa"; anything else is `otherwise`.
std::string PlanDate(const std::string& bc3Date, const std::string& otherwise);

}  // namespace vantu
