#pragma once
// The screen of command F, shared by its two source files: the record
// fields above (code, chapter, description, unit, minor tools, waste) and
// the four sections of lines below.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "estimating/analysis_lines.h"
#include "records/analysis_records.h"
#include "records/record_ops.h"
#include "toolkit/code_list.h"
#include "toolkit/field_cost_window.h"
#include "toolkit/field_descriptor.h"

namespace vantu {

// Field numbers of the record fields; the lines follow them.
enum AnalysisField {
  kFieldCode = 1,
  kFieldChapter,
  kFieldItem,
  kFieldUnit,
  kFieldTools,
  kFieldWaste,
  kFieldLines
};

// Columns of a line row.
inline constexpr int kLineCodeCol = 1;
inline constexpr int kLineDescCol = 9;
inline constexpr int kLineUnitCol = 46;
inline constexpr int kLinePriceCol = 53;
inline constexpr int kLineQuantityCol = 69;
inline constexpr int kFirstSectionRow = 6;
inline constexpr int kLastSectionRow = 24;

// The cell of a line being edited: its section, its index in the section
// and which of its fields.
enum class LineField { kCode, kQuantity, kDescription, kPrice };
struct LineCursor {
  int group = 1;
  int index = 0;
  LineField field = LineField::kCode;
};

class AnalysesScreen {
 public:
  AnalysesScreen();
  void Run();

  AnalysisRecord Current();  // the record with the lines as they stand
  bool OnChapter() const;
  CaptureTarget Target() const;
  CostOutcome Cost();

 private:
  // Record fields (analyses.cpp).
  bool HasRecord() const;
  std::vector<int> Range() const;
  FieldValue ValueOf(int n) const;
  void Redraw();
  void Load();
  void Start();
  uint8_t EditAt(int n);
  uint8_t EditCode();
  void Save();
  bool HandleRecordKey(uint8_t key);
  void AfterDuplicate();
  void MarkChanged();
  void StampNewRecord();

  // Lines (analyses_lines_ui.cpp).
  int HeadingRow(int group) const;
  int RowOf(int group, int index) const;
  void DrawSections();
  void DrawLine(int group, int index);
  std::vector<LineCursor> Stops() const;
  // The line field under the last click on the sections, as a stop the
  // cursor can take: a heading or a row past the lines gives the nearest
  // line, a cell outside the line's fields its code.
  LineCursor ClickedLine() const;
  uint8_t EditLineField(LineCursor& c);
  uint8_t EditLineCode(LineCursor& c);
  uint8_t EditQuantity(LineCursor& c);
  uint8_t EditGlobalText(LineCursor& c);
  uint8_t EditGlobalPrice(LineCursor& c);
  bool TypeLineCode(LineCursor& c, const std::string& typed);
  bool RemoveLine(const LineCursor& c);
  // Runs the lines from `c` until a key leaves them; the key.
  uint8_t RunLines(LineCursor c);

  AnalysisRecord rec_;
  AnalysisLines lines_;
  std::vector<int16_t> released_;  // global records lines stopped using
  CodedScreen screen_;
  bool newRecord_ = false;  // added or recodified, not saved yet
  LineCursor editing_;      // the line whose code field is being edited
  // Where a click on the sections asked to go, read before the typed line
  // code it ended could change the sections' rows.
  std::optional<LineCursor> clickedLine_;
  bool editingLine_ = false;
};

}  // namespace vantu
