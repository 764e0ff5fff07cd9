#pragma once
// What the calculation reads over and over, kept decoded for one run.
//
// The lines of an analysis are read once when it is priced and again each
// time the budget explodes it into basic-input quantities, which for a
// nested analysis is once per item that reaches it. LineTable decodes an
// analysis's lines on first use and keeps them, in the order the pricing
// walks them: section 1's lines in slot order, then section 2's, and so on.
// The lines must not change while the table is in use (the calculation
// changes only computed fields and stamps).
//
// InputNeeds holds the basic inputs' CalcStamp and RequiredQuantity while
// the budget adds quantities to them: each input's record is read once
// and written back once, by WriteBack, with the same values the additions
// made in the record itself would leave.

#include <cstdint>
#include <vector>

#include "calc/record_cache.h"
#include "records/analysis_records.h"
#include "records/coded_records.h"
#include "records/codes.h"

namespace vantu {

struct CalcLine {
  long double quantity = 0;
  int16_t ref = 0;  // RefRecNo
  LineType type = LineType::kEmpty;
  uint8_t group = 0;  // 1..4
};

class LineTable {
 public:
  // The lines of analysis r are Line(first) .. Line(first + count - 1).
  struct Range {
    int first = 0;
    int count = 0;
  };
  // Decodes analysis r's lines on first use; r must be InRange.
  Range Of(RecordCache<AnalysisRecord>& analyses, int r);
  CalcLine Line(int i) const {
    const Meta& m = meta_[static_cast<size_t>(i)];
    return CalcLine{quantities_[static_cast<size_t>(i)], m.ref, m.type, m.group};
  }

 private:
  // The quantities apart from the rest: a line then takes 20 bytes, not
  // 32, and a walk over many analyses stays in the processor's caches.
  struct Meta {
    int16_t ref;
    LineType type;
    uint8_t group;
  };
  std::vector<Range> ranges_;  // by record number; count -1: not decoded yet
  std::vector<long double> quantities_;
  std::vector<Meta> meta_;
};

class InputNeeds {
 public:
  // Adds `need` to input r's RequiredQuantity when its CalcStamp is already
  // `generation`; otherwise stamps it and sets the quantity to `need`.
  void Add(RecordCache<InputRecord>& inputs, int r, int16_t generation, long double need) {
    const auto i = static_cast<size_t>(r);
    if (loaded_.empty()) Size(inputs.Count());
    if (!loaded_[i]) Load(inputs, r);
    if (stamp_[i] == generation) {
      required_[i] = required_[i] + need;
    } else {
      stamp_[i] = generation;
      required_[i] = need;
    }
  }
  // Stores the stamps and quantities into the inputs' records.
  void WriteBack(RecordCache<InputRecord>& inputs);

 private:
  void Size(int records);
  // Input r's stamp and quantity, read from its record on first use.
  void Load(RecordCache<InputRecord>& inputs, int r);

  // By record number, in separate arrays so that the test of `loaded_`,
  // made for every line, touches little memory.
  std::vector<uint8_t> loaded_;
  std::vector<int16_t> stamp_;
  std::vector<long double> required_;
  std::vector<int> touched_;
};

}  // namespace vantu
