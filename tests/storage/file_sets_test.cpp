#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "file_sets_fixture.h"
#include "records/area_view.h"
#include "session/preferences.h"
#include "storage/set_in_use.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

using test::FileSetsTest;
namespace fs = std::filesystem;

TEST_F(FileSetsTest, NamesAndHeaderLine) {
  EXPECT_EQ(DataBaseName(3, "A"), "Apr03dat.A");
  EXPECT_EQ(fs::path(IndexFileName(6, "A07")).filename(), "Apr06ixc.A07");
  Selection().RamaCode = "A";
  EXPECT_EQ(BuildSetHeaderLine("Vias", ""), "RAMA : [A] - Vias");
  EXPECT_EQ(BuildSetHeaderLine("", ""), "RAMA : [A] - << Rama sin Nombre >>");
  Selection().ObraCode = "07";
  EXPECT_EQ(BuildSetHeaderLine("Vias", "Puente"), "OBRA : 07 - Puente");
  EXPECT_EQ(BuildSetHeaderLine("Vias", ""), "OBRA : 07 - << Obra sin Nombre >>");
}

TEST_F(FileSetsTest, CodesAcceptedByRecovery) {
  const std::pair<const char*, bool> cases[] = {
      {"01", true},      {"00", false},     {"0A", false},    {"010", false},    {"0101", false},
      {"01001", true},   {"01000", false},  {"00001", false}, {"0A1", false},    {"010001", true},
      {"010000", false}, {"01 001", false}, {"", false},      {"0100012", false}};
  for (const auto& [code, ok] : cases) EXPECT_EQ(WellFormedCode(code), ok) << code;
}

TEST_F(FileSetsTest, NewSetFilesCarryTheirHeaderBytes) {
  OpenSet("A", "07");
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(Area(n).CreatedAnew);
    EXPECT_EQ(Area(n).SavedChangeMarker, 1);
    EXPECT_EQ(Area(n).SavedSetSerial, 0);
  }
  CloseSet();
  const std::vector<uint8_t> f2 = FileBytes("Apr02dat.A");
  ASSERT_EQ(f2.size(), 94u);
  const uint8_t head[] = {0xFF, 0xFF, 0, 0, 0, 0, 94, 0, 1, 0, 0};
  for (size_t i = 0; i < sizeof head; ++i) EXPECT_EQ(f2[i], head[i]) << i;
  for (size_t i = 11; i < 94; ++i) EXPECT_EQ(f2[i], 0) << i;
  // File 1 holds its first record, written in place with -1 and 1.
  const std::vector<uint8_t> f1 = FileBytes("Apr01dat.A");
  ASSERT_EQ(f1.size(), 2u * 152u);
  EXPECT_EQ(f1[152], 0xFF);
  EXPECT_EQ(f1[153], 0xFF);
  EXPECT_EQ(f1[154], 1);
  EXPECT_EQ(f1[155], 0);
  EXPECT_EQ(FileBytes("Apr02ixc.A").size(), 323u);
  EXPECT_EQ(FileBytes("Apr03ixc.A").size(), 355u);
  EXPECT_TRUE(fs::exists(dataDir / "Apr06ixc.A07"));
  EXPECT_FALSE(fs::exists(dataDir / "Apr05ixc.A"));
}

TEST_F(FileSetsTest, HeaderCopiesAreLoadedAndWrittenBack) {
  OpenSet("B");
  Area(3).SavedChangeMarker = 0;
  Area(3).SavedSetSerial = 1234;
  FlushWorkArea(3);
  std::vector<uint8_t> f3 = FileBytes("Apr03dat.B");
  EXPECT_EQ(f3[8], 0);
  EXPECT_EQ(f3[9] | (f3[10] << 8), 1234);
  CloseSet();
  OpenSet("B");
  EXPECT_FALSE(Area(3).CreatedAnew);
  EXPECT_EQ(Area(3).SavedSetSerial, 1234);
  EXPECT_EQ(Area(3).SavedChangeMarker, 0);
}

