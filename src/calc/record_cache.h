#pragma once
// The records of one work area's data file as a calculation run sees them:
// read once on first use, changed in memory, and written back by Flush,
// each changed record once, in record order. A run touches the same basic
// inputs and analyses many times; the file sees each only once, and
// neighbouring changed records reach it together, in one write.
//
// Record numbers are those of the file (1 .. Count() - 1); the file must not
// grow or shrink while the cache is attached.

#include <cstdint>
#include <vector>

#include "storage/file_sets.h"
#include "storage/record_runs.h"

namespace vantu {

template <class R>
class RecordCache {
 public:
  explicit RecordCache(int area) : area_(area) {
    const WorkArea& a = Area(area);
    if (!a.Data.isOpen || a.RecordLength != R::kSize) return;
    count_ = FileRecordCount(a.Data);
    records_.resize(static_cast<size_t>(count_));
    state_.assign(static_cast<size_t>(count_), kUnread);
  }

  // Records including record 0; 0 when the area's file is not open.
  int Count() const { return count_; }
  bool InRange(int r) const { return r > 0 && r < count_; }

  // The record, read on first use. r must be InRange.
  R& Get(int r) {
    const auto i = static_cast<size_t>(r);
    if (state_[i] == kUnread) {
      GetRec(Area(area_).Data, static_cast<int16_t>(r), records_[i].data());
      state_[i] = kRead;
    }
    return records_[i];
  }
  // The record r, obtained by Get and changed, is to be written back.
  void Put(int r) { state_[static_cast<size_t>(r)] = kChanged; }

  // Writes back the changed records whose bytes differ from the file's,
  // in record order; consecutive ones as one run.
  void Flush() {
    std::vector<uint8_t> run;
    int first = 0;
    auto writeRun = [&] {
      if (!run.empty())
        PutRecRun(Area(area_).Data, static_cast<int16_t>(first),
                  static_cast<int>(run.size() / R::kSize), run.data());
      run.clear();
    };
    R onDisk;
    for (int r = 1; r < count_; ++r) {
      const auto i = static_cast<size_t>(r);
      bool write = false;
      if (state_[i] == kChanged) {
        GetRec(Area(area_).Data, static_cast<int16_t>(r), onDisk.data());
        write = onDisk.bytes != records_[i].bytes;
        state_[i] = kRead;
      }
      if (!write || run.size() >= kRunBytes) writeRun();
      if (!write) continue;
      if (run.empty()) first = r;
      run.insert(run.end(), records_[i].bytes.begin(), records_[i].bytes.end());
    }
    writeRun();
  }

 private:
  enum : uint8_t { kUnread, kRead, kChanged };
  static constexpr size_t kRunBytes = size_t{1} << 20;  // the longest run written at once
  int area_;
  int count_ = 0;
  std::vector<R> records_;
  std::vector<uint8_t> state_;
};

}  // namespace vantu
