// The content and cross reviews: the error entries they write, the
// references they repair, the circular analyses, and that nothing is
// calculated while an error remains.
#include <gtest/gtest.h>

#include "calc/calc_fixture.h"

namespace vantu::test {
namespace {

class ReviewTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    InputChapter("01", 1);
    tool = Input("01010", 50);
    AnalysisChapter("01");
  }
  static std::string Describe(const ErrorEntry& e) {
    std::string s = std::to_string(e.severity) + "/" + std::to_string(e.targetKind) + "/[" +
                    e.errCode + "]/" + std::to_string(e.nameIndex) + "/";
    if (e.severity == kSevContent)
      for (uint8_t m : e.missing) s += std::to_string(m) + ",";
    else
      s += "[" + e.detailsText + "]/" + std::to_string(e.variant);
    return s;
  }
  std::vector<std::string> Described() {
    std::vector<std::string> out;
    for (const ErrorEntry& e : Errors()) out.push_back(Describe(e));
    return out;
  }
  int16_t tool = 0;
};

TEST_F(ReviewTest, ContentErrorsListWhatEachRecordLacks) {
  Set(general, general::RamaName, "");
  WriteGeneral(general);
  WriteObraHeader("Edificio", "", "dd/mm/aa");
  Input("01020", 0, "");                  // no unit, no price
  InputChapter("02", 0);                  // no group
  Analysis("010010", {});                 // no lines
  Analysis("010020", {{1, 2, tool, 0}});  // a line without quantity
  SubcontractChapter("01");
  Subcontract("01010", {0, 0, 0, 0});
  BudgetChapter("01");
  const int16_t an = Analysis("010030", {{1, 2, tool, 1}});
  Item("01010", 3, an, 0);
  Item("01020", 3, an, 0, true);  // quantity still to be defined: no error
  const RunOutcome out = Run();
  EXPECT_EQ(Described(), (std::vector<std::string>{
                             "0/1/[ ---- ]/0/7,9,10,",
                             "0/2/[01020 ]/2/1,2,",
                             "0/2/[02    ]/1/5,",
                             "0/3/[010010]/2/3,",
                             "0/3/[010020]/2/6,",
                             "0/4/[01010 ]/2/3,",
                             "0/6/[01010 ]/2/4,",
                         }));
  EXPECT_EQ(out.contentErrors, 7);
  EXPECT_EQ(out.crossErrors, 0);
  EXPECT_FALSE(out.closed);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, an), analysis::DirectCost), 0) << "no calculation";
  EXPECT_EQ(Area(3).SavedChangeMarker, 1);
}

TEST_F(ReviewTest, ReferencesFollowRecodifiedAndRecreatedRecords) {
  const int16_t other = Input("01020", 20);
  const int16_t an = Analysis("010010", {{1, 2, tool, 1}, {1, 2, other, 1}});
  // 01010 recodified to 01015: same record, same stamp, new code.
  InputRecord moved = Read<InputRecord>(2, tool);
  Set(moved, coded::Code, "01015");
  PutRec(Area(2).Data, tool, moved.data());
  int16_t r = tool;
  std::string key = "01010";
  DeleteKey(Area(2).Index, r, key);
  key = "01015";
  AddKey(Area(2).Index, tool, key);
  // 01020 deleted and created anew: same code, another record and stamp.
  r = other;
  key = "01020";
  DeleteKey(Area(2).Index, r, key);
  DeleteRec(Area(2).Data, other);
  const int16_t again = Input("01020", 20);

  // A budget item of an analysis deleted and created anew under its code.
  const int16_t gone = Analysis("010020", {{1, 2, tool, 1}});
  BudgetChapter("01");
  const int16_t item = Item("01010", 3, gone, 2);
  r = gone;
  key = "010020";
  DeleteKey(Area(3).Index, r, key);
  DeleteRec(Area(3).Data, gone);
  Analysis("010030", {{1, 2, tool, 1}});  // may take the freed record
  const int16_t anew = Analysis("010020", {{1, 2, tool, 1}});
  ASSERT_NE(anew, gone);

  ASSERT_TRUE(Run().closed) << (Errors().empty() ? "" : Describe(Errors()[0]));
  const BudgetRecord b = Read<BudgetRecord>(6, item);
  EXPECT_EQ(Get(b, budget_item::RefCode), "010020");
  EXPECT_EQ(Get(b, budget_item::RefRecNo), anew);
  EXPECT_EQ(Get(b, budget_item::RefStamp), Get(Read<AnalysisRecord>(3, anew), coded::RecordStamp));
  const auto a = Read<AnalysisRecord>(3, an);
  const AnalysisLine l1 = Get(a, analysis::Lines(1));
  const AnalysisLine l2 = Get(a, analysis::Lines(2));
  EXPECT_EQ(Get(l1, analysis_line::RefCode), "01015");
  EXPECT_EQ(Get(l1, analysis_line::RefRecNo), tool);
  EXPECT_EQ(Get(l2, analysis_line::RefRecNo), again);
  EXPECT_EQ(Get(l2, analysis_line::RefStamp), Get(Read<InputRecord>(2, again), coded::RecordStamp));
}

