// Repairs never lose data silently: what a rebuild cannot keep in the file
// goes to the side file and is reported; damaged status words keep their
// record; a cut file is named with the records it lost; a lost file 1 is
// never made again blank; a repair that could not finish writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "console/keys.h"
#include "file_sets_fixture.h"
#include "platform/halt.h"
#include "session/pstring.h"
#include "storage/file_repair.h"
#include "storage/index_check.h"
#include "storage/real10.h"
#include "storage/recovery.h"
#include "storage/storage_engine.h"

namespace vantu {
namespace {

using test::FileSetsTest;
namespace fs = std::filesystem;

class RepairReportTest : public FileSetsTest {
 protected:
  void SetUp() override {
    FileSetsTest::SetUp();
    reported.clear();
    RecoveryScreens().report = [](const std::vector<std::string>& lines) {
      reported.insert(reported.end(), lines.begin(), lines.end());
    };
    OpenSet("A");
    for (int i = 1; i <= 20; ++i) records.push_back(AddCoded(2, Code(i)));
    CloseSet();
  }
  static std::string Code(int i) {
    char b[8];
    std::snprintf(b, sizeof b, "01%03d", i);
    return b;
  }
  // Byte `at` of record r of a data file, changed in place.
  void Poke(const char* file, int r, int at, uint8_t value) {
    std::fstream f(dataDir / file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(r) * kSetRecordLength[2] + at);
    f.put(static_cast<char>(value));
  }
  std::string Reported() const {
    std::string all;
    for (const std::string& l : reported) all += l + "\n";
    return all;
  }
  std::vector<std::string> LiveCodes() {
    OpenSet("A");
    std::vector<IndexEntry> entries;
    EXPECT_EQ(CheckIndexIntegrity(Area(2).Index, &entries), "");
    CloseSet();
    std::vector<std::string> codes;
    for (const IndexEntry& e : entries) codes.push_back(e.key);
    return codes;
  }

  static inline std::vector<std::string> reported;
  std::vector<int16_t> records;
};

TEST_F(RepairReportTest, ARecordWhoseCodeIsDamagedGoesToTheSideFileAndIsNamed) {
  const auto before = FileBytes("Apr02dat.A");
  Poke("Apr02dat.A", records[4], kRecordCode + 1, 'x');  // "x1005": no code
  ASSERT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaOnly);
  EXPECT_NE(Reported().find("Apr02dat.A: 1 registros con codigo danado o repetido pasaron a "
                            "Apr02dat.A.resto"),
            std::string::npos)
      << Reported();
  EXPECT_NE(Reported().find("registro " + std::to_string(records[4]) + " (codigo \"x1005\")"),
            std::string::npos)
      << Reported();
  // The side file holds the whole record, as it was in the file.
  const auto side = FileBytes("Apr02dat.A.resto");
  ASSERT_EQ(side.size(), static_cast<size_t>(kSetRecordLength[2]));
  const size_t at = static_cast<size_t>(records[4]) * kSetRecordLength[2];
  EXPECT_EQ(side[kRecordCode + 1], 'x');
  EXPECT_TRUE(std::equal(side.begin() + kRecordCode + 2, side.end(),
                         before.begin() + static_cast<long>(at) + kRecordCode + 2));
  EXPECT_EQ(LiveCodes().size(), 19u);
}

TEST_F(RepairReportTest, ARecordWhoseStatusWordIsDamagedStaysInUse) {
  Poke("Apr02dat.A", records[7], 0, 0x05);  // looks free, holds its data
  ASSERT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaOnly);
  EXPECT_NE(Reported().find("1 registros con la palabra de estado danada se conservan en uso"),
            std::string::npos)
      << Reported();
  const auto codes = LiveCodes();
  EXPECT_EQ(codes.size(), 20u);
  EXPECT_NE(std::find(codes.begin(), codes.end(), Code(8)), codes.end());
  // Its status word is in use again on disk.
  EXPECT_EQ(FileBytes("Apr02dat.A")[static_cast<size_t>(records[7]) * kSetRecordLength[2]], 0);
}

