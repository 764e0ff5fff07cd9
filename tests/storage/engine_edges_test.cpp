// Edges of the engine that used to leave files that could not be opened or
// changed files before refusing them.
#include <cerrno>

#include "storage/btree.h"
#include "storage/index_check.h"
#include "storage/record_file.h"
#include "storage_fixture.h"

namespace vantu::test {
namespace {

class EngineEdgesTest : public StorageTest {};

// A page taken and given back in one session (an index that grew and
// shrank before any write-back) leaves whole records behind.
TEST_F(EngineEdgesTest, ReleasingUnwrittenPagesKeepsTheIndexWhole) {
  const struct {
    const char* name;
    int keys;  // added, then all deleted before closing
  } cases[] = {{"one key", 1}, {"a split", 33}, {"two levels", 600}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    files = MemoryFiles{};
    ResetStorageEngine();
    IndexFileState ix;
    MakeIndex(ix, "Apr02ixc.A", 5, false);
    for (int i = 1; i <= c.keys; ++i) {
      std::string key = std::to_string(10000 + i);
      AddKey(ix, static_cast<int16_t>(i), key);
    }
    for (int i = 1; i <= c.keys; ++i) {
      std::string key = std::to_string(10000 + i);
      int16_t r = 0;
      DeleteKey(ix, r, key);
      ASSERT_TRUE(LastOpOk());
    }
    CloseIndex(ix);
    EXPECT_EQ(Bytes("Apr02ixc.A").size() % PageLength(5), 0u);
    OpenIndex(ix, "Apr02ixc.A", 5, false);
    ASSERT_TRUE(LastOpOk());
    EXPECT_EQ(ix.Root, 0);
    EXPECT_EQ(CheckIndexIntegrity(ix), "");
    EXPECT_EQ(ix.File.FreeCount, ix.File.RecordCount - 1);
    CloseIndex(ix);
  }
}

TEST_F(EngineEdgesTest, RefusedCreationsLeaveExistingFilesWhole) {
  std::vector<uint8_t> original(400, 7);
  Bytes("Apr03ixc.A") = original;
  Bytes("Apr03dat.A") = original;
  IndexFileState ix;
  ExpectFailureBox(kStatusKeyTooLong, [&] { MakeIndex(ix, "Apr03ixc.A", 7, false); });
  EXPECT_EQ(Bytes("Apr03ixc.A"), original);
  ResetScreen();
  ResetStorageEngine();
  DataFileState d;
  ExpectFailureBox(kStatusRecordTooLong, [&] { MakeFile(d, "Apr03dat.A", 1025); });
  EXPECT_EQ(Bytes("Apr03dat.A"), original);
}

TEST_F(EngineEdgesTest, OpeningWhatIsNotThereOnlyReportsIt) {
  const struct {
    const char* name;
    std::string file;
    int keyLength;  // 0: a data file
    int error;
  } cases[] = {
      {"missing index, key length 7", "Apr02ixc.A", 7, ENOENT},
      {"missing index", "Apr02ixc.A", 5, ENOENT},
      {"missing data file", "Apr02dat.A", 0, ENOENT},
      {"name over 260 characters", std::string(261, 'x'), 0, ENAMETOOLONG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetStorageEngine();
    if (c.keyLength > 0) {
      IndexFileState ix;
      OpenIndex(ix, c.file, c.keyLength, false);
    } else {
      DataFileState d;
      OpenFile(d, c.file, 94);
    }
    EXPECT_FALSE(LastOpOk());
    EXPECT_EQ(Engine().OpenError, c.error);
    EXPECT_EQ(Engine().EngineStatus, 0);
  }
  // A long path within 260 characters is used whole.
  const std::string longName = std::string(200, 'd') + "/Apr02dat.A";
  DataFileState d;
  MakeFile(d, longName, 94);
  ASSERT_TRUE(LastOpOk());
  CloseFile(d);
  EXPECT_TRUE(files.Exists(longName));
}

TEST_F(EngineEdgesTest, AFileEndingInsideARecordOpensWithItsWholeRecords) {
  DataFileState d;
  MakeFile(d, "Apr05dat.A", 108);
  std::vector<uint8_t> rec(108, 3);
  int16_t r = 0;
  AddRec(d, r, rec.data());
  CloseFile(d);
  Bytes("Apr05dat.A").resize(2 * 108 + 50, 9);  // a write cut short
  OpenFile(d, "Apr05dat.A", 108);
  ASSERT_TRUE(LastOpOk());
  EXPECT_EQ(FileRecordCount(d), 2);
  AddRec(d, r, rec.data());  // the next record overwrites the cut bytes
  EXPECT_EQ(r, 2);
  CloseFile(d);
  EXPECT_EQ(Bytes("Apr05dat.A").size(), 3u * 108);
}

TEST_F(EngineEdgesTest, FailuresNameTheirFileInTheBox) {
  DataFileState d;
  MakeFile(d, "Apr04dat.A", 144);
  std::vector<uint8_t> rec(144);
  files.FailWrite(1, EACCES);
  ExpectFailureBox(kStatusAccessDenied, [&] { PutRec(d, 1, rec.data()); });
  EXPECT_EQ(Engine().failedFile, "Apr04dat.A");
  EXPECT_NE(ScreenRow(21).find("Archivo: Apr04dat.A"), std::string::npos) << ScreenRow(21);
}

}  // namespace
}  // namespace vantu::test
