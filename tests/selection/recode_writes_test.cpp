// Record writes gathered into runs: the file ends as if each record had
// been written alone, runs only join records that follow one another in
// the file, and a stop at any write leaves a prefix of the records in the
// order they were put.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../storage/storage_fixture.h"
#include "selection/recode_files.h"
#include "storage/record_file.h"

namespace vantu::test {
namespace {

constexpr int kLength = 32;
constexpr int kRecords = 12;
const char* const kName = "runs.dat";

struct RunCase {
  const char* name;
  std::vector<int16_t> order;  // records put, in this order
  int writes;                  // writes that reach the file
};

class RecordRunWriterTest : public StorageTest, public ::testing::WithParamInterface<RunCase> {
 protected:
  void SetUp() override {
    StorageTest::SetUp();
    Fill();
  }

  // The file anew: kRecords - 1 records in use, all zeros.
  void Fill() {
    DataFileState f;
    MakeFile(f, kName, kLength);
    std::vector<uint8_t> rec(kLength, 0);
    for (int r = 1; r < kRecords; ++r) {
      int16_t n = 0;
      AddRec(f, n, rec.data());
    }
    CloseFile(f);
  }

  // Record r as the run writes it: every byte past the prefix names r.
  static std::vector<uint8_t> NewRecord(int16_t r) {
    std::vector<uint8_t> rec(kLength, static_cast<uint8_t>(0x40 + r));
    rec[0] = rec[1] = 0;
    return rec;
  }

  void PutAll(const std::vector<int16_t>& order) {
    DataFileState f;
    OpenFile(f, kName, kLength);
    RecordRunWriter writer(f);
    for (int16_t r : order) writer.Put(r, NewRecord(r).data());
    writer.Flush();
    CloseFile(f);
  }

  bool Rewritten(const std::vector<uint8_t>& bytes, int16_t r) const {
    return bytes[static_cast<size_t>(r) * kLength + 5] == static_cast<uint8_t>(0x40 + r);
  }
};

TEST_P(RecordRunWriterTest, WritesEachRecordWholeInFewerWrites) {
  const RunCase& c = GetParam();
  const int before = files.Writes();
  PutAll(c.order);
  // One write more: the header at close.
  EXPECT_EQ(files.Writes() - before, c.writes + 1);
  const std::vector<uint8_t>& bytes = Bytes(kName);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(kRecords) * kLength);
  for (int16_t r = 1; r < kRecords; ++r) {
    const bool put = std::find(c.order.begin(), c.order.end(), r) != c.order.end();
    EXPECT_EQ(Rewritten(bytes, r), put) << "record " << r;
  }
}

TEST_P(RecordRunWriterTest, StopAtAnyWriteLeavesAPrefixOfTheOrder) {
  const RunCase& c = GetParam();
  for (int stop = 1; stop <= c.writes; ++stop) {
    Fill();
    files.StopAtWrite(stop, MemoryFiles::StopKind::kKill);
    PutAll(c.order);
    ASSERT_TRUE(files.Stopped());
    files.RestoreStopImage();
    const std::vector<uint8_t>& bytes = Bytes(kName);
    size_t k = 0;
    while (k < c.order.size() && Rewritten(bytes, c.order[k])) ++k;
    if (stop == 1) {
      EXPECT_EQ(k, 0u);
    }
    for (size_t j = k; j < c.order.size(); ++j)
      EXPECT_FALSE(Rewritten(bytes, c.order[j]))
          << "stop " << stop << ": record " << c.order[j] << " written before an earlier one";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Orders, RecordRunWriterTest,
    ::testing::Values(RunCase{"Ascending", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 1},
                      RunCase{"Descending", {11, 10, 9, 8, 7}, 5},
                      RunCase{"TwoRuns", {2, 3, 4, 8, 9}, 2},
                      RunCase{"DownThenUp", {6, 5, 4, 7, 8, 1}, 5}, RunCase{"Single", {7}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A pass that reads through a scanner and writes some of the records it
// passes: short gaps between them go out again unchanged inside one run,
// long ones end the run.
TEST_F(RecordRunWriterTest, ShortGapsAreBridgedWithTheRecordsAsTheyAre) {
  struct BridgeCase {
    std::vector<int16_t> order;
    int writes;
  };
  const BridgeCase cases[] = {
      {{2, 4, 5, 9}, 1},  // gaps of 1 and 3
      {{1, 10}, 1},       // a gap of 8
      {{1, 11}, 2},       // a gap of 9 is too long
      {{6}, 1},
  };
  for (const BridgeCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.order));
    Fill();
    // Every record distinct before the pass, so that a gap written from
    // the wrong record shows.
    {
      DataFileState f;
      OpenFile(f, kName, kLength);
      for (int16_t r = 1; r < kRecords; ++r) {
        std::vector<uint8_t> rec(kLength, static_cast<uint8_t>(0x10 + r));
        rec[0] = rec[1] = 0;
        PutRec(f, r, rec.data());
      }
      CloseFile(f);
    }
    const std::vector<uint8_t> before = Bytes(kName);
    DataFileState f;
    OpenFile(f, kName, kLength);
    const int start = files.Writes();
    {
      RecordScanner scanner(f);
      RecordRunWriter writer(f, &scanner);
      for (int16_t r = 1; r < kRecords; ++r) {
        scanner.Get(r);
        if (std::find(c.order.begin(), c.order.end(), r) != c.order.end())
          writer.Put(r, NewRecord(r).data());
      }
      writer.Flush();
    }
    EXPECT_EQ(files.Writes() - start, c.writes);
    CloseFile(f);
    const std::vector<uint8_t>& after = Bytes(kName);
    for (int16_t r = 1; r < kRecords; ++r) {
      const bool put = std::find(c.order.begin(), c.order.end(), r) != c.order.end();
      const auto at = static_cast<size_t>(r) * kLength;
      if (put) {
        EXPECT_TRUE(Rewritten(after, r)) << "record " << r;
      } else {
        EXPECT_TRUE(
            std::equal(after.begin() + at, after.begin() + at + kLength, before.begin() + at))
            << "record " << r << " changed";
      }
    }
  }
}

TEST_F(StorageTest, RecordRunPastTheFileEndsInTheErrorBox) {
  DataFileState f;
  MakeFile(f, kName, kLength);
  std::vector<uint8_t> rec(kLength, 0);
  int16_t n = 0;
  AddRec(f, n, rec.data());
  ExpectFailureBox(kStatusRecordRange, [&] {
    RecordRunWriter writer(f);
    writer.Put(1, rec.data());
    writer.Put(2, rec.data());
    writer.Flush();
  });
}

}  // namespace
}  // namespace vantu::test
