#include "storage/record_run_reads.h"

#include "storage/file_io.h"
#include "storage/storage_engine.h"

namespace vantu {

void GetRecRun(DataFileState& f, int16_t first, int count, uint8_t* buf) {
  if (!f.isOpen) FailEngine(kStatusNotOpen, f.name);
  if (count <= 0) return;
  if (first < 0 || first + count > f.RecordCount) FailEngine(kStatusReadError, f.name);
  const auto n = static_cast<size_t>(count) * static_cast<size_t>(f.RecordLength);
  const int64_t pos = static_cast<int64_t>(first) * f.RecordLength;
  size_t done = 0;
  if (int err = Files().ReadAt(f.handle, pos, buf, n, done); err != 0)
    FailEngine(StatusFromOsError(err, kStatusReadError), f.name);
  if (done != n) FailEngine(kStatusReadError, f.name);
}

}  // namespace vantu