TEST_F(ReviewTest, ARepairedLineIsPricedFromTheRecordItNowNames) {
  // 01020 deleted, its record taken by 01030, and 01020 created anew
  // elsewhere at another price: the line repaired by the review must be
  // priced from the new 01020 in the same run, not from the old number.
  const int16_t old = Input("01020", 20);
  const int16_t an = Analysis("010010", {{1, 2, old, 3}});
  int16_t r = old;
  std::string key = "01020";
  DeleteKey(Area(2).Index, r, key);
  DeleteRec(Area(2).Data, old);
  const int16_t filler = Input("01030", 7);
  const int16_t anew = Input("01020", 40);
  ASSERT_NE(anew, old);
  const int16_t direct = Analysis("010020", {{1, 2, anew, 3}});
  const int16_t wrong = Analysis("010030", {{1, 2, filler, 3}});
  ASSERT_TRUE(Run().closed) << (Errors().empty() ? "" : Describe(Errors()[0]));
  const auto cost = [&](int16_t a) {
    return Get(Read<AnalysisRecord>(3, a), analysis::DirectCost);
  };
  EXPECT_EQ(Get(Get(Read<AnalysisRecord>(3, an), analysis::Lines(1)), analysis_line::RefRecNo),
            anew);
  EXPECT_EQ(cost(an), cost(direct));
  EXPECT_NE(cost(an), cost(wrong));
}

TEST_F(ReviewTest, BrokenReferencesAreErrors) {
  const int16_t gone = Input("01020", 20);
  const int16_t an = Analysis("010010", {{1, 2, tool, 1}, {1, 2, gone, 1}, {1, 5, 9, 1}});
  SubcontractChapter("01");
  const int16_t sub = Subcontract("01010", {1, 0, 0, 0});
  BudgetChapter("01");
  Item("01010", 4, sub, 1);
  Item("01020", 3, an, 1);
  int16_t r = gone;
  std::string key = "01020";
  DeleteKey(Area(2).Index, r, key);
  DeleteRec(Area(2).Data, gone);
  r = sub;
  key = "01010";
  DeleteKey(Area(4).Index, r, key);
  DeleteRec(Area(4).Data, sub);
  const RunOutcome out = Run();
  EXPECT_EQ(Described(), (std::vector<std::string>{
                             "0/3/[010010]/2/12,",  // the global price is missing too
                             "1/3/[010010]/2/[01020 ]/0",
                             "1/3/[010010]/5/[0009  ]/0",
                             "1/6/[01010 ]/4/[01010 ]/0",
                         }));
  EXPECT_EQ(out.contentErrors, 1);
  EXPECT_EQ(out.crossErrors, 3);
  EXPECT_FALSE(out.closed);
}

TEST_F(ReviewTest, CircularAnalysesAndTheirUsersAreReported) {
  const int16_t a = Analysis("010010", {{1, 2, tool, 1}});
  const int16_t b = Analysis("010020", {{2, 3, a, 1}});
  const int16_t c = Analysis("010030", {{2, 3, a, 1}});
  Analysis("010040", {{2, 3, c, 1}, {2, 3, b, 1}}, 0, 0);
  SetLines(a, {{1, 2, tool, 1}, {2, 3, b, 1}});  // A -> B -> A
  // D uses C and B; C uses A: all lead into the cycle.
  const RunOutcome out = Run();
  EXPECT_EQ(Described(), (std::vector<std::string>{
                             "1/3/[010010]/0/[------]/1",
                             "1/3/[010020]/0/[------]/1",
                             "1/3/[010030]/0/[------]/1",
                             "1/3/[010040]/0/[------]/1",
                         }));
  EXPECT_FALSE(out.closed);
  EXPECT_EQ(Get(Read<AnalysisRecord>(3, a), analysis::DirectCost), 0);
}

TEST(CircularityTest, PairsLeftAreThoseThatNeverEnd) {
  using Pairs = std::vector<std::pair<int16_t, int16_t>>;
  struct Case {
    const char* name;
    Pairs pairs;
    std::vector<int16_t> expected;
  };
  const Case cases[] = {
      {"a chain ends", {{2, 3}, {3, 4}, {5, 2}}, {}},
      {"a pair of analyses", {{2, 3}, {3, 2}}, {2, 3}},
      {"one that only leads in", {{2, 3}, {3, 2}, {4, 2}}, {2, 3, 4}},
      {"one that refers to itself", {{7, 7}}, {7}},
      {"record 1 on a cycle is reported too", {{1, 2}, {2, 1}}, {1, 2}},
      {"a broken reference ends the chain", {{2, 0}, {3, 2}}, {}},
      {"a cycle beside a chain", {{2, 5}, {3, 4}, {4, 3}, {6, 2}}, {3, 4}},
  };
  for (const Case& c : cases) EXPECT_EQ(CircularAnalyses(c.pairs), c.expected) << c.name;
}

}  // namespace
}  // namespace vantu::test
