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
// AnalysisMarks holds what the pricing and the explosion ask of every
// analysis, again and again, for each line that nests it: whether it is
// priced at all, its CalcStamp and its DirectCost. Kept in small arrays
// read from the records in one pass, the questions do not fetch a whole
// record from memory each; the stamps go back to the records by WriteBack.
//
// InputNeeds holds the basic inputs' CalcStamp and RequiredQuantity while
// the budget adds quantities to them: all inputs are read in one pass
// before the first addition, and each input added to is written back once, by
// WriteBack, with the same values the additions made in the record itself
// would leave.

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
  // Decoding by a walk that reads analysis r's lines anyway (the cross
  // review): Begin, then Add each line in the order Of walks them. Begin
  // is false, and nothing is to be added, when r is decoded already.
  bool Begin(int analysisCount, int r);
  void Add(const uint8_t* line, int group);
  CalcLine Line(int i) const {
    const Packed& p = lines_[static_cast<size_t>(i)];
    return CalcLine{ReadExt(p.quantity), p.ref, p.type, p.group};
  }

 private:
  // A line in 16 bytes: the quantity as its 10 stored bytes, then the rest.
  // The budget's explosion reads the lines of analyses all over the table;
  // four lines to a cache line, each in one, keep those reads few.
  struct alignas(16) Packed {
    uint8_t quantity[10];
    int16_t ref;
    LineType type;
    uint8_t group;
  };
  static_assert(sizeof(Packed) == 16);
  void Reserve(int analysisCount);

  std::vector<Range> ranges_;  // by record number; count -1: not decoded yet
  size_t open_ = 0;            // the analysis whose range Add extends
  std::vector<Packed, LargeBufferAllocator<Packed>> lines_;
};

class AnalysisMarks {
 public:
  // Reads the marks of every analysis, once per run, before the run stamps
  // any. A stamp of this run's generation was left by a run that stopped
  // before it closed (it did not advance the serial): it counts as 0, and
  // WriteBack stores that 0 where this run does not stamp the record anew.
  void Load(RecordCache<AnalysisRecord>& analyses, int16_t generation);
  bool Loaded() const { return !stamp_.empty(); }

  // In use and not a chapter. r must be InRange of the analyses.
  bool Priceable(int r) const { return priceable_[static_cast<size_t>(r)] != 0; }
  int16_t Stamp(int r) const { return stamp_[static_cast<size_t>(r)]; }
  void SetStamp(int r, int16_t stamp) { stamp_[static_cast<size_t>(r)] = stamp; }
  // The DirectCost the record holds.
  long double Direct(int r) const { return direct_[static_cast<size_t>(r)]; }
  // Analysis r was priced: its record now holds `direct` and `stamp`.
  void SetPriced(int r, int16_t stamp, long double direct) {
    stamp_[static_cast<size_t>(r)] = stamp;
    direct_[static_cast<size_t>(r)] = direct;
  }
  // Stores into the records the stamps that differ from theirs.
  void WriteBack(RecordCache<AnalysisRecord>& analyses);

 private:
  std::vector<uint8_t> priceable_;
  std::vector<int16_t> stamp_;
  std::vector<long double> direct_;
};

// The CalcStamp of the global prices, for the same reason.
class GlobalMarks {
 public:
  // As AnalysisMarks::Load: a stamp of `generation` counts as 0.
  void Load(RecordCache<GlobalPriceRecord>& globals, int16_t generation);
  bool Loaded() const { return !stamp_.empty(); }
  int16_t Stamp(int r) const { return stamp_[static_cast<size_t>(r)]; }
  void SetStamp(int r, int16_t stamp) { stamp_[static_cast<size_t>(r)] = stamp; }
  void WriteBack(RecordCache<GlobalPriceRecord>& globals);

 private:
  std::vector<int16_t> stamp_;
};

class InputNeeds {
 public:
  // Adds `need` to input r's RequiredQuantity when its CalcStamp is already
  // `generation`; otherwise stamps it and sets the quantity to `need`.
  // Load first.
  void Add(int r, int16_t generation, long double need) {
    const auto i = static_cast<size_t>(r);
    if (!touched_[i]) Touch(r);
    if (stamp_[i] == generation) {
      required_[i] = required_[i] + need;
    } else {
      stamp_[i] = generation;
      required_[i] = need;
    }
  }
  // Every input's stamp and quantity, read from the records in one pass
  // before the run adds to any. As AnalysisMarks::Load, a stamp of
  // `generation` was left by a stopped run: it counts as 0 (the quantity
  // starts afresh) and is written back as 0 if nothing adds to the input.
  void Load(RecordCache<InputRecord>& inputs, int16_t generation);
  bool Loaded() const { return loaded_; }
  // Stores the stamps and quantities into the inputs' records.
  void WriteBack(RecordCache<InputRecord>& inputs);

 private:
  void Touch(int r) {
    touched_[static_cast<size_t>(r)] = 1;
    touchedList_.push_back(r);
  }

  // By record number, in separate arrays so that the test of `touched_`,
  // made for every line, touches little memory.
  bool loaded_ = false;
  std::vector<uint8_t> touched_;
  std::vector<int16_t> stamp_;
  std::vector<long double> required_;
  std::vector<int> touchedList_;
};

}  // namespace vantu
