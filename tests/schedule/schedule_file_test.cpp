// The schedule file's bytes, the conversion of old cell values, damaged
// files, and saves stopped at every point.
#include "schedule/schedule_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "schedule/schedule_state.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using namespace schedule_file;

class ScheduleFileTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    dir = fs::temp_directory_path() /
          ("vantu-cro-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = (dir / "Apr06cro.A01").string();
    temp = (dir / "Apr06crn.A01").string();
  }
  void TearDown() override {
    fs::remove_all(dir);
    HeadlessTest::TearDown();
  }
  void WriteRaw(const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<uint8_t> Raw() {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir;
  std::string path, temp;
};

TEST_F(ScheduleFileTest, ANewFileIsAllFillerExceptItsHeader) {
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeChapters);
  std::string why;
  ASSERT_TRUE(WriteScheduleFile(path, temp, b, why)) << why;
  const std::vector<uint8_t> bytes = Raw();
  ASSERT_EQ(bytes.size(), 61000u);
  const std::vector<uint8_t> header = {'M', 0, 0, 0, 'C', 0, 0xFF, 0xFF, 1};
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t expected = i < header.size() ? header[i] : 146;
    ASSERT_EQ(bytes[i], expected) << "byte " << i;
  }
  EXPECT_FALSE(fs::exists(temp));
}

TEST_F(ScheduleFileTest, HeaderFieldsLandAtTheirOffsets) {
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeItems);
  b.SetPeriodKind(kWeeks);
  b.SetActivityCount(200);
  b.SetYearBlocks(3);
  b.SetComplete(1);
  b.SetLength(25);
  b.SetScheduleSerial(999);
  b.SetScheduleChanged(0);
  b.Cell(1, 1) = kCellMarked;
  b.Cell(999, 60) = kCellChapter;
  std::string why;
  ASSERT_TRUE(WriteScheduleFile(path, temp, b, why));
  const std::vector<uint8_t> bytes = Raw();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 9),
            (std::vector<uint8_t>{'S', 200, 3, 1, 'A', 25, 0xE7, 0x03, 0}));
  EXPECT_EQ(bytes[61 + 1], 147);
  EXPECT_EQ(bytes[61 + 0], 146);  // byte 0 of an activity row is filler
  EXPECT_EQ(bytes[999 * 61 + 60], 176);
  ScheduleBlock back;
  ASSERT_EQ(ReadScheduleFile(path, back, why), ScheduleRead::Loaded);
  EXPECT_EQ(back.bytes, b.bytes);
}

TEST_F(ScheduleFileTest, OldCellValuesAreConverted) {
  const struct {
    uint8_t stored, loaded;
  } cases[] = {{32, 146}, {46, 146}, {250, 146}, {254, 147}, {146, 146}, {147, 147}, {176, 176}};
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeItems);
  int row = 1;
  for (const auto& c : cases) b.Cell(row++, 7) = c.stored;
  b.At(0, 20) = 32;  // the header row is not a chart row
  ConvertOldCells(b);
  row = 1;
  for (const auto& c : cases) EXPECT_EQ(b.Cell(row++, 7), c.loaded) << int(c.stored);
  EXPECT_EQ(b.At(0, 20), 32);
}

