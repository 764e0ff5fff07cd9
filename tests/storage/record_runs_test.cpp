#include "storage/record_runs.h"

#include <cerrno>

#include "storage_fixture.h"

namespace vantu::test {
namespace {

constexpr int kLen = 94;

class RecordRunsTest : public StorageTest {
 protected:
  // A file of `records` records, record r filled with byte r.
  void MakeFilled(int records) {
    MakeFile(f, "d", kLen);
    for (int r = 1; r <= records; ++r) {
      std::vector<uint8_t> rec(kLen, static_cast<uint8_t>(r));
      int16_t got = 0;
      AddRec(f, got, rec.data());
    }
  }
  std::vector<uint8_t> Stored(int16_t r) {
    std::vector<uint8_t> rec(kLen);
    GetRec(f, r, rec.data());
    return rec;
  }
  DataFileState f;
};

TEST_F(RecordRunsTest, ARunWritesTheSameBytesAsOnePutRecPerRecord) {
  MakeFilled(6);
  std::vector<uint8_t> run(3 * kLen);
  for (size_t i = 0; i < run.size(); ++i) run[i] = static_cast<uint8_t>(0xA0 + i / kLen);
  const std::vector<uint8_t> header = Stored(0);
  PutRecRun(f, 2, 3, run.data());
  EXPECT_EQ(Stored(0), header);
  EXPECT_EQ(Stored(1)[kLen - 1], 1) << "record before the run";
  for (int16_t r = 2; r <= 4; ++r) {
    const auto from = run.begin() + (r - 2) * kLen;
    EXPECT_EQ(Stored(r), std::vector<uint8_t>(from, from + kLen)) << "record " << r;
  }
  EXPECT_EQ(Stored(5)[kLen - 1], 5) << "record after the run";
  EXPECT_EQ(FileRecordCount(f), 7);
}

// The whole run is one write: a stop just after it finds every record of
// the run new, and a stop just before it every record old.
TEST_F(RecordRunsTest, ARunIsOneWriteSoAStopFindsItWholeOrNotAtAll) {
  MakeFilled(4);
  std::vector<uint8_t> run(4 * kLen, 0xEE);
  std::vector<uint8_t> other(kLen, 0x77);
  for (const int stopAt : {1, 2}) {
    SCOPED_TRACE(stopAt);
    files.StopAtWrite(stopAt, MemoryFiles::StopKind::kKill);
    PutRecRun(f, 1, 4, run.data());
    PutRec(f, 1, other.data());
    files.RestoreStopImage();
    const std::vector<uint8_t> disk = Bytes("d");
    const int want = stopAt == 1 ? -1 : 0xEE;  // -1: each record its own number
    for (int r = 1; r <= 4; ++r)
      EXPECT_EQ(disk[static_cast<size_t>(r * kLen + kLen - 1)], want < 0 ? r : want) << r;
    OpenFile(f, "d", kLen);
    for (int r = 1; r <= 4; ++r) {
      std::vector<uint8_t> rec(kLen, static_cast<uint8_t>(r));
      PutRec(f, static_cast<int16_t>(r), rec.data());
    }
  }
}

TEST_F(RecordRunsTest, FaultsAndRunsOutsideTheFileEndInTheErrorBox) {
  struct Case {
    const char* name;
    int16_t first;
    int count;
    int writeError;  // 0: none injected
    int16_t status;
  };
  const Case cases[] = {
      {"past the last record", 3, 3, 0, kStatusRecordRange},
      {"the header", 0, 1, 0, kStatusRecordRange},
      {"write refused", 1, 2, EACCES, kStatusAccessDenied},
      {"write i/o error", 1, 2, EIO, kStatusWriteError},
  };
  static std::vector<uint8_t> buf(4 * kLen, 0x11);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = MemoryFiles{};
    ResetScreen();
    ResetStorageEngine();
    MakeFilled(4);
    if (c.writeError != 0) files.FailWrite(1, c.writeError);
    ExpectFailureBox(c.status, [&] { PutRecRun(f, c.first, c.count, buf.data()); });
  }
}

}  // namespace
}  // namespace vantu::test
