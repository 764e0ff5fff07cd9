#pragma once
// Reads and writes of many records of one open file at a time, for the
// recodification's passes over whole files: a system call per chunk of
// records instead of one per record.
//
// Reads change nothing on disk, so they may come in any size. Writes keep
// the order of the record file's writes (storage/record_file.h): a run of
// records goes out with one write only when the records are consecutive
// and put in ascending order, so that a stop inside it leaves the prefix
// that the same records written one by one would.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/record_file.h"

namespace vantu {

// Every record of the file, record 0 included, record r at r * RecordLength.
std::vector<uint8_t> ReadAllRecords(DataFileState& f);

// The records of a file read a chunk at a time. A pass that goes up or
// down the file reads each chunk once; a pass that keeps jumping about
// gets the whole file read at once after a while.
// What the scanner holds is what the file held when it was read: a pass
// that writes a record reads it again from the scanner only when the
// write cannot have changed what it reads.
class RecordScanner {
 public:
  explicit RecordScanner(DataFileState& f) : f_(f) {}
  RecordScanner(const RecordScanner&) = delete;
  RecordScanner& operator=(const RecordScanner&) = delete;
  // Record r whole (0 .. RecordCount - 1); valid until the next call.
  const uint8_t* Get(int16_t r);
  // Record r when the scanner holds it already, else nullptr; reads nothing.
  const uint8_t* Held(int r) const;

 private:
  void Load(int16_t r);

  DataFileState& f_;
  int first_ = 0;
  int count_ = 0;
  int loads_ = 0;
  std::vector<uint8_t> bytes_;
};

// Gathers record writes at consecutive ascending numbers into one write.
// A write that a stop cuts short leaves a prefix of it: records written in
// ascending order, as the same records written one by one would, so the
// order of the writes is kept. Writes not in such a run go out alone.
//
// Given `unchanged`, a scanner holding records the pass does not write, a
// record a few numbers past the run still continues it: the records in
// between go out again as the scanner holds them, which is as they are on
// disk. Only a pass that writes each record at most once, visiting them in
// ascending order from the scanner, may give one.
class RecordRunWriter {
 public:
  explicit RecordRunWriter(DataFileState& f, const RecordScanner* unchanged = nullptr)
      : f_(f), unchanged_(unchanged) {}
  RecordRunWriter(const RecordRunWriter&) = delete;
  RecordRunWriter& operator=(const RecordRunWriter&) = delete;
  // Queues record r whole; a record that does not continue the run sends
  // the run first.
  void Put(int16_t r, const uint8_t* rec);
  // Sends the queued run. Must be called before the file is closed.
  void Flush();

 private:
  // Appends the records from the run's end to just before r, when the
  // scanner holds them all; true when the run now ends just before r.
  bool Bridge(int16_t r);

  DataFileState& f_;
  const RecordScanner* unchanged_;
  int16_t first_ = 0;
  int count_ = 0;
  std::vector<uint8_t> bytes_;
};

}  // namespace vantu
