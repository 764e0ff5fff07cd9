#include "selection/record_batches.h"

#include <algorithm>

#include "storage/record_run_reads.h"
#include "storage/record_runs.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

// The most bytes a chunk read or a run of records written holds.
constexpr size_t kMaxRunBytes = 256 * 1024;
// The most records a run takes unchanged to reach the next one put.
constexpr int kMaxBridge = 8;

}  // namespace

std::vector<uint8_t> ReadAllRecords(DataFileState& f) {
  std::vector<uint8_t> bytes(static_cast<size_t>(f.RecordCount) *
                             static_cast<size_t>(f.RecordLength));
  GetRecRun(f, 0, f.RecordCount, bytes.data());
  return bytes;
}

const uint8_t* RecordScanner::Get(int16_t r) {
  if (r < first_ || r >= first_ + count_) Load(r);
  return bytes_.data() + static_cast<size_t>(r - first_) * static_cast<size_t>(f_.RecordLength);
}

const uint8_t* RecordScanner::Held(int r) const {
  if (r < first_ || r >= first_ + count_) return nullptr;
  return bytes_.data() + static_cast<size_t>(r - first_) * static_cast<size_t>(f_.RecordLength);
}

// The chunk runs from r on; when r lies just below the chunk held, the
// pass goes down, and the new chunk ends at r instead. A pass that has
// read more chunks than two passes over the file would is going about in
// no order: the whole file is read once, and every later record is there.
void RecordScanner::Load(int16_t r) {
  if (r < 0 || r >= f_.RecordCount) FailEngine(kStatusReadError, f_.name);
  const int per = std::max<int>(1, static_cast<int>(kMaxRunBytes / f_.RecordLength));
  const int chunks = (f_.RecordCount + per - 1) / per;
  if (++loads_ > 2 * chunks + 2) {
    first_ = 0;
    count_ = f_.RecordCount;
  } else {
    const bool down = count_ > 0 && r < first_ && r >= first_ - per;
    first_ = down ? std::max(0, r - per + 1) : r;
    count_ = std::min(per, f_.RecordCount - first_);
  }
  bytes_.resize(static_cast<size_t>(count_) * static_cast<size_t>(f_.RecordLength));
  GetRecRun(f_, static_cast<int16_t>(first_), count_, bytes_.data());
}

void RecordRunWriter::Put(int16_t r, const uint8_t* rec) {
  const size_t length = static_cast<size_t>(f_.RecordLength);
  if (count_ > 0 && (r != first_ + count_ || bytes_.size() + length > kMaxRunBytes) && !Bridge(r))
    Flush();
  if (count_ == 0) first_ = r;
  bytes_.insert(bytes_.end(), rec, rec + length);
  ++count_;
}

bool RecordRunWriter::Bridge(int16_t r) {
  const int end = first_ + count_;
  const size_t length = static_cast<size_t>(f_.RecordLength);
  if (unchanged_ == nullptr || r <= end || r - end > kMaxBridge) return false;
  if (bytes_.size() + static_cast<size_t>(r - end + 1) * length > kMaxRunBytes) return false;
  for (int g = end; g < r; ++g)
    if (unchanged_->Held(g) == nullptr) return false;
  for (int g = end; g < r; ++g) {
    const uint8_t* rec = unchanged_->Held(g);
    bytes_.insert(bytes_.end(), rec, rec + length);
  }
  count_ = r - first_;
  return true;
}

void RecordRunWriter::Flush() {
  if (count_ == 0) return;
  PutRecRun(f_, first_, count_, bytes_.data());
  bytes_.clear();
  count_ = 0;
}

}  // namespace vantu