TEST_F(FileSetsTest, FirstRecordIsTheFirstCodeInOrder) {
  OpenSet("C");
  AddCoded(2, "02001");
  AddCoded(2, "01");
  AddCoded(2, "01002");
  CloseSet();
  std::vector<uint8_t> buf(94);
  OpenWorkArea(2, false, buf.data(), "C", 94);
  EXPECT_EQ(ReadStr(buf.data() + kRecordCode, 6), "01");
  EXPECT_EQ(Area(2).CurrentRecord, 2);
  EXPECT_TRUE(Area(2).CurrentKey.empty());
}

TEST_F(FileSetsTest, AMissingIndexIsRebuiltFromTheData) {
  OpenSet("D");
  AddCoded(2, "01");
  AddCoded(2, "01001");
  CloseSet();
  fs::remove(dataDir / "Apr02ixc.D");
  static std::string notice;
  notice.clear();
  RecoveryScreens().notice = [](const std::string& text) { notice = text; };
  std::vector<uint8_t> buf(94);
  OpenWorkArea(2, false, buf.data(), "D", 94);
  EXPECT_TRUE(Area(2).indexRebuilt);
  EXPECT_FALSE(Area(2).CreatedAnew);
  EXPECT_EQ(notice, "Indice reconstruido desde los datos: Apr02ixc.D");
  std::string key = "01001";
  int16_t r = 0;
  FindKey(Area(2).Index, r, key);
  EXPECT_TRUE(LastOpOk());
  EXPECT_EQ(r, 2);
}

TEST_F(FileSetsTest, UsageLine) {
  OpenSet("E");
  AddCoded(2, "01");
  AddCoded(2, "01001");
  ShowUsage(2);
  EXPECT_EQ(ReadScreenText(60, 1, 17), "2 Codigos En Uso ");
  EXPECT_FALSE(Area(2).IsEmpty);
  ShowUsage(4);
  EXPECT_TRUE(Area(4).IsEmpty);
  ShowUsage(5);
  EXPECT_EQ(ReadScreenText(58, 1, 19), "1 Registros En Uso ");
}

TEST_F(FileSetsTest, OldGeneralDataIsConvertedAndOthersLeftAlone) {
  std::vector<uint8_t> old(224);
  for (size_t i = 0; i < old.size(); ++i) old[i] = static_cast<uint8_t>(i + 1);
  {
    std::ofstream out(dataDir / "Apr01dat.F", std::ios::binary);
    out.write(reinterpret_cast<const char*>(old.data()), 224);
  }
  ConvertOldGeneralData("F");
  const std::vector<uint8_t> f = FileBytes("Apr01dat.F");
  ASSERT_EQ(f.size(), 304u);
  for (int i = 0; i <= 20; ++i)
    if (i != 6 && i != 7) {
      EXPECT_EQ(f[i], old[i]) << i;
    }
  EXPECT_EQ(f[6], 152);
  EXPECT_EQ(f[7], 0);
  for (int i = 21; i < 152; ++i) EXPECT_EQ(f[i], 0) << i;
  for (int i = 0; i < 42; ++i) EXPECT_EQ(f[152 + i], old[112 + i]) << i;
  for (int i = 42; i < 112; ++i) EXPECT_EQ(f[152 + i], 0) << i;
  for (int i = 112; i < 152; ++i) EXPECT_EQ(f[152 + i], old[112 + i - 40]) << i;

  ConvertOldGeneralData("F");  // now 304 bytes: untouched
  EXPECT_EQ(FileBytes("Apr01dat.F"), f);
}

