// The usage check on a generated set: who uses an input, an analysis or a
// subcontract, and what each answer of the warning box does.
#include "records/usage_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "record_ops_fixture.h"

namespace vantu {
namespace {

using test::RecordOpsTest;

class UsageCheckTest : public RecordOpsTest {
 protected:
  void SetUp() override {
    RecordOpsTest::SetUp();
    GenerateDataset(SmallShape());
    OpenSet("A", "01");
  }
  // Users of `code` of `area` found by reading every analysis line (for
  // inputs and analyses) and every budget item (for analyses and
  // subcontracts): a subcontract shares the 5-digit shape of an input.
  std::set<std::string> UsersByScan(int area, const std::string& code) {
    std::set<std::string> users;
    for (const IndexEntry& e : Entries(3)) {
      if (area == 4) break;
      if (e.key.size() != kAnalysisCodeLength) continue;
      const auto a = Read<AnalysisRecord>(3, e.record);
      for (int s = 1; s <= analysis::kLineSlots; ++s) {
        const AnalysisLine l = Get(a, analysis::Lines(s));
        if (Get(l, analysis_line::LineType) != 0 && Get(l, analysis_line::RefCode) == code)
          users.insert(e.key);
      }
    }
    if (area == 2) return users;
    for (const IndexEntry& e : Entries(6)) {
      if (e.key.size() == 2) continue;
      if (Get(Read<BudgetRecord>(6, e.record), budget_item::RefCode) == code) users.insert(e.key);
    }
    return users;
  }
  // The first item code of an area that the scan finds in use.
  std::string UsedCode(int area) {
    for (const IndexEntry& e : Entries(area))
      if (e.key.size() > 2 && !UsersByScan(area, e.key).empty()) return e.key;
    return {};
  }
};

TEST_F(UsageCheckTest, WarningsNameEveryUserOfTheCode) {
  for (int area : {2, 3, 4}) {
    SCOPED_TRACE("area " + std::to_string(area));
    const std::string code = UsedCode(area);
    ASSERT_FALSE(code.empty());
    std::set<std::string> named;
    for (const ErrorEntry& e : UsageWarnings(area, code)) {
      std::string user = e.errCode;
      while (user.back() == ' ') user.pop_back();
      named.insert(user);
      EXPECT_EQ(e.severity, kSevWarning);
      EXPECT_EQ(e.targetKind, user.size() == 6 ? 8 : 9);
      EXPECT_EQ(e.variant, 2);
      EXPECT_EQ(e.detailsText, PadCode6(code));
    }
    EXPECT_EQ(named, UsersByScan(area, code));
  }
}

TEST_F(UsageCheckTest, TheAnswerDecidesBetweenReviewDeletionAndNothing) {
  const std::string code = UsedCode(2);
  struct Case {
    const char* name;
    BoxAnswer answer;
    bool blocked;
    bool review;
  };
  const Case cases[] = {{"no_goes_on", BoxAnswer::No, false, false},
                        {"cancel_blocks", BoxAnswer::Cancel, true, false},
                        {"yes_reviews", BoxAnswer::Yes, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Shell().errorFileName);
    host.AnswerBox(c.answer);
    EXPECT_EQ(CheckUsage(2, code), c.blocked);
    EXPECT_EQ(Review().active, c.review);
    const auto warnings = UsageWarnings(2, code);
    if (c.review) {
      EXPECT_FALSE(std::filesystem::exists(kTempErrorFile));
      EXPECT_EQ(ReadErrorFile(Shell().errorFileName).size(), warnings.size());
      EXPECT_EQ(Review().errorCount, static_cast<int16_t>(warnings.size()));
    } else {
      EXPECT_EQ(ReadErrorFile(kTempErrorFile).size(), warnings.size());
    }
  }
  EXPECT_EQ(host.Boxes().back().caption, "Advertencia Eliminacion");
  EXPECT_EQ(host.Boxes().back().text,
            "Este Basico es utilizado en los Analisis Unitarios\r\r"
            "Desea conocer ahora donde se utiliza ?");
}

TEST_F(UsageCheckTest, AnUnusedCodeAsksNothing) {
  const std::string code = UsedCode(4);
  CloseWorkArea(6);  // without the Obra a subcontract has no users
  EXPECT_FALSE(CheckUsage(4, code));
  EXPECT_TRUE(host.Boxes().empty());
  EXPECT_TRUE(std::filesystem::exists(kTempErrorFile));
}

}  // namespace
}  // namespace vantu