TEST_F(RepairReportTest, ACutFileIsNamedWithTheRecordsItLost) {
  fs::resize_file(dataDir / "Apr02dat.A",
                  static_cast<uintmax_t>(records[14]) * kSetRecordLength[2] + 7);
  ASSERT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaOnly);
  EXPECT_NE(Reported().find("Apr02dat.A: el archivo fue cortado: faltan 6 registros"),
            std::string::npos)
      << Reported();
  EXPECT_NE(Reported().find("7 bytes de un registro incompleto al final pasaron a "
                            "Apr02dat.A.resto"),
            std::string::npos)
      << Reported();
  // The opening's own check says the same before it asks.
  fs::resize_file(dataDir / "Apr02dat.A",
                  static_cast<uintmax_t>(records[10]) * kSetRecordLength[2]);
  const StoredFileCheck c = CheckStoredFile((dataDir / "Apr02dat.A").string(),
                                            kSetRecordLength[2],
                                            (dataDir / "Apr02ixc.A").string(), 5);
  EXPECT_EQ(c.keysPastEnd, 4);
  EXPECT_NE(c.Reason().find("antes de 4 registros que su indice nombra"), std::string::npos);
}

TEST_F(RepairReportTest, ALoweredCounterIsFoundAndRaisedAboveEveryStamp) {
  Poke("Apr02dat.A", 0, kHdrAddedCounter + 9, 0);  // the counter's exponent: a tiny value
  const StoredFileCheck c = CheckStoredFile((dataDir / "Apr02dat.A").string(),
                                            kSetRecordLength[2],
                                            (dataDir / "Apr02ixc.A").string(), 5);
  EXPECT_TRUE(c.counterLow);
  EXPECT_TRUE(c.Repairable()) << "the opening offers the regeneration";
  ASSERT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaOnly);
  OpenSet("A");
  const int16_t r = AddCoded(2, "01099");
  std::vector<uint8_t> added(kSetRecordLength[2]);
  GetRec(Area(2).Data, r, added.data());
  std::vector<uint8_t> first(kSetRecordLength[2]);
  GetRec(Area(2).Data, records[19], first.data());
  EXPECT_GT(LoadReal10(added.data() + kRecStamp), LoadReal10(first.data() + kRecStamp));
  CloseSet();
}

TEST_F(RepairReportTest, RecordsAppendedToTheGeneralDataGoToTheSideFile) {
  const auto general = FileBytes("Apr01dat.A");
  ASSERT_EQ(general.size(), 2u * kSetRecordLength[1]);
  {
    std::ofstream garbage(dataDir / "Apr01dat.A", std::ios::binary | std::ios::app);
    for (int i = 0; i < 3 * kSetRecordLength[1]; ++i) garbage.put(static_cast<char>(i * 7 + 1));
  }
  ASSERT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaOnly);
  EXPECT_NE(Reported().find("Apr01dat.A: 3 registros de mas al final pasaron a Apr01dat.A.resto"),
            std::string::npos)
      << Reported();
  const auto after = FileBytes("Apr01dat.A");
  ASSERT_EQ(after.size(), general.size());
  EXPECT_TRUE(std::equal(after.begin() + kSetRecordLength[1], after.end(),
                         general.begin() + kSetRecordLength[1]))
      << "the general data record itself is kept";
  const auto side = FileBytes("Apr01dat.A.resto");
  ASSERT_EQ(side.size(), 3u * kSetRecordLength[1]);
  EXPECT_EQ(side[1], static_cast<uint8_t>(8));
}

