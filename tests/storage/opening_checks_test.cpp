// Damaged sets through the whole opening path: each damage class ends in
// a repaired set that holds every record, or in a message naming the file
// with every file left byte for byte as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "console/keys.h"
#include "file_sets_fixture.h"
#include "platform/halt.h"
#include "session/pstring.h"
#include "session/shell_state.h"
#include "storage/file_io.h"
#include "storage/file_repair.h"
#include "storage/index_check.h"
#include "storage/memory_files.h"
#include "storage/set_in_use.h"
#include "storage_fixture.h"

namespace vantu {
namespace {

using test::FileSetsTest;
namespace fs = std::filesystem;

class OpeningChecksTest : public FileSetsTest {
 public:  // the damage tables reach into the fixture
  void SetUp() override {
    FileSetsTest::SetUp();
    SetStorageFiles(&files);
    OpenSet("A", "01");
    for (int i = 1; i <= 45; ++i) AddCoded(2, Code(1, i));
    for (int i = 1; i <= 12; ++i) AddCoded(6, Code(2, i));
    for (int i = 1; i <= 45; i += 9) {
      std::string key = Code(1, i);
      int16_t r = 0;
      DeleteKey(Area(2).Index, r, key);
      DeleteRec(Area(2).Data, r);
    }
    CloseSet();
    codesBefore = LiveCodes(2);
    sound = files.Contents();
  }
  void TearDown() override {
    CloseSet();
    SetStorageFiles(nullptr);
    FileSetsTest::TearDown();
  }

  static std::string Code(int chapter, int item) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d%03d", chapter, item);
    return b;
  }
  std::string Path(const char* name) { return (dataDir / name).string(); }
  std::vector<uint8_t>& Bytes(const char* name) { return files.Contents()[Path(name)]; }

  // Codes of the records in use of area n, read from its data file.
  std::vector<std::string> LiveCodes(int n) {
    DataFileState d;
    OpenFileUnchecked(d, Path(n == 2 ? "Apr02dat.A" : "Apr06dat.A01"), kSetRecordLength[n]);
    std::vector<std::string> codes;
    std::vector<uint8_t> rec(static_cast<size_t>(d.RecordLength));
    for (int r = 1; r < FileRecordCount(d); ++r) {
      GetRec(d, static_cast<int16_t>(r), rec.data());
      if (GetI16(rec.data()) == 0) codes.push_back(ReadStr(rec.data() + kRecordCode, 6));
    }
    Files().Close(d.handle);
    std::sort(codes.begin(), codes.end());
    return codes;
  }

  // Opens the set, which must stop in the engine's box with the status and
  // the file, leaving every file as it was.
  void ExpectRefused(int16_t status, const char* file) {
    const MemoryFiles::Image before = files.Contents();
    host.PushKeys({kKeyEnter});
    EXPECT_THROW(OpenSet("A", "01"), Halt);
    EXPECT_EQ(Engine().EngineStatus, status);
    EXPECT_EQ(fs::path(Engine().failedFile).filename(), file);
    EXPECT_NE(ScreenRow(20).find(StatusMessage(status)), std::string::npos) << ScreenRow(20);
    EXPECT_NE(ScreenRow(21).find(file), std::string::npos) << ScreenRow(21);
    EXPECT_TRUE(files.Contents() == before) << "a refused open changed the files";
    files.RestoreStopImage();  // the program ended
    ResetWorkAreas();
  }

