#pragma once
// Generated data sets in a fresh data directory, and readers that check
// what the set holds through the work areas.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dataset_generator.h"
#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "records/general_record.h"
#include "storage/file_sets_fixture.h"
#include "storage/index_check.h"

namespace vantu::test {

class DatasetTest : public FileSetsTest {
 protected:
  dataset::DatasetShape SmallShape() {
    dataset::DatasetShape shape;
    shape.directory = dataDir.string();
    shape.inputRecords = 60;
    shape.analysisRecords = 150;
    shape.subcontractRecords = 30;
    shape.globalRecords = 40;
    shape.budgetRecords = 120;
    return shape;
  }

  // Index entries of area n in key order; the index must be sound.
  std::vector<IndexEntry> Entries(int n) {
    std::vector<IndexEntry> entries;
    EXPECT_EQ(CheckIndexIntegrity(Area(n).Index, &entries), "") << "area " << n;
    return entries;
  }

  template <class R>
  R Read(int n, int16_t r) {
    R record{};
    GetRec(Area(n).Data, r, record.data());
    return record;
  }

  int16_t Find(int n, const std::string& code) {
    std::string key = code;
    int16_t r = 0;
    FindKey(Area(n).Index, r, key);
    return LastOpOk() ? r : int16_t{-1};
  }

  // The record the index gives for code must be r and carry the stamp.
  template <class R>
  void ExpectReference(int n, const std::string& code, int16_t r, long double stamp) {
    SCOPED_TRACE("file " + std::to_string(n) + " code " + code);
    ASSERT_EQ(Find(n, code), r);
    const R target = Read<R>(n, r);
    EXPECT_EQ(Get(target, coded::Code), code);
    EXPECT_EQ(Get(target, coded::RecordStamp), stamp);
  }

  // The whole file in one read; large files too.
  std::vector<uint8_t> WholeFile(const std::string& name) {
    std::ifstream in(dataDir / name, std::ios::binary | std::ios::ate);
    std::vector<uint8_t> bytes(in ? static_cast<size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
  }

  // Header bytes 8..10 of a data file: ChangeMarker and SetSerial.
  std::pair<int, int> Markers(int n, const std::string& ext) {
    const auto bytes = FileBytes(DataBaseName(n, ext));
    if (bytes.size() < 11) return {-1, -1};
    return {bytes[kHdrChangeMarker], GetI16(bytes.data() + kHdrSetSerial)};
  }
};

}  // namespace vantu::test