// Global prices: record 2 was written past the highest number its header
// hands out (a stop before the header followed); three records of bytes
// the program never wrote come after it.
class AppendedGlobalsTest : public RepairReportTest {
 protected:
  void SetUp() override {
    RepairReportTest::SetUp();
    header = FileBytes("Apr05dat.A");
    // The header and record 1, free under its own number, as a new file has.
    ASSERT_EQ(header.size(), 2u * kSetRecordLength[5]);
    std::ofstream out(dataDir / "Apr05dat.A", std::ios::binary | std::ios::app);
    std::vector<char> own(static_cast<size_t>(kSetRecordLength[5]), 'G');
    own[0] = own[1] = 0;           // in use
    own[2] = 2, own[3] = 0;        // its own number, 2
    out.write(own.data(), static_cast<std::streamsize>(own.size()));
    for (int i = 0; i < 3 * kSetRecordLength[5]; ++i) out.put(static_cast<char>(i * 7 + 1));
  }
  void ExpectCut() {
    const auto after = FileBytes("Apr05dat.A");
    ASSERT_EQ(after.size(), 3u * kSetRecordLength[5]) << "the program's own records stay";
    EXPECT_EQ(after[2 * kSetRecordLength[5] + 20], 'G');
    const auto side = FileBytes("Apr05dat.A.resto");
    ASSERT_EQ(side.size(), 3u * kSetRecordLength[5]);
    EXPECT_EQ(side[1], static_cast<uint8_t>(8));
  }
  std::vector<uint8_t> header;
};

TEST_F(AppendedGlobalsTest, TheCheckNamesThemAndTheRecoveryMovesThemToTheSideFile) {
  const StoredFileCheck c =
      CheckStoredFile((dataDir / "Apr05dat.A").string(), kSetRecordLength[5], "", 0, kPlainFile);
  EXPECT_EQ(c.foreignRecords, 3);
  EXPECT_TRUE(c.Repairable());
  EXPECT_NE(c.Reason().find("3 registros ajenos al final"), std::string::npos) << c.Reason();
  ASSERT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaOnly);
  EXPECT_NE(Reported().find("Apr05dat.A: 3 registros de mas al final pasaron a Apr05dat.A.resto"),
            std::string::npos)
      << Reported();
  ExpectCut();
  EXPECT_EQ(CheckStoredFile((dataDir / "Apr05dat.A").string(), kSetRecordLength[5], "", 0,
                            kPlainFile)
                .foreignRecords,
            0);
}

TEST_F(AppendedGlobalsTest, TheOpeningRepairsThemWithTheirReport) {
  ResetStorageEngine();
  ResetWorkAreas();
  OpenSet("A");
  CloseSet();
  EXPECT_NE(Reported().find("Apr05dat.A: 3 registros de mas al final"), std::string::npos)
      << Reported();
  ExpectCut();
}

TEST_F(RepairReportTest, ALostGeneralDataFileIsRefusedAndNeverMadeAgainBlank) {
  fs::remove(dataDir / "Apr01dat.A");
  ResetStorageEngine();
  ResetWorkAreas();
  host.PushKeys({kKeyEnter});
  std::vector<uint8_t> buf(1024);
  EXPECT_THROW(OpenWorkArea(1, false, buf.data(), "A", kSetRecordLength[1]), Halt);
  EXPECT_EQ(Engine().EngineStatus, kStatusSetFileMissing);
  EXPECT_FALSE(fs::exists(dataDir / "Apr01dat.A"));
  // The recovery does not make it either.
  EXPECT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaMissing);
  EXPECT_FALSE(fs::exists(dataDir / "Apr01dat.A"));
}

TEST_F(RepairReportTest, ARepairThatCannotWriteAnIndexChangesNothing) {
  fs::remove(dataDir / "Apr03ixc.A");
  fs::create_directory(dataDir / "Apr03ixc.A");
  std::map<std::string, std::vector<uint8_t>> before;
  for (const auto& e : fs::directory_iterator(dataDir))
    if (e.is_regular_file()) before[e.path().filename().string()] = FileBytes(e.path().filename());
  EXPECT_EQ(RecoverFileSet(dataDir.string(), "A", ""), kRecoveryRamaMissing);
  EXPECT_EQ(fs::path(LastRecoveryFailure().file).filename(), "Apr03ixc.A");
  for (const auto& [name, bytes] : before) EXPECT_TRUE(FileBytes(name) == bytes) << name;
}

}  // namespace
}  // namespace vantu