TEST_F(ScheduleFileTest, MissingShortLongAndOutOfRangeFilesAreToldApart) {
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeItems);
  std::string why;
  EXPECT_EQ(ReadScheduleFile(path, b, why), ScheduleRead::Missing);

  ScheduleBlock good;
  InitScheduleBlock(good, kScopeItems);
  std::vector<uint8_t> bytes(good.bytes.begin(), good.bytes.end());
  const struct {
    const char* name;
    std::vector<uint8_t> content;
    const char* reason;
  } cases[] = {
      {"short", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 600), "tamano 600"},
      {"empty", {}, "tamano 0"},
      {"long",
       [&] {
         auto v = bytes;
         v.push_back(0);
         return v;
       }(),
       "tamano 61001"},
      {"period kind",
       [&] {
         auto v = bytes;
         v[0] = 'X';
         return v;
       }(),
       "periodo"},
      {"scope",
       [&] {
         auto v = bytes;
         v[4] = 0;
         return v;
       }(),
       "alcance"},
      {"length",
       [&] {
         auto v = bytes;
         v[5] = 61;
         return v;
       }(),
       "60"},
      {"serial",
       [&] {
         auto v = bytes;
         v[6] = 0xE8, v[7] = 0x03;
         return v;
       }(),
       "control"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRaw(c.content);
    ScheduleBlock read = good;
    read.Cell(5, 5) = kCellMarked;
    why.clear();
    EXPECT_EQ(ReadScheduleFile(path, read, why), ScheduleRead::Damaged);
    EXPECT_NE(why.find("Apr06cro.A01"), std::string::npos) << why;
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_EQ(read.Cell(5, 5), kCellMarked);  // untouched
  }
}

// A save stopped at any point leaves the old chart or the new one whole.
TEST_F(ScheduleFileTest, ASaveStoppedAtAnyPointKeepsAWholeChart) {
  struct Stop {};
  const SaveStage stages[] = {SaveStage::Create, SaveStage::Written, SaveStage::Synced,
                              SaveStage::Renamed};
  for (SaveStage stage : stages) {
    SCOPED_TRACE(static_cast<int>(stage));
    ScheduleBlock old;
    InitScheduleBlock(old, kScopeItems);
    old.Cell(1, 3) = kCellMarked;
    std::string why;
    ScheduleSaveProbe() = nullptr;
    ASSERT_TRUE(WriteScheduleFile(path, temp, old, why));
    ScheduleBlock next = old;
    next.Cell(1, 3) = kCellFree;
    next.Cell(2, 9) = kCellMarked;
    ScheduleSaveProbe() = [stage](SaveStage s) {
      if (s == stage) throw Stop{};
    };
    EXPECT_THROW(WriteScheduleFile(path, temp, next, why), Stop);
    ScheduleSaveProbe() = nullptr;
    ScheduleBlock found;
    ASSERT_EQ(ReadScheduleFile(path, found, why), ScheduleRead::Loaded) << why;
    if (stage == SaveStage::Renamed)
      EXPECT_EQ(found.bytes, next.bytes);
    else
      EXPECT_EQ(found.bytes, old.bytes);
    fs::remove(temp);
  }
}

TEST_F(ScheduleFileTest, AFailedSaveNamesTheFileAndLeavesTheOldOne) {
  ScheduleBlock b;
  InitScheduleBlock(b, kScopeItems);
  std::string why;
  ASSERT_TRUE(WriteScheduleFile(path, temp, b, why));
  ScheduleBlock next = b;
  next.Cell(1, 1) = kCellMarked;
  const std::string badTemp = (dir / "missing" / "Apr06crn.A01").string();
  EXPECT_FALSE(WriteScheduleFile(path, badTemp, next, why));
  EXPECT_NE(why.find("No such file"), std::string::npos) << why;
  ScheduleBlock found;
  ASSERT_EQ(ReadScheduleFile(path, found, why), ScheduleRead::Loaded);
  EXPECT_EQ(found.bytes, b.bytes);
}

// The program end deletes the file of an interrupted save only when the
// flag says this run created it.
TEST_F(ScheduleFileTest, TheEndDeletesTheTemporaryFileItCreated) {
  for (bool created : {true, false}) {
    { std::ofstream(temp) << "x"; }
    Schedule().tempPath = temp;
    Schedule().tempCreated = created;
    DeleteScheduleWorkFiles();
    EXPECT_EQ(fs::exists(temp), !created) << created;
    EXPECT_FALSE(Schedule().tempCreated);
  }
}

}  // namespace
}  // namespace vantu
