// The state file of a recodification: its record, its names by phase, and
// the temporary record the program's end removes.
#include <filesystem>
#include <fstream>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "selection/recode.h"
#include "storage/file_sets_fixture.h"

namespace vantu::test {
namespace {

class RecodeStateTest : public FileSetsTest {
 protected:
  std::string Dir() { return dataDir.string(); }
  void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(dataDir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
};

TEST_F(RecodeStateTest, RecordLayout) {
  const auto bytes = EncodeRecodeState({3, 2, 7});
  ASSERT_EQ(bytes.size(), 1593u);
  const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + 6);
  EXPECT_EQ(head, (std::vector<uint8_t>{3, 0, 2, 0, 7, 0}));
  EXPECT_TRUE(std::all_of(bytes.begin() + 6, bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(RecodeStateTest, DecodingTakesDefaultsForShortOrImpossibleValues) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    RecodeParams expected;
  };
  const Case cases[] = {
      {"empty file", {}, {0, 1, 10}},
      {"stored values", {5, 0, 5, 0, 10, 0}, {5, 5, 10}},
      {"zero separations", {0, 0, 0, 0, 0, 0}, {0, 1, 10}},
      {"negative first chapter", {0xFF, 0xFF, 2, 0, 3, 0}, {0, 2, 3}},
      {"separations too large", {1, 0, 6, 0, 11, 0}, {1, 1, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeRecodeState(c.bytes), c.expected);
  }
}

TEST_F(RecodeStateTest, PhasesFollowTheStateFiles) {
  EXPECT_EQ(FindRecodePhase(Dir(), "A01"), kRecodeIdle);
  ASSERT_TRUE(BeginRecodeRun(Dir(), "A01", {4, 3, 2}));
  EXPECT_TRUE(fs::exists(dataDir / "Apr07ct1.A01"));
  EXPECT_EQ(FindRecodePhase(Dir(), "A01"), kRecodeRenumbering);
  EXPECT_EQ(FindRecodePhase(Dir(), "A"), kRecodeIdle) << "another set's run";
  EXPECT_EQ(ReadRecodeState(Dir(), "A01", kRecodeRenumbering), (RecodeParams{4, 3, 2}));
  EXPECT_EQ(fs::file_size(dataDir / "Apr07ct1.A01"), 1593u);
  ASSERT_TRUE(EnterReindexPhase(Dir(), "A01", {4, 3, 2}));
  EXPECT_FALSE(fs::exists(dataDir / "Apr07ct1.A01"));
  EXPECT_EQ(FindRecodePhase(Dir(), "A01"), kRecodeReindexing);
  EXPECT_EQ(ReadRecodeState(Dir(), "A01", kRecodeReindexing), (RecodeParams{4, 3, 2}));
  EndRecodeRun(Dir(), "A01");
  EXPECT_EQ(FindRecodePhase(Dir(), "A01"), kRecodeIdle);
  EXPECT_FALSE(RecodeFiles().tempCreated);
  EXPECT_FALSE(fs::exists(dataDir / RecodeTempName("A01")));
}

TEST_F(RecodeStateTest, StateFilesAreFoundWhateverTheirLetterCase) {
  WriteFile("APR07CT2.a01", {});
  EXPECT_EQ(FindRecodePhase(Dir(), "A01"), kRecodeReindexing);
  EXPECT_EQ(ReadRecodeState(Dir(), "A01", kRecodeReindexing), RecodeParams{});
}

TEST_F(RecodeStateTest, BothNamesLeftReadAsTheSecondPhase) {
  WriteFile("Apr07ct1.A", {1, 0, 1, 0, 1, 0});
  WriteFile("Apr07ct2.A", {1, 0, 1, 0, 1, 0});
  EXPECT_EQ(FindRecodePhase(Dir(), "A"), kRecodeReindexing);
}

TEST_F(RecodeStateTest, ProgramEndDeletesTheTemporaryRecordOnlyWhenFlagged) {
  struct Case {
    const char* name;
    bool flagged;
    bool remains;
  };
  const Case cases[] = {{"created by this run", true, false}, {"not created", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetRecodeFiles();
    InstallModules();
    const fs::path temp = dataDir / RecodeTempName("A");
    WriteFile(RecodeTempName("A"), {0, 0, 1, 0, 10, 0});
    if (c.flagged) RecodeFiles() = {true, temp.string()};
    ShellFinalize();
    EXPECT_EQ(fs::exists(temp), c.remains);
    EXPECT_FALSE(RecodeFiles().tempCreated);
    fs::remove(temp);
  }
}

}  // namespace
}  // namespace vantu::test
