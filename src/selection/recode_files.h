#pragma once
// The two passes over each coded file (2, 3, 4 and the Obra's 6) of a
// recodification. They open the files themselves: the caller has closed
// the work areas first, so that no second handle holds an older copy.

#include <cstdint>
#include <string>
#include <vector>

#include "selection/recode_plan.h"
#include "storage/record_file.h"

namespace vantu {

// One file's records in key order with their codes as they are now in the
// data, and the codes they are to get.
struct FileRenumbering {
  int fileNo = 0;
  std::string ext;
  std::vector<int16_t> records;
  std::vector<std::string> current;
  RenumberPlan plan;
};

// Record length and key length of coded file n.
int CodedRecordLength(int fileNo);
int CodedKeyLength(int fileNo);

// Walks the file's index in key order and plans the new codes; writes
// nothing. Index entries naming a record outside the file or not in use
// are passed over.
FileRenumbering PrepareRenumbering(int fileNo, const std::string& ext, const RecodeParams& p);
// Writes the new codes into the records, in the order that keeps them
// distinct. The index still holds the old codes afterwards.
void RenumberFile(const FileRenumbering& r);
// Sets the file's ChangeMarker and builds its index anew from the codes of
// the records in use.
void ReindexFile(int fileNo, const std::string& ext);

// Reads the first n bytes of record r (status, stamp, code), without the
// copy of the whole record.
void ReadRecordHead(DataFileState& f, int16_t r, uint8_t* head, size_t n);

// Gathers record writes at consecutive ascending numbers into one write.
// A write that a stop cuts short leaves a prefix of it: records written in
// ascending order, as the same records written one by one would, so the
// order of the writes is kept. Writes not in such a run go out alone.
class RecordRunWriter {
 public:
  explicit RecordRunWriter(DataFileState& f) : f_(f) {}
  RecordRunWriter(const RecordRunWriter&) = delete;
  RecordRunWriter& operator=(const RecordRunWriter&) = delete;
  // Queues record r whole; a record that does not continue the run sends
  // the run first.
  void Put(int16_t r, const uint8_t* rec);
  // Sends the queued run. Must be called before the file is closed.
  void Flush();

 private:
  DataFileState& f_;
  int16_t first_ = 0;
  int count_ = 0;
  std::vector<uint8_t> bytes_;
};

// Advances the progress display every this many records, while the run
// shows it.
constexpr int kProgressEvery = 30;
void StepRecodeProgress(int count);
bool& RecodeProgressShown();

}  // namespace vantu
