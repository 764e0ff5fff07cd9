#include "storage/record_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "storage/real10.h"
#include "storage_fixture.h"

namespace vantu::test {
namespace {

constexpr int kLen = 94;

class RecordFileTest : public StorageTest {
 protected:
  std::vector<uint8_t> Record(uint8_t fill) { return std::vector<uint8_t>(kLen, fill); }
  DataFileState f;
};

TEST_F(RecordFileTest, NewFileAndFirstRecordMatchTheLayoutByteForByte) {
  MakeFile(f, "Apr02dat.A", kLen);
  ASSERT_TRUE(LastOpOk());
  auto rec = Record(0x55);
  int16_t r = 0;
  AddRec(f, r, rec.data());
  CloseFile(f);

  std::vector<uint8_t> expected(2 * kLen, 0);
  PokeI16(expected, 0, -1);    // FreeHead
  PokeI16(expected, 2, 0);     // FreeCount
  PokeI16(expected, 4, 0);     // RootPage
  PokeI16(expected, 6, kLen);  // RecordLength
  const Real10 one = ToReal10(1.0L);
  std::copy(one.begin(), one.end(), expected.begin() + 11);  // AddedCounter
  std::fill(expected.begin() + kLen, expected.end(), 0x55);
  PokeI16(expected, kLen, 0);                                      // RecordStatus
  std::copy(one.begin(), one.end(), expected.begin() + kLen + 2);  // RecordStamp
  EXPECT_EQ(r, 1);
  EXPECT_EQ(Bytes("Apr02dat.A"), expected);
  EXPECT_EQ(files.OpenHandles(), 0);
}

TEST_F(RecordFileTest, AddRecCountsFrom41To42InHeaderAndStamp) {
  MakeFile(f, "d", kLen);
  FlushFile(f);
  StoreReal10(Bytes("d").data() + kHdrAddedCounter, 41.0L);
  auto rec = Record(0xFF);
  int16_t r = 0;
  AddRec(f, r, rec.data());
  const auto& disk = Bytes("d");
  EXPECT_EQ(LoadReal10(disk.data() + kHdrAddedCounter), 42.0L);
  EXPECT_EQ(LoadReal10(rec.data() + kRecStamp), 42.0L);
  EXPECT_EQ(GetI16(rec.data()), 0);
  EXPECT_TRUE(std::equal(rec.begin(), rec.end(), disk.begin() + r * kLen));
}

TEST_F(RecordFileTest, HeaderApplicationAreaSurvivesFlushAndClose) {
  MakeFile(f, "d", kLen);
  auto hdr = Record(0);
  GetRec(f, 0, hdr.data());
  hdr[8] = 1, hdr[9] = 7, hdr[kLen - 1] = 0xAB;
  PutRec(f, 0, hdr.data());
  auto rec = Record(1);
  int16_t r = 0;
  AddRec(f, r, rec.data());
  CloseFile(f);
  OpenFile(f, "d", kLen);
  ASSERT_TRUE(LastOpOk());
  GetRec(f, 0, hdr.data());
  EXPECT_EQ(hdr[8], 1);
  EXPECT_EQ(hdr[9], 7);
  EXPECT_EQ(hdr[kLen - 1], 0xAB);
  EXPECT_EQ(LoadReal10(hdr.data() + kHdrAddedCounter), 1.0L);
}

TEST_F(RecordFileTest, FreedRecordsAreReusedLastFreedFirst) {
  MakeFile(f, "d", kLen);
  auto rec = Record(9);
  int16_t r = 0;
  for (int i = 0; i < 4; ++i) AddRec(f, r, rec.data());
  DeleteRec(f, 2);
  DeleteRec(f, 4);
  EXPECT_EQ(f.FreeHead, 4);
  EXPECT_EQ(f.FreeCount, 2);
  EXPECT_EQ(UsedRecordCount(f), 2);
  // A deleted data record is zeroed, then linked.
  std::vector<uint8_t> freed(kLen, 0);
  PokeI16(freed, 0, 2);
  EXPECT_TRUE(std::equal(freed.begin(), freed.end(), Bytes("d").begin() + 4 * kLen));

  CloseFile(f);
  OpenFile(f, "d", kLen);
  const int used = UsedRecordCount(f);
  AddRec(f, r, rec.data());
  EXPECT_EQ(r, 4);
  AddRec(f, r, rec.data());
  EXPECT_EQ(r, 2);
  AddRec(f, r, rec.data());
  EXPECT_EQ(r, 5);
  EXPECT_EQ(UsedRecordCount(f), used + 3);
  EXPECT_EQ(FileRecordCount(f), 6);
  EXPECT_EQ(f.FreeHead, -1);
  // Stamps stay unique: the counter goes on from 4.
  GetRec(f, 5, rec.data());
  EXPECT_EQ(LoadReal10(rec.data() + kRecStamp), 7.0L);
}

TEST_F(RecordFileTest, RecordLengthLimits) {
  struct Case {
    const char* name;
    int length;
    int16_t status;  // 0: accepted
  };
  const Case cases[] = {{"1024", 1024, 0},
                        {"8", 8, 0},
                        {"1025", 1025, kStatusRecordTooLong},
                        {"7", 7, kStatusRecordTooShort}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetScreen();
    ResetStorageEngine();
    if (c.status == 0) {
      MakeFile(f, "len", c.length);
      CloseFile(f);
      OpenFile(f, "len", c.length);
      EXPECT_TRUE(LastOpOk());
      EXPECT_EQ(f.RecordLength, c.length);
      CloseFile(f);
    } else {
      ExpectFailureBox(c.status, [&] { MakeFile(f, "len", c.length); });
    }
  }
}

TEST_F(RecordFileTest, OtherRecordLengthShowsMessageAndAdvice) {
  MakeFile(f, "d", kLen);
  CloseFile(f);
  ExpectFailureBox(kStatusDataLength, [&] { OpenFile(f, "d", 95); });
  EXPECT_NE(ScreenRow(20).find("1003: Longitud de registro de datos diferente de la inicial"),
            std::string::npos);
  EXPECT_NE(ScreenRow(22).find("Use KORVEN para actualizar la Version"), std::string::npos);
}

TEST_F(RecordFileTest, MissingOrUnnamableFilesOnlyClearLastOpOk) {
  OpenFile(f, "missing", kLen);
  EXPECT_FALSE(LastOpOk());
  MakeFile(f, "", kLen);
  EXPECT_FALSE(LastOpOk());
  // A name longer than the state holds is refused, never cut to another file.
  MakeFile(f, std::string(kMaxFileNameLength + 1, 'x'), kLen);
  EXPECT_FALSE(LastOpOk());
  MakeFile(f, std::string(70, 'y'), kLen);
  EXPECT_TRUE(LastOpOk());
  EXPECT_TRUE(files.Exists(std::string(70, 'y')));
  EXPECT_EQ(Engine().EngineStatus, 0);
}

TEST_F(RecordFileTest, FailedReadsAndWritesEndInTheBox) {
  struct Case {
    const char* name;
    std::function<void(MemoryFiles&)> fault;
    std::function<void(DataFileState&)> call;
    int16_t status;
  };
  static uint8_t buf[kLen];
  const Case cases[] = {
      {"read refused", [](MemoryFiles& m) { m.FailRead(1, EACCES); },
       [](DataFileState& d) { GetRec(d, 1, buf); }, kStatusAccessDenied},
      {"read i/o error", [](MemoryFiles& m) { m.FailRead(1, EIO); },
       [](DataFileState& d) { GetRec(d, 1, buf); }, kStatusReadError},
      {"disk full", [](MemoryFiles& m) { m.LimitWrites(10); },
       [](DataFileState& d) { PutRec(d, 1, buf); }, kStatusDiskFull},
      {"write refused in AddRec", [](MemoryFiles& m) { m.FailWrite(2, EIO); },
       [](DataFileState& d) {
         int16_t r;
         AddRec(d, r, buf);
       },
       kStatusWriteError},
      {"read past the end", [](MemoryFiles&) {}, [](DataFileState& d) { GetRec(d, 9, buf); },
       kStatusReadError},
      {"write outside", [](MemoryFiles&) {}, [](DataFileState& d) { PutRec(d, 3, buf); },
       kStatusRecordRange},
      {"delete header", [](MemoryFiles&) {}, [](DataFileState& d) { DeleteRec(d, 0); },
       kStatusRecordRange},
      {"close twice", [](MemoryFiles&) {},
       [](DataFileState& d) {
         CloseFile(d);
         CloseFile(d);
       },
       kStatusNotOpen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = MemoryFiles{};
    ResetScreen();
    ResetStorageEngine();
    MakeFile(f, "d", kLen);
    int16_t r;
    AddRec(f, r, buf);
    c.fault(files);
    ExpectFailureBox(c.status, [&] { c.call(f); });
  }
}

TEST_F(RecordFileTest, FileCopiedToAnotherDirectoryOpensWithTheSameContents) {
  SetStorageFiles(nullptr);
  namespace fs = std::filesystem;
  const fs::path home = std::getenv("VANTU_HOME");
  const fs::path a = home / "a", b = home / "b";
  fs::create_directories(a);
  fs::create_directories(b);
  MakeFile(f, (a / "Apr03dat.A").string(), 632);
  std::vector<uint8_t> rec(632);
  for (int i = 0; i < 20; ++i) {
    std::fill(rec.begin(), rec.end(), static_cast<uint8_t>(i));
    int16_t r;
    AddRec(f, r, rec.data());
  }
  DeleteRec(f, 7);
  CloseFile(f);
  fs::copy_file(a / "Apr03dat.A", b / "Apr03dat.A");
  OpenFile(f, (b / "Apr03dat.A").string(), 632);
  ASSERT_TRUE(LastOpOk());
  EXPECT_EQ(f.FreeHead, 7);
  EXPECT_EQ(UsedRecordCount(f), 19);
  GetRec(f, 20, rec.data());
  EXPECT_EQ(rec[12], 19);
  EXPECT_EQ(LoadReal10(rec.data() + kRecStamp), 20.0L);
  CloseFile(f);
}

}  // namespace
}  // namespace vantu::test
