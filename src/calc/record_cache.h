#pragma once
// The records of one work area's data file as a calculation run sees them:
// read on first use, all at once in long runs, changed in memory, and
// written back by Flush, each changed record once, in record order. A run
// goes through nearly every record of the files it uses and touches the
// same basic inputs and analyses many times; the file sees few long reads
// and writes instead of one per record and use.
//
// Record numbers are those of the file (1 .. Count() - 1); the file must not
// grow or shrink while the cache is attached, and only the cache writes its
// records meanwhile.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "calc/large_buffer.h"
#include "storage/file_sets.h"
#include "storage/record_run_reads.h"
#include "storage/record_runs.h"

namespace vantu {

template <class R>
class RecordCache {
  static_assert(sizeof(R) == static_cast<size_t>(R::kSize), "records are read in place");

 public:
  explicit RecordCache(int area) : area_(area) {
    const WorkArea& a = Area(area);
    if (!a.Data.isOpen || a.RecordLength != R::kSize) return;
    count_ = FileRecordCount(a.Data);
  }

  // Records including record 0; 0 when the area's file is not open.
  int Count() const { return count_; }
  bool InRange(int r) const { return r > 0 && r < count_; }

  // The record; the whole file is read on the first call. r must be InRange.
  R& Get(int r) {
    if (records_.empty()) Load();
    return records_[static_cast<size_t>(r)];
  }
  // The record r, obtained by Get and changed, is to be written back.
  // Put it only when a byte changed: Flush writes it without comparing.
  void Put(int r) {
    changed_[static_cast<size_t>(r)] = 1;
    anyChanged_ = true;
  }

  // Writes back the records Put since the last Flush, in record order;
  // consecutive ones as one run. Callers Put a record only when its bytes
  // changed (see SetChanged), so the file is not read again to compare.
  void Flush() {
    if (!anyChanged_) return;
    anyChanged_ = false;
    int runFirst = 0, runCount = 0;
    auto writeRun = [&] {
      if (runCount > 0)
        PutRecRun(Data(), static_cast<int16_t>(runFirst), runCount,
                  records_[static_cast<size_t>(runFirst)].data());
      runCount = 0;
    };
    for (int r = 1; r < count_; ++r) {
      const auto i = static_cast<size_t>(r);
      if (!changed_[i] || runCount == kRunRecords) writeRun();
      if (!changed_[i]) continue;
      changed_[i] = 0;
      if (runCount == 0) runFirst = r;
      ++runCount;
    }
    writeRun();
  }

 private:
  static constexpr int kRunRecords = std::max(1, (1 << 20) / R::kSize);  // ~1 MB at once

  DataFileState& Data() { return Area(area_).Data; }

  void Load() {
    records_.Allocate(static_cast<size_t>(count_));
    changed_.assign(static_cast<size_t>(count_), 0);
    for (int first = 1; first < count_; first += kRunRecords) {
      const int n = std::min(kRunRecords, count_ - first);
      GetRecRun(Data(), static_cast<int16_t>(first), n,
                records_[static_cast<size_t>(first)].data());
    }
  }

  int area_;
  int count_ = 0;
  // Every record but record 0 is read in by Load; record 0 is never used.
  UninitializedTable<R> records_;
  std::vector<uint8_t> changed_;
  bool anyChanged_ = false;
};

}  // namespace vantu
