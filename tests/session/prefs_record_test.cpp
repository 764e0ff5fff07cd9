#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "console/console.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

// A host that records the calls the preferences make.
class PrefsHost : public HeadlessHost {
 public:
  void UpdateListingMenus() override { ++menuUpdates; }
  bool EditPreferences() override {
    ++edits;
    return true;
  }
  int menuUpdates = 0;
  int edits = 0;
};

class PrefsRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHost(&host);
    ResetScreen();
    ResetShell();
    ResetPrefs();
    RoundToPesoChangedHook() = nullptr;
    char pattern[] = "/tmp/vantu-prefs-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    Shell().programDir = dir;
  }
  void TearDown() override {
    RoundToPesoChangedHook() = nullptr;
    ClearCommands();
    Hooks() = ShellHooks{};
    SetHost(nullptr);
    fs::remove_all(dir);
  }

  std::vector<uint8_t> FileBytes() const {
    std::ifstream in(ConfigFilePath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void WriteFile(const std::vector<uint8_t>& bytes) const {
    std::ofstream out(ConfigFilePath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  PrefsHost host;
  std::string dir;
};

TEST_F(PrefsRecordTest, FileIsNamedAfterTheProgramInItsDirectory) {
  const std::string program = fs::read_symlink("/proc/self/exe").filename().string();
  EXPECT_EQ(fs::path(ConfigFilePath()), fs::path(dir) / (program + "D.Cfg"));
}

TEST_F(PrefsRecordTest, NewFileHoldsTheDefaultRecordByteForByte) {
  LoadPreferences();
  const std::vector<uint8_t> bytes = FileBytes();
  ASSERT_EQ(bytes.size(), 614u);

  std::vector<uint8_t> expected(614, 0);
  expected[19] = 2;  // "15"
  expected[20] = '1';
  expected[21] = '5';
  for (int i = 15; i <= 17; ++i) expected[i] = 1;
  for (int i = 354; i <= 366; ++i) expected[i] = 1;
  // Bytes 1-10: the ten digits, each once, after the length byte 10.
  ASSERT_EQ(bytes[0], 10);
  std::string digits(bytes.begin() + 1, bytes.begin() + 11);
  std::sort(digits.begin(), digits.end());
  EXPECT_EQ(digits, "0123456789");
  std::copy(bytes.begin(), bytes.begin() + 11, expected.begin());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("byte " + std::to_string(i));
    EXPECT_EQ(bytes[i], expected[i]);
  }

  const Preferences& p = Prefs();
  EXPECT_TRUE(p.roundToPeso && p.descriptionForPliegos && p.listUndefinedQuantities);
  EXPECT_FALSE(p.beepOff || p.englishUnits || p.oneAnalysisPerPage || p.dotMatrixPrinter);
  EXPECT_EQ(p.totalScheduleParts, (std::array<bool, 4>{true, true, true, false}));
  EXPECT_EQ(NumberStyle(), 0);
  EXPECT_EQ(host.menuUpdates, 1);
}

TEST_F(PrefsRecordTest, SavedFieldsLandAtTheirOffsetsAndLoadBack) {
  struct Case {
    const char* name;
    void (*change)(Preferences&);
    size_t offset;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"BeepOff", [](Preferences& p) { p.beepOff = true; }, 11, {1}},
      {"EnglishUnits", [](Preferences& p) { p.englishUnits = true; }, 12, {1}},
      {"OneAnalysisPerPage", [](Preferences& p) { p.oneAnalysisPerPage = true; }, 13, {1}},
      {"DescriptionForPliegos", [](Preferences& p) { p.descriptionForPliegos = false; }, 15, {0}},
      {"ListUndefinedQuantities",
       [](Preferences& p) { p.listUndefinedQuantities = false; },
       16,
       {0}},
      {"RoundToPeso", [](Preferences& p) { p.roundToPeso = false; }, 17, {0}},
      {"DotMatrixPrinter", [](Preferences& p) { p.dotMatrixPrinter = true; }, 18, {1}},
      {"last budget part", [](Preferences& p) { p.totalBudgetParts[6] = false; }, 360, {0}},
      {"first form part", [](Preferences& p) { p.totalFormParts[0] = false; }, 361, {0}},
      {"payment graph", [](Preferences& p) { p.totalScheduleParts[3] = true; }, 367, {1}},
      {"budget top -5", [](Preferences& p) { p.marginsBudget.top = -5; }, 368, {0xFB, 0xFF}},
      {"short bottom 3", [](Preferences& p) { p.marginsScheduleShort.bottom = 3; }, 376, {3, 0}},
      {"long left -1", [](Preferences& p) { p.marginsScheduleLong.left = -1; }, 384, {0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetPrefs();
    fs::remove(ConfigFilePath());
    LoadPreferences();
    std::vector<uint8_t> expected = FileBytes();
    std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + static_cast<long>(c.offset));

    Preferences changed = Prefs();
    c.change(changed);
    Prefs() = changed;
    ASSERT_TRUE(SavePreferences());
    EXPECT_EQ(FileBytes(), expected);

    ResetPrefs();
    LoadPreferences();
    EXPECT_TRUE(Prefs() == changed);
  }
}

TEST_F(PrefsRecordTest, SavingKeepsTheBytesThatAreNotPreferences) {
  std::vector<uint8_t> stored(614);
  for (size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<uint8_t>(i * 7 + 3);
  // The flags hold 0 or 1, as the program writes them.
  for (size_t i : {11, 12, 13, 15, 16, 17, 18}) stored[i] = i % 2;
  for (size_t i = 354; i <= 367; ++i) stored[i] = i % 2;
  WriteFile(stored);
  LoadPreferences();
  ASSERT_TRUE(SavePreferences());
  EXPECT_EQ(FileBytes(), stored);
}

TEST_F(PrefsRecordTest, InUseFieldsWrittenAfterStartSurviveASave) {
  LoadPreferences();
  ConfigRecord record = *ReadConfigRecord();
  record[cfg::kInUseFields] = 4;
  std::copy_n("/obr", 4, record.begin() + cfg::kInUseFields + 1);
  ASSERT_TRUE(WriteConfigRecord(record));

  Prefs().beepOff = true;
  ASSERT_TRUE(SavePreferences());
  const std::vector<uint8_t> bytes = FileBytes();
  EXPECT_EQ(bytes[cfg::kInUseFields], 4);
  EXPECT_EQ(
      std::string(bytes.begin() + cfg::kInUseFields + 1, bytes.begin() + cfg::kInUseFields + 5),
      "/obr");
  EXPECT_EQ(bytes[cfg::kBeepOff], 1);
}

TEST_F(PrefsRecordTest, ShortFileIsCompletedFromTheDefaults) {
  std::vector<uint8_t> head(20, 0);
  head[cfg::kBeepOff] = 1;
  WriteFile(head);
  LoadPreferences();
  EXPECT_TRUE(Prefs().beepOff);
  EXPECT_FALSE(Prefs().roundToPeso);  // byte 17 was in the short file
  EXPECT_TRUE(Prefs().totalBudgetParts[0]);
  EXPECT_TRUE(Screen().beepOff);
}

TEST_F(PrefsRecordTest, AcceptRunsTheRoundingHookOnlyOnAChange) {
  LoadPreferences();
  int marked = 0;
  RoundToPesoChangedHook() = [&marked] { ++marked; };
  struct Case {
    const char* name;
    bool roundToPeso;
    bool beepOff;
    int marks;
  };
  const Case cases[] = {
      {"same rounding, beep off", true, true, 0},
      {"rounding turned off", false, true, 1},
      {"rounding unchanged again", false, false, 1},
      {"rounding turned on", true, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Preferences edited = Prefs();
    edited.roundToPeso = c.roundToPeso;
    edited.beepOff = c.beepOff;
    EXPECT_TRUE(AcceptPreferences(edited));
    EXPECT_EQ(marked, c.marks);
    EXPECT_EQ(Screen().beepOff, c.beepOff);
    EXPECT_EQ(FileBytes()[cfg::kRoundToPeso], c.roundToPeso ? 1 : 0);
  }
}

TEST_F(PrefsRecordTest, AcceptReportsAFileThatCannotBeWritten) {
  Shell().programDir = dir + "/missing/folder";
  Preferences edited = DefaultPreferences();
  edited.beepOff = true;
  EXPECT_FALSE(AcceptPreferences(edited));
  EXPECT_TRUE(Prefs().beepOff);  // kept for this run
}

TEST_F(PrefsRecordTest, InstallFillsStartHookAndCommandB) {
  InstallPreferences();
  ASSERT_TRUE(Hooks().loadPreferences);
  Hooks().loadPreferences();
  EXPECT_TRUE(fs::exists(ConfigFilePath()));
  const CommandModule* b = FindCommand('B');
  ASSERT_NE(b, nullptr);
  (*b)();
  EXPECT_EQ(host.edits, 1);
}

}  // namespace
}  // namespace vantu
