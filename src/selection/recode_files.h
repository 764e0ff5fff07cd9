#pragma once
// The two passes over each coded file (2, 3, 4 and the Obra's 6) of a
// recodification. They open the files themselves: the caller has closed
// the work areas first, so that no second handle holds an older copy.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "selection/recode_plan.h"
#include "selection/record_batches.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"

namespace vantu {

// The status, code and stamp of one record, packed small: a pass that
// looks records up in no particular order keeps many of them in the cache.
struct RecordHead {
  std::array<uint8_t, 10> stamp{};
  bool inUse = false;
  uint8_t codeLength = 0;
  std::array<char, kRecordCodeLength> code{};

  std::string_view Code() const { return {code.data(), codeLength}; }
};

// The head of a whole record.
RecordHead HeadOf(const uint8_t* rec);
// The head of every record of a file, read in one pass; record r at index
// r. Only records in use have a code and a stamp.
std::vector<RecordHead> ReadRecordHeads(DataFileState& f);

// One file's records in key order with their codes as they are now in the
// data, and the codes they are to get; and the head of every record of the
// file, which RenumberFile keeps as the file is.
struct FileRenumbering {
  int fileNo = 0;
  std::string ext;
  std::vector<int16_t> records;
  std::vector<std::string> current;
  RenumberPlan plan;
  std::vector<RecordHead> heads;
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
void RenumberFile(FileRenumbering& r);
// Sets the file's ChangeMarker and builds its index anew from the codes of
// the records in use. `known`, when the caller has them, are the heads of
// the file's records as they are on disk; else they are read. Returns the
// heads.
std::vector<RecordHead> ReindexFile(int fileNo, const std::string& ext,
                                    std::vector<RecordHead> known = {});

// Advances the progress display every this many records, while the run
// shows it.
constexpr int kProgressEvery = 30;
void StepRecodeProgress(int count);
bool& RecodeProgressShown();

}  // namespace vantu
