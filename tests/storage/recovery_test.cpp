#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "console/keys.h"
#include "file_sets_fixture.h"
#include "platform/halt.h"
#include "storage/file_io.h"
#include "storage/file_repair.h"
#include "storage/index_check.h"
#include "storage/memory_files.h"
#include "storage/page_cache.h"
#include "storage/real10.h"
#include "storage/set_in_use.h"

namespace vantu {
namespace {

using test::FileSetsTest;
namespace fs = std::filesystem;

class RecoveryTest : public FileSetsTest {
 protected:
  int16_t Find(int n, const std::string& code) {
    std::string key = code;
    int16_t r = 0;
    FindKey(Area(n).Index, r, key);
    return LastOpOk() ? r : -1;
  }
  int16_t Serial(const std::string& name) {
    const auto b = FileBytes(name);
    return static_cast<int16_t>(b[9] | (b[10] << 8));
  }
};

TEST_F(RecoveryTest, RamaWithoutObraRebuildsFilesTwoToFour) {
  OpenSet("A");
  AddCoded(2, "01");
  AddCoded(3, "01");
  AddCoded(3, "010001");
  AddCoded(4, "02001");
  Area(1).SavedSetSerial = 7;
  for (int n = 2; n <= 4; ++n) Area(n).SavedChangeMarker = 0;
  CloseSet();
  for (const char* f : {"Apr02ixc.A", "Apr03ixc.A", "Apr04ixc.A"}) fs::remove(dataDir / f);

  EXPECT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaOnly);
  for (const char* f : {"Apr01dat.A", "Apr02dat.A", "Apr03dat.A", "Apr04dat.A"}) {
    SCOPED_TRACE(f);
    EXPECT_EQ(FileBytes(f)[8], 1);
    EXPECT_EQ(Serial(f), 7);
  }
  EXPECT_TRUE(fs::exists(dataDir / "Apr03ixc.A"));
  OpenSet("A");
  EXPECT_EQ(Find(3, "010001"), 2);
  EXPECT_EQ(Find(4, "02001"), 1);
  EXPECT_EQ(Find(2, "01"), 1);
}

TEST_F(RecoveryTest, DuplicateCodesKeepTheLowerRecord) {
  OpenSet("B");
  AddCoded(2, "01001");
  AddCoded(2, "01001", false);
  AddCoded(2, "01002");
  CloseSet();
  EXPECT_EQ(RecoverFileSet(dataDir.string(), "B", ""), kRecoveryRamaOnly);
  OpenSet("B");
  EXPECT_EQ(Find(2, "01001"), 1);
  EXPECT_EQ(Find(2, "01002"), 3);
  EXPECT_EQ(Area(2).Data.FreeCount, 1);
  EXPECT_EQ(Area(2).Data.FreeHead, 2);
}

TEST_F(RecoveryTest, MalformedCodesAreDeleted) {
  OpenSet("C");
  for (const char* code : {"00", "0A1", "011", "0111", "01001"}) AddCoded(2, code, false);
  CloseSet();
  RecoverFileSet(dataDir.string(), "C", "");
  OpenSet("C");
  EXPECT_EQ(UsedRecordCount(Area(2).Data), 1);
  EXPECT_EQ(Find(2, "01001"), 5);
  EXPECT_EQ(Area(2).Data.FreeCount, 4);
}

TEST_F(RecoveryTest, WithAnObraFileSixIsRebuiltAndStampsAdvance) {
  OpenSet("D", "01");
  AddCoded(6, "01");
  AddCoded(6, "01001");
  AddCoded(6, "01002");
  CloseSet();
  // A stale header counter, as a stop before the header write leaves it.
  std::vector<uint8_t> header = FileBytes("Apr06dat.D01");
  StoreReal10(header.data() + kHdrAddedCounter, 1.0L);
  {
    std::fstream out(dataDir / "Apr06dat.D01", std::ios::binary | std::ios::in | std::ios::out);
    out.write(reinterpret_cast<const char*>(header.data()), 21);
  }
  fs::remove(dataDir / "Apr06ixc.D01");
  EXPECT_EQ(RecoverFileSet(dataDir.string(), "D", "01"), kRecoveryRamaAndObra);
  OpenSet("D", "01");
  EXPECT_EQ(Find(6, "01001"), 2);
  // The next record's stamp is above every stamp in the file.
  const int16_t r = AddCoded(6, "01003");
  std::vector<uint8_t> rec(144);
  long double highest = 0;
  for (int16_t b = 1; b < r; ++b) {
    GetRec(Area(6).Data, b, rec.data());
    highest = std::max(highest, LoadReal10(rec.data() + kRecStamp));
  }
  GetRec(Area(6).Data, r, rec.data());
  EXPECT_EQ(highest, 3.0L);
  EXPECT_GT(LoadReal10(rec.data() + kRecStamp), highest);
}

// The counter each repaired header gets (bytes 11-20, x87 extended): the
// running maximum of the stamps seen, one more after each indexed file.
// File 2 holds stamps 1-4, file 3 stamp 1, file 4 none, file 6 stamps 1-3.
TEST_F(RecoveryTest, RepairedHeadersCarryTheStampCounterBytes) {
  OpenSet("D", "01");
  for (const char* code : {"01", "01001", "01002", "01003"}) AddCoded(2, code);
  AddCoded(3, "01");
  for (const char* code : {"01", "01001", "01002"}) AddCoded(6, code);
  CloseSet();
  const std::vector<uint8_t> fileFive = FileBytes("Apr05dat.D");
  for (const char* index : {"Apr02ixc.D", "Apr03ixc.D", "Apr06ixc.D01"})
    fs::remove(dataDir / index);
  ASSERT_EQ(RecoverFileSet(dataDir.string(), "D", "01"), kRecoveryRamaAndObra);
  using Bytes = std::vector<uint8_t>;
  const Bytes zero(10, 0);
  const struct {
    const char* file;
    Bytes counter;
  } cases[] = {
      {"Apr01dat.D", zero},                                     // rebuilt before any stamp was seen
      {"Apr02dat.D", {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0x40}},  // 5
      {"Apr03dat.D", {0, 0, 0, 0, 0, 0, 0, 0xC0, 0x01, 0x40}},  // 6
      {"Apr04dat.D", {0, 0, 0, 0, 0, 0, 0, 0xE0, 0x01, 0x40}},  // 7
      {"Apr06dat.D01", {0, 0, 0, 0, 0, 0, 0, 0x80, 0x02, 0x40}},  // 8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const Bytes header = FileBytes(c.file);
    ASSERT_GE(header.size(), 21u);
    EXPECT_EQ(Bytes(header.begin() + kHdrAddedCounter, header.begin() + kHdrAddedCounter + 10),
              c.counter);
    EXPECT_EQ(header[kHdrChangeMarker], 1);
  }
  // File 5 takes only the serial: its counter stays.
  const Bytes five = FileBytes("Apr05dat.D");
  EXPECT_EQ(Bytes(five.begin() + kHdrAddedCounter, five.begin() + kHdrAddedCounter + 10),
            Bytes(fileFive.begin() + kHdrAddedCounter, fileFive.begin() + kHdrAddedCounter + 10));
}

// The index is rebuilt over the pages of the old one. Whatever the old file
// held past the new tree (a longer index, pages of garbage) is cut, and a
// full disk does not stop a rebuild that needs no new space.
TEST_F(RecoveryTest, AnIndexRebuiltOverItsOldPagesKeepsNothingOfThem) {
  struct Case {
    const char* name;
    int garbagePages;  // appended to the old index of file 2
    bool fullDisk;
  };
  const Case cases[] = {{"longer old index", 9, false}, {"full disk", 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFiles files;
    SetStorageFiles(&files);
    Restart();
    OpenSet("H");
    std::vector<std::string> codes;
    for (int i = 1; i <= 90; ++i) codes.push_back("01" + std::to_string(300 - i));
    for (const std::string& code : codes) AddCoded(2, code);
    CloseSet();
    const std::string index = dataDir.string() + "/Apr02ixc.H";
    std::vector<uint8_t>& bytes = files.Contents()[index];
    const size_t sound = bytes.size();
    bytes.resize(sound + c.garbagePages * PageLength(5), 0x5A);
    if (c.fullDisk) files.FillDiskAtWrite(1);

    EXPECT_EQ(RecoverFileSet(dataDir.string(), "H", ""), kRecoveryRamaOnly);
    EXPECT_EQ(files.FirstFullWrite(), 0) << "the rebuild needed new space";
    files.FreeSpace();
    EXPECT_EQ(files.Contents()[index].size(), sound);
    const StoredFileCheck check =
        CheckStoredFile(dataDir.string() + "/Apr02dat.H", kSetRecordLength[2], index, 5);
    EXPECT_FALSE(check.Repairable()) << check.Reason();
    OpenSet("H");
    for (const std::string& code : codes) EXPECT_GT(Find(2, code), 0) << code;
    CloseSet();
    SetStorageFiles(nullptr);
  }
}

TEST_F(RecoveryTest, MissingFilesAndDirectories) {
  EXPECT_EQ(RecoverFileSet((root / "nowhere").string(), "A", ""), kRecoveryNoDirectory);
  OpenSet("E");
  CloseSet();
  EXPECT_EQ(RecoverFileSet(dataDir.string(), "E", "09"), kRecoveryObraMissing);
  fs::remove(dataDir / "Apr05dat.E");
  EXPECT_EQ(RecoverFileSet(dataDir.string(), "E", ""), kRecoveryRamaMissing);
  // Left marked with the current directory and no set.
  EXPECT_EQ(ReadInUseFields().directory, fs::current_path().string());
  EXPECT_TRUE(ReadInUseFields().rama.empty());
}

TEST_F(RecoveryTest, StartupCheckCreatesTheConfigurationFile) {
  EXPECT_FALSE(fs::exists(ConfigFilePath()));
  StartupRecoveryCheck();
  ASSERT_TRUE(fs::exists(ConfigFilePath()));
  EXPECT_EQ(fs::file_size(ConfigFilePath()), kConfigRecordSize);
}

TEST_F(RecoveryTest, AbnormalEndIsRecoveredAtTheNextStart) {
  StartupRecoveryCheck();
  Selection().RamaCode = "F";
  Selection().ObraCode = "02";
  OpenSet("F", "02");
  MarkSetInUse();
  std::vector<std::string> codes;
  for (int c = 1; c <= 40; ++c) {
    char code[8];
    std::snprintf(code, sizeof code, "%02d", c);
    codes.push_back(code);
    AddCoded(2, code);
    std::snprintf(code, sizeof code, "01%03d", c);
    codes.push_back(code);
    AddCoded(2, code);
    AddCoded(6, code);
  }
  // The program stops without closing: cached pages and headers are lost.
  for (int n = 1; n <= 6; ++n) {
    Files().Close(Area(n).Data.handle);
    if (Area(n).Index.File.isOpen) Files().Close(Area(n).Index.File.handle);
  }
  ShutdownStorageEngine();
  ResetWorkAreas();
  ResetStorageEngine();

  StartupRecoveryCheck();
  EXPECT_TRUE(ReadInUseFields().rama.empty());
  StartupRecoveryCheck();  // a second start finds nothing left to rebuild
  OpenSet("F", "02");
  EXPECT_EQ(UsedRecordCount(Area(2).Data), 80);
  for (int n : {2, 3, 4, 6}) EXPECT_EQ(CheckIndexIntegrity(Area(n).Index), "") << n;
  for (const std::string& code : codes) EXPECT_GT(Find(2, code), 0) << code;
  EXPECT_GT(Find(6, "01040"), 0);
}

TEST_F(RecoveryTest, UnrecoverableSetStopsAfterItsWindow) {
  StartupRecoveryCheck();
  MarkSetInUseAs(dataDir.string(), "Z", "");
  std::vector<std::string> shown;
  static std::vector<std::string>* sink = nullptr;
  sink = &shown;
  RecoveryScreens().failure = [](const std::vector<std::string>& lines) { *sink = lines; };
  EXPECT_THROW(StartupRecoveryCheck(), Halt);
  RecoveryScreens().failure = nullptr;
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown[0], "FALLO PROCESO AUTOMATICO DE RECUPERACION ARCHIVOS");
  EXPECT_EQ(shown[2], "Rama: Z ");
  EXPECT_TRUE(ReadInUseFields().directory.empty());  // the next start does not try again
}

// A recovery that cannot finish says which file and why, and clears the
// marker, so that the next start does not stop in the same place; a check
// that fails before any write leaves every file as it was.
TEST_F(RecoveryTest, AFailedRecoveryNamesTheFileAndTheNextStartGoesOn) {
  struct Case {
    const char* name;
    void (*fault)(MemoryFiles&, const std::string& dir);
    int16_t engineStatus;  // 0: refused by the check before any write
    bool unchanged;
  };
  const Case cases[] = {
      {"read-only file",
       [](MemoryFiles& m, const std::string& dir) { m.RefuseOpen(dir + "/Apr03dat.G", EACCES); }, 0,
       true},
      // The index rebuild writes over the old pages, so the full disk only
      // stops it where the index must grow: here, one lost in a cut.
      {"full disk",
       [](MemoryFiles& m, const std::string& dir) {
         m.Contents()[dir + "/Apr02ixc.G"].resize(PageLength(5));
         m.FillDiskAtWrite(1);
       },
       kStatusDiskFull, false},
  };
  static std::vector<std::string> shown;
  RecoveryScreens().failure = [](const std::vector<std::string>& lines) { shown = lines; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFiles files;
    SetStorageFiles(&files);
    Restart();
    OpenSet("G", "03");
    for (int i = 1; i <= 40; ++i) AddCoded(2, "01" + std::to_string(100 + i));
    CloseSet();
    MarkSetInUseAs(dataDir.string(), "G", "03");
    const MemoryFiles::Image before = files.Contents();
    c.fault(files, dataDir.string());
    shown.clear();
    host.PushKeys({kKeyEnter});
    EXPECT_THROW(StartupRecoveryCheck(), Halt);
    if (c.engineStatus != 0) {
      EXPECT_EQ(Engine().EngineStatus, c.engineStatus);
      EXPECT_FALSE(Engine().failedFile.empty());
    } else {
      ASSERT_GE(shown.size(), 6u);
      EXPECT_EQ(shown[4], "Archivo: Apr03dat.G");
      EXPECT_EQ(shown[5], "Permiso denegado");
    }
    if (c.unchanged) {
      EXPECT_TRUE(files.Contents() == before);
    }
    EXPECT_TRUE(ReadInUseFields().rama.empty()) << "the next start would stop again";
    files.FreeSpace();
    files.RestoreStopImage();
    ResetStorageEngine();
    EXPECT_NO_THROW(StartupRecoveryCheck());
    SetStorageFiles(nullptr);
  }
  RecoveryScreens().failure = nullptr;
}

}  // namespace
}  // namespace vantu
