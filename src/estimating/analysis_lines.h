#pragma once
// The lines of the analysis on the screen: four sections of lines with the
// rows reserved for each, the display data of every line, the checks on a
// typed line code, and the loading of an analysis with its references
// followed and repaired.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/analysis_records.h"
#include "records/codes.h"

namespace vantu {

inline constexpr const char* kDeletedReference = "<<<  Codigo eliminado usuario  >>>";

// What a line shows besides its code and quantity, taken from the record
// it refers to when the analysis is loaded (not stored). A global line
// keeps its description and price here until the analysis is saved.
struct LineCache {
  std::string description;
  std::string unit;
  long double price = 0;
  bool priceChanged = false;  // global: description or price entered since loading
  bool renewDate = false;     // global: the price date becomes today when saved
};

struct EditLine {
  AnalysisLine line;
  LineCache cache;
};

LineType TypeOf(const EditLine& l);
std::string CodeOf(const EditLine& l);

// The sections being edited. rows[g] >= lines[g].size() and the rows add up
// to 15 after every operation.
struct AnalysisLines {
  std::array<std::vector<EditLine>, analysis::kGroups + 1> lines;
  std::array<int, analysis::kGroups + 1> rows{};

  int Count(int g) const { return static_cast<int>(lines[g].size()); }
  // Slot (1..15) of line i (0-based) of section g.
  int SlotOf(int g, int i) const;
  // The section and line of a slot; nothing past 15.
  std::optional<std::pair<int, int>> At(int slot) const;
  // A row more for section g, taken from the section with the most free
  // rows (the first of them on a tie); false when no section has one.
  bool Grow(int g);
  // Removes line i of section g; the following lines move up.
  void Remove(int g, int i);
  // Puts `l` at line i of section g: a new line when i is the count (the
  // section must have a free row), else it replaces line i.
  void Put(int g, int i, const EditLine& l);
  // Codes of all lines but line i of section g.
  std::vector<std::string> OtherCodes(int g, int i) const;
  AnalysisSections ToSections() const;
};

// The lines of a record: sections as stored, rows repaired so that they
// add up to 15 (a new analysis gets 3, 6, 2 and 4). Display data empty.
AnalysisLines LinesOf(const AnalysisRecord& r);
// Writes the sections back into the record.
void StoreLines(AnalysisRecord& r, const AnalysisLines& m);

// A typed line code checked against section `group` of the analysis
// `ownCode`: either the refusal in the user's words, or the line to put in
// place of `previous`.
struct LineCodeOutcome {
  std::string refusal;
  EditLine line;
};
LineCodeOutcome CheckLineCode(const std::string& typed, int group, const std::string& ownCode,
                              const std::vector<std::string>& otherCodes, const EditLine& previous);

// Follows every reference of the analysis (file 2, 3 or 5) and fills the
// display data. Returns true when a line was repaired (a referenced record
// that changed its code or number): the analysis must be saved. Global
// records whose owner is another code get the analysis's code, written at
// once. Global quantities become 0.
bool ResolveLines(AnalysisLines& m, const std::string& ownCode);

}  // namespace vantu
