// Records read a chunk at a time: every record comes back as the file
// holds it, whatever order the pass visits them in, and a pass in order
// reads the file in few large reads. Record heads: status, code and stamp
// of every record, free records not in use.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "../storage/storage_fixture.h"
#include "selection/recode_files.h"
#include "session/pstring.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"

namespace vantu::test {
namespace {

// Long records, so that a few hundred of them span several chunks.
constexpr int kLength = 1000;
constexpr int kRecords = 1200;
const char* const kName = "scan.dat";

// Record r: its number in the code field and in every byte of the body.
std::vector<uint8_t> RecordFor(int r) {
  std::vector<uint8_t> rec(kLength, static_cast<uint8_t>(r * 7));
  rec[0] = rec[1] = 0;
  WriteStr(rec.data() + kRecordCode, kRecordCodeLength, std::to_string(r));
  return rec;
}

class RecordScannerTest : public StorageTest {
 protected:
  void SetUp() override {
    StorageTest::SetUp();
    DataFileState f;
    MakeFile(f, kName, kLength);
    for (int r = 1; r < kRecords; ++r) {
      int16_t n = 0;
      AddRec(f, n, RecordFor(r).data());
    }
    CloseFile(f);
  }

  // Visits the records in `order` and checks each against the file; returns
  // the reads the visit took.
  int Visit(const std::vector<int16_t>& order) {
    DataFileState f;
    OpenFile(f, kName, kLength);
    const std::vector<uint8_t>& bytes = Bytes(kName);
    const int before = files.Reads();
    int reads = 0;
    {
      RecordScanner scanner(f);
      for (int16_t r : order) {
        const uint8_t* got = scanner.Get(r);
        const auto at = bytes.begin() + static_cast<ptrdiff_t>(r) * kLength;
        if (!std::equal(got, got + kLength, at)) {
          ADD_FAILURE() << "record " << r << " differs from the file";
          break;
        }
      }
      reads = files.Reads() - before;
    }
    CloseFile(f);
    return reads;
  }

  static std::vector<int16_t> Range(int from, int to, int step) {
    std::vector<int16_t> order;
    for (int r = from; step > 0 ? r <= to : r >= to; r += step)
      order.push_back(static_cast<int16_t>(r));
    return order;
  }
};

TEST_F(RecordScannerTest, PassesUpOrDownReadEachChunkOnce) {
  struct Case {
    const char* name;
    std::vector<int16_t> order;
  };
  std::vector<int16_t> downThenUp = Range(kRecords - 1, 600, -1);
  for (int16_t r : Range(1, 599, 1)) downThenUp.push_back(r);
  const Case cases[] = {
      {"up", Range(0, kRecords - 1, 1)},
      {"down", Range(kRecords - 1, 1, -1)},
      {"up with gaps", Range(1, kRecords - 1, 5)},
      {"down with gaps", Range(kRecords - 1, 1, -3)},
      {"down then up", downThenUp},
  };
  // 262 records of 1000 bytes fill a chunk: five chunks hold the file.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int reads = Visit(c.order);
    EXPECT_GE(reads, 1);
    EXPECT_LE(reads, 7) << "a pass in order must not read record by record";
  }
}

TEST_F(RecordScannerTest, JumpsAboutEndInOneReadOfTheWholeFile) {
  std::vector<int16_t> order(kRecords - 1);
  std::iota(order.begin(), order.end(), int16_t{1});
  std::shuffle(order.begin(), order.end(), std::mt19937(19));
  // At most twice the file's five chunks and two more, then the whole.
  EXPECT_LE(Visit(order), 13) << "a shuffled pass must not read chunk after chunk";
  std::vector<int16_t> twice = order;
  twice.insert(twice.end(), order.rbegin(), order.rend());
  EXPECT_LE(Visit(twice), 13);
}

TEST_F(RecordScannerTest, RecordOutsideTheFileEndsInTheErrorBox) {
  DataFileState f;
  OpenFile(f, kName, kLength);
  RecordScanner scanner(f);
  ExpectFailureBox(kStatusReadError, [&] { scanner.Get(kRecords); });
}

TEST_F(RecordScannerTest, HeadsGiveCodeAndStampOfRecordsInUseOnly) {
  DataFileState f;
  OpenFile(f, kName, kLength);
  DeleteRec(f, 5);
  // A length byte past the code's room is clipped to the room.
  std::vector<uint8_t> rec = RecordFor(9);
  rec[kRecordCode] = 200;
  PutRec(f, 9, rec.data());
  const std::vector<RecordHead> heads = ReadRecordHeads(f);
  ASSERT_EQ(heads.size(), static_cast<size_t>(kRecords));
  EXPECT_FALSE(heads[0].inUse) << "the header is no record";
  EXPECT_FALSE(heads[5].inUse);
  EXPECT_TRUE(heads[4].inUse);
  EXPECT_EQ(heads[4].Code(), "4");
  EXPECT_EQ(heads[kRecords - 1].Code(), std::to_string(kRecords - 1));
  EXPECT_EQ(heads[9].Code().size(), static_cast<size_t>(kRecordCodeLength));
  const std::vector<uint8_t>& bytes = Bytes(kName);
  for (int r : {1, 4, 700}) {
    const auto at = bytes.begin() + static_cast<ptrdiff_t>(r) * kLength + kRecordStampAt;
    EXPECT_TRUE(std::equal(heads[r].stamp.begin(), heads[r].stamp.end(), at)) << "record " << r;
  }
  EXPECT_NE(heads[1].stamp, heads[2].stamp) << "each record has its own stamp";
  CloseFile(f);
}

}  // namespace
}  // namespace vantu::test
