// Recovery over generated sets: every record and every key survives, the
// indexes stay sound, and the headers take the recovery's markers; also at
// the largest file size.

#include <gtest/gtest.h>

#include <map>

#include "dataset_fixture.h"

namespace vantu {
namespace {

using dataset::DatasetShape;
using dataset::GenerateDataset;
using test::DatasetTest;
namespace fs = std::filesystem;

class DatasetRecoveryTest : public DatasetTest {
 protected:
  struct Snapshot {
    std::map<std::string, std::vector<uint8_t>> data;  // file name -> bytes
    std::map<int, std::vector<IndexEntry>> keys;       // file number -> entries
  };

  std::vector<int> Files(const DatasetShape& shape) {
    if (shape.obra.empty()) return {1, 2, 3, 4, 5};
    return {1, 2, 3, 4, 5, 6};
  }
  std::string Ext(const DatasetShape& shape, int n) {
    return n == 6 ? shape.rama + shape.obra : shape.rama;
  }

  Snapshot Take(const DatasetShape& shape) {
    Snapshot s;
    for (int n : Files(shape))
      s.data[DataBaseName(n, Ext(shape, n))] = WholeFile(DataBaseName(n, Ext(shape, n)));
    OpenSet(shape.rama, shape.obra);
    for (int n : Files(shape))
      if (Area(n).FileKind == kIndexedFile) s.keys[n] = Entries(n);
    CloseSet();
    return s;
  }

  // Records 1 and up unchanged; in record 0 only the markers and the
  // added counter (bytes 8..20) may differ.
  void ExpectSameRecords(const Snapshot& before, const Snapshot& after, const DatasetShape& shape) {
    for (int n : Files(shape)) {
      const std::string name = DataBaseName(n, Ext(shape, n));
      SCOPED_TRACE(name);
      const auto& a = before.data.at(name);
      const auto& b = after.data.at(name);
      ASSERT_EQ(a.size(), b.size());
      const size_t length = static_cast<size_t>(kSetRecordLength[n]);
      EXPECT_TRUE(std::equal(a.begin(), a.begin() + kHdrChangeMarker, b.begin()));
      EXPECT_TRUE(std::equal(a.begin() + 21, a.end(), b.begin() + 21)) << "past byte 20";
      EXPECT_GE(b.size(), length);
    }
    EXPECT_EQ(before.keys, after.keys);
  }
};

TEST_F(DatasetRecoveryTest, RecoveryKeepsEveryRecordAndKey) {
  struct Case {
    const char* name;
    std::string rama, obra;
    bool dropIndexes;
    int result;
  };
  const Case cases[] = {
      {"rama_and_obra", "A", "01", false, kRecoveryRamaAndObra},
      {"rama_only", "B", "", false, kRecoveryRamaOnly},
      {"indexes_lost", "C", "07", true, kRecoveryRamaAndObra},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DatasetShape shape = SmallShape();
    shape.rama = c.rama;
    shape.obra = c.obra;
    shape.calculated = true;
    shape.generation = 12;
    GenerateDataset(shape);
    const Snapshot before = Take(shape);
    if (c.dropIndexes)
      for (int n : {2, 3, 4, 6})
        fs::remove(dataDir / ("Apr0" + std::to_string(n) + "ixc." + Ext(shape, n)));

    ASSERT_EQ(RecoverFileSet(dataDir.string(), c.rama, c.obra), c.result);
    const Snapshot after = Take(shape);
    ExpectSameRecords(before, after, shape);
    for (int n : Files(shape)) {
      SCOPED_TRACE("file " + std::to_string(n));
      // File 5 is not rebuilt and keeps the calculation's markers.
      EXPECT_EQ(Markers(n, Ext(shape, n)), n == 5 ? std::make_pair(0, 12) : std::make_pair(1, 12));
    }
  }
}

// The largest file the engine allows: 32,767 records with the header, here
// in file 3, whose records are the longest; the other files stay moderate
// so that the test keeps a short run time.
TEST_F(DatasetRecoveryTest, LargestFileRecoversIntact) {
  DatasetShape shape = SmallShape();
  shape.analysisRecords = dataset::kMaxRecords;
  shape.inputRecords = 2000;
  shape.globalRecords = 3000;
  shape.budgetRecords = 3000;
  shape.calculated = true;
  GenerateDataset(shape);
  const Snapshot before = Take(shape);
  ASSERT_EQ(before.keys.at(3).size(), static_cast<size_t>(dataset::kMaxRecords));
  EXPECT_EQ(before.data.at("Apr03dat.A").size(),
            static_cast<size_t>(kMaxRecordCount) * kSetRecordLength[3]);

  ASSERT_EQ(RecoverFileSet(dataDir.string(), "A", "01"), kRecoveryRamaAndObra);
  ExpectSameRecords(before, Take(shape), shape);
  // The file holds as many records as record numbers allow.
  OpenSet("A", "01");
  EXPECT_EQ(FileRecordCount(Area(3).Data), kMaxRecordCount);
  CloseSet();
}

}  // namespace
}  // namespace vantu
