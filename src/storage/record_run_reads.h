#pragma once
// Runs of consecutive records read with one read: for a caller that goes
// through most of a file's records (the review and calculation), where one
// read per record would cost a system call each. The bytes are those that
// GetRec would give for each record of the run, one after the other.

#include <cstdint>

#include "storage/record_file.h"

namespace vantu {

// Reads `count` whole records, records first .. first + count - 1, into
// `buf` (count * RecordLength bytes). Every record must exist
// (0 .. RecordCount - 1). Failures end the program through the engine's
// error box, as GetRec's do.
void GetRecRun(DataFileState& f, int16_t first, int count, uint8_t* buf);

}  // namespace vantu
