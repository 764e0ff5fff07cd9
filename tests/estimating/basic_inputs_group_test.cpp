// The group change of an input chapter: lines move between the sections of
// the analyses, or the change is refused when a section has no room.
#include <gtest/gtest.h>

#include <filesystem>

#include "estimating/basic_inputs.h"
#include "estimating/general_data.h"
#include "records/record_ops_fixture.h"
#include "records/usage_check.h"

namespace vantu {
namespace {

using test::RecordOpsTest;

AnalysisLine Line(const std::string& code) {
  AnalysisLine l;
  Set(l, analysis_line::LineType, static_cast<uint8_t>(code.size() == 5 ? 2 : 3));
  Set(l, analysis_line::RefCode, code);
  return l;
}

// An analysis whose sections hold these codes, with the given rows.
AnalysisRecord Analysis(const std::array<std::vector<std::string>, 4>& sections,
                        const std::array<int, 4>& rows) {
  AnalysisRecord a;
  int slot = 1;
  for (int g = 1; g <= 4; ++g) {
    Set(a, analysis::GroupRows(g), static_cast<uint8_t>(rows[g - 1]));
    Set(a, analysis::GroupCount(g), static_cast<uint8_t>(sections[g - 1].size()));
    for (size_t i = 0; i < sections[g - 1].size(); ++i)
      Set(a, analysis::Lines(slot + static_cast<int>(i)), Line(sections[g - 1][i]));
    slot += rows[g - 1];
  }
  return a;
}

std::vector<std::string> SectionCodes(const AnalysisRecord& a, int g) {
  std::vector<std::string> codes;
  const int first = SectionFirstSlot(a, g);
  for (int i = 0; i < SectionLineCount(a, g); ++i)
    codes.push_back(Get(Get(a, analysis::Lines(first + i)), analysis_line::RefCode));
  return codes;
}

TEST(MoveGroupLinesTest, MovesTheChaptersLinesAndSpreadsTheRows) {
  using V = std::vector<std::string>;
  struct Case {
    const char* name;
    std::array<V, 4> before;
    std::array<int, 4> rows;
    int newGroup;
    GroupMove result;
    std::array<V, 4> after;
    std::array<int, 4> afterRows;
  };
  const Case cases[] = {
      {"unaffected",
       {V{"02010"}, V{"03010"}, V{}, V{}},
       {3, 6, 2, 4},
       3,
       GroupMove::kUnaffected,
       {V{"02010"}, V{"03010"}, V{}, V{}},
       {3, 6, 2, 4}},
      {"moved_in_order",
       {V{"01010", "02010", "01020"}, V{"03010"}, V{}, V{"010020"}},
       {3, 6, 2, 4},
       3,
       GroupMove::kMoved,
       {V{"02010"}, V{"03010"}, V{"01010", "01020"}, V{"010020"}},
       {4, 4, 4, 3}},
      {"fills_fifteen",
       {V{"01010"}, V(11, "03010"), V{}, V{}},
       {1, 14, 0, 0},
       2,
       GroupMove::kMoved,
       {V{},
        [] {
          V v(11, "03010");
          v.push_back("01010");
          return v;
        }(),
        V{}, V{}},
       {1, 12, 1, 1}},
      {"no_room",
       {V{"01010"}, V(14, "03010"), V{}, V{}},
       {1, 14, 0, 0},
       3,
       GroupMove::kNoRoom,
       {V{"01010"}, V(14, "03010"), V{}, V{}},
       {1, 14, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnalysisRecord a = Analysis(c.before, c.rows);
    EXPECT_EQ(MoveGroupLines(a, "01", c.newGroup), c.result);
    int total = 0;
    for (int g = 1; g <= 4; ++g) {
      EXPECT_EQ(SectionCodes(a, g), c.after[g - 1]) << "group " << g;
      if (c.result == GroupMove::kMoved) {
        EXPECT_EQ(Get(a, analysis::GroupRows(g)), std::max(c.afterRows[g - 1], 1)) << g;
        EXPECT_GE(Get(a, analysis::GroupRows(g)), Get(a, analysis::GroupCount(g)));
      }
      total += Get(a, analysis::GroupRows(g));
    }
    if (c.result == GroupMove::kMoved) {
      EXPECT_EQ(total, 15);
    }
  }
}

class GroupChangeTest : public RecordOpsTest {
 protected:
  void SetUp() override {
    RecordOpsTest::SetUp();
    OpenSet("A");
    AddInputs({"01", "01010", "02", "02010"});
    AddCoded(3, "01");
  }
  int16_t AddAnalysis(const std::string& code, const std::array<std::vector<std::string>, 4>& s,
                      const std::array<int, 4>& rows) {
    AnalysisRecord a = Analysis(s, rows);
    Set(a, coded::Code, code);
    int16_t r = 0;
    AddRec(Area(3).Data, r, a.data());
    std::string key = code;
    AddKey(Area(3).Index, r, key);
    return r;
  }
};

TEST_F(GroupChangeTest, WithRoomEveryAnalysisIsRewritten) {
  const int16_t r = AddAnalysis(
      "010010", {std::vector<std::string>{"01010"}, std::vector<std::string>(5, "02010"), {}, {}},
      {3, 6, 2, 4});
  EXPECT_TRUE(ChangeChapterGroup("01", 4));
  const auto a = Read<AnalysisRecord>(3, r);
  EXPECT_EQ(SectionCodes(a, 4), std::vector<std::string>{"01010"});
  EXPECT_TRUE(SectionCodes(a, 1).empty());
  EXPECT_EQ(Area(3).SavedChangeMarker, 1);
  EXPECT_TRUE(host.Boxes().empty());
}

TEST_F(GroupChangeTest, WithoutRoomTheUserChoosesTheManualCorrection) {
  const int16_t r = AddAnalysis(
      "010010", {std::vector<std::string>{"01010"}, std::vector<std::string>(14, "02010"), {}, {}},
      {1, 14, 0, 0});
  const AnalysisRecord before = Read<AnalysisRecord>(3, r);
  host.AnswerBox(BoxAnswer::No);
  EXPECT_FALSE(ChangeChapterGroup("01", 3));
  EXPECT_FALSE(std::filesystem::exists(kTempErrorFile));
  EXPECT_FALSE(Review().active);
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_FALSE(ChangeChapterGroup("01", 3));
  EXPECT_EQ(Read<AnalysisRecord>(3, r).bytes, before.bytes);
  const auto errors = ReadErrorFile(Shell().errorFileName);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].severity, kSevContent);
  EXPECT_EQ(errors[0].targetKind, 7);
  EXPECT_EQ(errors[0].errCode, "010010");
  EXPECT_EQ(errors[0].missing, std::vector<uint8_t>{13});
  EXPECT_TRUE(Review().active);
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[0].caption, "CorreccionManual");
  EXPECT_EQ(host.Boxes()[0].text.substr(0, 62),
            "Algunos Analisis Unitarios requieren la eliminacion de un Item");
}

TEST(GeneralDataAiuTest, TheModeDecidesWhereTheSumGoes) {
  struct Case {
    int16_t mode;
    long double perItem, atEnd;
  };
  for (const Case& c : {Case{1, 25, 0}, Case{2, 0, 25}}) {
    SCOPED_TRACE(c.mode);
    GeneralDataRecord g;
    Set(g, general::AiuMode, c.mode);
    Set(g, general::AdminPct, 10);
    Set(g, general::ImprevistosPct, 5);
    Set(g, general::UtilidadPct, 10);
    Set(g, general::AiuAtEnd, 99);
    Set(g, general::AiuPerItem, 99);
    DeriveAiu(g);
    EXPECT_EQ(Get(g, general::AiuPerItem), c.perItem);
    EXPECT_EQ(Get(g, general::AiuPerItemForSubcontracts), c.perItem);
    EXPECT_EQ(Get(g, general::AiuAtEnd), c.atEnd);
  }
}

}  // namespace
}  // namespace vantu