  MemoryFiles files;
  MemoryFiles::Image sound;
  std::vector<std::string> codesBefore;
};

TEST_F(OpeningChecksTest, RepairableDamageIsRepairedKeepingEveryRecord) {
  struct Case {
    const char* name;
    std::function<void(OpeningChecksTest&)> damage;
  };
  const Case cases[] = {
      {"partial trailing record",
       [](OpeningChecksTest& t) {
         t.Bytes("Apr02dat.A").resize(t.Bytes("Apr02dat.A").size() + 30);
       }},
      {"stale free chain",
       [](OpeningChecksTest& t) { test::PokeI16(t.Bytes("Apr02dat.A"), 0, 2); }},
      {"free count too high",
       [](OpeningChecksTest& t) { test::PokeI16(t.Bytes("Apr02dat.A"), 2, 9); }},
      {"flipped byte in a key",
       [](OpeningChecksTest& t) { t.Bytes("Apr02ixc.A")[323 + 3 + 4 + 5] ^= 0x01; }},
      {"record without its key",
       [](OpeningChecksTest& t) {
         std::vector<uint8_t>& d = t.Bytes("Apr02dat.A");
         std::vector<uint8_t> rec(94, 0);
         WriteStr(rec.data() + kRecordCode, 6, "77001");
         d.insert(d.end(), rec.begin(), rec.end());
       }},
      {"index missing",
       [](OpeningChecksTest& t) { t.files.Contents().erase(t.Path("Apr02ixc.A")); }},
      {"index cut inside a page",
       [](OpeningChecksTest& t) {
         t.Bytes("Apr02ixc.A").resize(t.Bytes("Apr02ixc.A").size() - 7);
       }},
      {"index root outside",
       [](OpeningChecksTest& t) { test::PokeI16(t.Bytes("Apr02ixc.A"), 4, 90); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files.Contents() = sound;
    ResetStorageEngine();
    ResetWorkAreas();
    c.damage(*this);
    std::vector<std::string> expected = LiveCodes(2);
    OpenSet("A", "01");
    EXPECT_TRUE(Area(2).indexRebuilt);
    std::vector<IndexEntry> entries;
    EXPECT_EQ(CheckIndexIntegrity(Area(2).Index, &entries), "");
    std::vector<std::string> keys;
    for (const IndexEntry& e : entries) keys.push_back(e.key);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(static_cast<int>(entries.size()), UsedRecordCount(Area(2).Data));
    // A file repaired alone keeps the serial of its set, which is still 0
    // before any calculation: a different one would refuse the whole set
    // as badly copied.
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(Area(n).SavedSetSerial, 0) << "area " << n;
    CloseSet();
    // The repaired set opens without another repair.
    OpenSet("A", "01");
    EXPECT_FALSE(Area(2).indexRebuilt);
    CloseSet();
  }
  // The bytes cut off were kept beside the data file.
  files.Contents() = sound;
  Bytes("Apr02dat.A").push_back(0x5A);
  OpenSet("A", "01");
  CloseSet();
  EXPECT_EQ(Bytes("Apr02dat.A.resto"), std::vector<uint8_t>{0x5A});
  EXPECT_EQ(Bytes("Apr02dat.A").size() % 94, 0u);
}

TEST_F(OpeningChecksTest, UnusableFilesAreRefusedNamingTheFileAndChangingNothing) {
  struct Case {
    const char* name;
    std::function<void(OpeningChecksTest&)> damage;
    int16_t status;
    const char* file;
  };
  const Case cases[] = {
      {"record length changed",
       [](OpeningChecksTest& t) { test::PokeI16(t.Bytes("Apr04dat.A"), 6, 150); },
       kStatusDataLength, "Apr04dat.A"},
      {"header cut short", [](OpeningChecksTest& t) { t.Bytes("Apr03dat.A").resize(5); },
       kStatusReadError, "Apr03dat.A"},
      {"emptied file", [](OpeningChecksTest& t) { t.Bytes("Apr04dat.A").clear(); },
       kStatusEmptyFile, "Apr04dat.A"},
      {"a folder in its place",
       [](OpeningChecksTest& t) { t.files.RefuseOpen(t.Path("Apr02dat.A"), EISDIR); },
       kStatusIsFolder, "Apr02dat.A"},
      {"data file gone, its index left",
       [](OpeningChecksTest& t) { t.files.Contents().erase(t.Path("Apr06dat.A01")); },
       kStatusDataFileMissing, "Apr06dat.A01"},
      {"Rama file gone beside file 1",
       [](OpeningChecksTest& t) {
         t.files.Contents().erase(t.Path("Apr03dat.A"));
         t.files.Contents().erase(t.Path("Apr03ixc.A"));
       },
       kStatusSetFileMissing, "Apr03dat.A"},
      {"read-only file",
       [](OpeningChecksTest& t) { t.files.RefuseOpen(t.Path("Apr05dat.A"), EACCES); },
       kStatusAccessDenied, "Apr05dat.A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = MemoryFiles{};
    files.Contents() = sound;
    ResetStorageEngine();
    ResetWorkAreas();
    ResetScreen();
    c.damage(*this);
    ExpectRefused(c.status, c.file);
  }
  EXPECT_EQ(StatusText(kStatusAccessDenied), "Permiso denegado");
}

TEST_F(OpeningChecksTest, AMarkerThatCannotBeWrittenStopsBeforeAnythingChanges) {
  Shell().programDir = (root / "missing" / "dir").string();
  auto reopen = [&] {
    ResetStorageEngine();
    ResetWorkAreas();
    ResetScreen();
    FileSetGuards().markBeforeWriting = true;
  };
  // A new Obra would be created: refused before its files are.
  reopen();
  const MemoryFiles::Image before = files.Contents();
  host.PushKeys({kKeyEnter});
  EXPECT_THROW(OpenSet("A", "02"), Halt);
  EXPECT_EQ(Engine().EngineStatus, kStatusMarkerNotWritten);
  EXPECT_TRUE(files.Contents() == before);
  files.RestoreStopImage();
  ResetWorkAreas();
  // An existing set opens for reading without a marker; its first change
  // is stopped before it happens.
  reopen();
  OpenSet("A", "01");
  EXPECT_TRUE(files.Contents() == before) << "an opening that only reads wrote";
  std::vector<uint8_t> record(kSetRecordLength[2]);
  GetRec(Area(2).Data, 2, record.data());
  record[40] ^= 1;
  host.PushKeys({kKeyEnter});
  EXPECT_THROW(PutRec(Area(2).Data, 2, record.data()), Halt);
  EXPECT_EQ(Engine().EngineStatus, kStatusMarkerNotWritten);
  EXPECT_TRUE(files.Contents() == before);
  files.RestoreStopImage();
  ResetWorkAreas();
  // With a writable configuration the marker is on disk before that change.
  Shell().programDir = (root / "prog").string();
  reopen();
  OpenSet("A", "01");
  EXPECT_TRUE(ReadInUseFields().rama.empty());
  PutRec(Area(2).Data, 2, record.data());
  EXPECT_EQ(ReadInUseFields().rama, "A");
  EXPECT_EQ(ReadInUseFields().obra, "01");
}

}  // namespace
}  // namespace vantu
