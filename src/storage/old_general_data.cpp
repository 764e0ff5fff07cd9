// The general-data file of older versions: two records of 112 bytes, turned
// into the current two records of 152 bytes the first time the Rama opens.
//
// Old record 0 (header)          New record 0
//   0   21  engine header   ->     0   21  the same bytes
//                                  6    2  RecordLength := 152
// Old record 1 (general data)    New record 1
//   0   42  name, AIU fields ->    0   42  the same bytes
//  42   30  (dropped)              42   70  zero
//  72   40  factors          ->  112   40  the same bytes
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/file_replace.h"
#include "storage/file_sets.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

constexpr int kOldRecordLength = 112;
constexpr int kOldFileSize = 2 * kOldRecordLength;
constexpr int kNewRecordLength = 152;
constexpr int kHeaderKept = 21;
constexpr int kLeadKept = 42;
constexpr int kOldTailAt = 72;
constexpr int kNewTailAt = 112;
constexpr int kTailLength = kOldRecordLength - kOldTailAt;
constexpr int kLengthAt = 6;

static_assert(kNewRecordLength == kSetRecordLength[kAreaGeneral]);
static_assert(kNewTailAt + kTailLength == kNewRecordLength);
static_assert(kLeadKept <= kOldTailAt && kHeaderKept <= kOldRecordLength);
static_assert(kNewRecordLength < 256, "the record length is written as its low byte");

}  // namespace

void ConvertOldGeneralData(const std::string& ext) {
  const std::string name = DataFileName(kAreaGeneral, ext);
  std::error_code ec;
  if (!fs::is_regular_file(name, ec) || fs::file_size(name, ec) != kOldFileSize) return;
  std::vector<char> old(kOldFileSize);
  {
    std::ifstream in(std::filesystem::path(name), std::ios::binary);
    if (!in.read(old.data(), kOldFileSize)) return;
  }
  std::vector<char> out(2 * kNewRecordLength, 0);
  std::memcpy(out.data(), old.data(), kHeaderKept);
  out[kLengthAt] = static_cast<char>(kNewRecordLength);
  out[kLengthAt + 1] = 0;
  char* newData = out.data() + kNewRecordLength;
  const char* oldData = old.data() + kOldRecordLength;
  std::memcpy(newData, oldData, kLeadKept);
  std::memcpy(newData + kNewTailAt, oldData + kOldTailAt, kTailLength);
  // Written beside the old file and renamed over it, so that a failure
  // leaves the old file whole.
  ReplaceFileWith(name, name + ".new", out.data(), out.size());
}

}  // namespace vantu
