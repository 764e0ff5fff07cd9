#pragma once
// Runs of consecutive records written with one write: for a caller that
// rewrites many records in record order (the calculation's results), where
// one write per record would cost a system call each.
//
// A run is written as the records one after the other would be, with the
// same bytes in the same order; it is the same "PutRec" step of the write
// order in record_file.h repeated, and a stop leaves every record either old
// or new, as a stop during single PutRecs would. The header is not touched.

#include <cstdint>

#include "storage/record_file.h"

namespace vantu {

// Writes `count` whole records, records first .. first + count - 1, from
// `buf` (count * RecordLength bytes). Every record must exist already
// (1 .. RecordCount - 1): a run never grows the file. Failures end the
// program through the engine's error box, as PutRec's do.
void PutRecRun(DataFileState& f, int16_t first, int count, const uint8_t* buf);

}  // namespace vantu