TEST_F(FileSetsTest, FilesCopiedWithOtherLetterCaseAreFound) {
  OpenSet("G");
  AddCoded(2, "01");
  CloseSet();
  fs::rename(dataDir / "Apr02dat.G", dataDir / "APR02DAT.G");
  fs::rename(dataDir / "Apr02ixc.G", dataDir / "apr02ixc.g");
  std::vector<uint8_t> buf(94);
  OpenWorkArea(2, false, buf.data(), "G", 94);
  EXPECT_FALSE(Area(2).CreatedAnew);
  EXPECT_EQ(UsedRecordCount(Area(2).Data), 1);
}

TEST_F(FileSetsTest, InUseFieldsOfTheConfigurationRecord) {
  MarkSetInUseAs("/datos/obras", "A", "07");
  auto rec = ReadConfigRecord();
  ASSERT_TRUE(rec.has_value());
  const uint8_t* r = rec->data();
  EXPECT_EQ(ReadStr(r, 10), "0123456789");
  EXPECT_EQ(ReadStr(r + 19, 2), "15");
  EXPECT_EQ(ReadStr(r + 22, 160), "/datos/obras");
  EXPECT_EQ(ReadStr(r + 183, 1), "A");
  EXPECT_EQ(ReadStr(r + 185, 2), "07");
  EXPECT_EQ(ReadStr(r + 188, 160), "/datos/obras");
  EXPECT_EQ(r[386], 0);
  EXPECT_EQ(r[15], 1);  // the preferences around them are kept
  ClearSetInUse();
  const InUseFields f = ReadInUseFields();
  EXPECT_TRUE(f.directory.empty());
  EXPECT_TRUE(f.rama.empty());
  EXPECT_TRUE(f.obra.empty());
  EXPECT_EQ(f.lastDirectory, dataDir.string());
}

// The clear rewrites the marker's bytes in place: the same file, and every
// byte after the in-use fields (the preferences) as it was.
TEST_F(FileSetsTest, ClearingTheMarkerKeepsTheFileAndThePreferenceBytes) {
  MarkSetInUseAs("/datos/obras", "A", "07");
  const fs::path cfg = ConfigFilePath();
  ConfigRecord before = *ReadConfigRecord();
  before[600] = 0x5A;  // a byte only the preferences own
  std::fstream(cfg, std::ios::in | std::ios::out | std::ios::binary)
      .seekp(600)
      .put(static_cast<char>(0x5A));
  struct stat st0 {};
  ASSERT_EQ(::stat(cfg.c_str(), &st0), 0);
  ClearSetInUse();
  struct stat st1 {};
  ASSERT_EQ(::stat(cfg.c_str(), &st1), 0);
  EXPECT_EQ(st0.st_ino, st1.st_ino);
  EXPECT_EQ(fs::file_size(cfg), kConfigRecordSize);
  const ConfigRecord after = *ReadConfigRecord();
  for (size_t i = 0; i < kConfigRecordSize; ++i) {
    if (i >= inuse::kDirectory && i < inuse::kLastDirectory + 161) continue;
    EXPECT_EQ(after[i], before[i]) << i;
  }
  EXPECT_TRUE(ReadInUseFields().rama.empty());

  // The end of a recovery names the directory but no Rama: also in place.
  MarkSetInUseAs("/datos/obras", "A", "07");
  ASSERT_EQ(::stat(cfg.c_str(), &st0), 0);
  MarkSetInUseAs("/datos/otras", "", "");
  ASSERT_EQ(::stat(cfg.c_str(), &st1), 0);
  EXPECT_EQ(st0.st_ino, st1.st_ino);
  EXPECT_EQ(ReadInUseFields().directory, "/datos/otras");
  EXPECT_TRUE(ReadInUseFields().rama.empty());

  // A short file is rewritten whole, completed from the default record.
  fs::resize_file(cfg, 200);
  MarkSetInUseAs("/datos/obras", "A", "07");
  fs::resize_file(cfg, 300);
  ClearSetInUse();
  EXPECT_EQ(fs::file_size(cfg), kConfigRecordSize);
  EXPECT_TRUE(ReadInUseFields().obra.empty());
}

}  // namespace
}  // namespace vantu
