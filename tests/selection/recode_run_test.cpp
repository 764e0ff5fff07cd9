// Recodification of generated sets: the same records in the same order,
// with even codes, references following their records, sound indexes.
#include <algorithm>
#include <filesystem>
#include <random>

#include "records/codes.h"
#include "selection/recode_fixture.h"
#include "selection/recode_plan.h"

namespace vantu::test {
namespace {

class RecodeRunTest : public RecodeTest {};

TEST_F(RecodeRunTest, RecodifiedSetKeepsRecordsOrderAndReferences) {
  struct Case {
    const char* name;
    RecodeParams params;
  };
  const Case cases[] = {{"defaults", {0, 1, 10}}, {"spread", {3, 4, 7}}, {"tight", {1, 1, 1}}};
  Generate(SmallShape());
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::map<int, FileImage> before;
    std::map<int, std::vector<int16_t>> order;
    for (int n : CodedFiles()) before[n] = Image(n), order[n] = RecordsInOrder(n);
    ASSERT_EQ(RunRecodification(kRecodeIdle, c.params), 0);
    EXPECT_EQ(FindRecodePhase(dataDir.string(), "A01"), kRecodeIdle);
    for (int n : CodedFiles()) {
      SCOPED_TRACE("file " + std::to_string(n));
      const FileImage after = Image(n);
      ASSERT_EQ(after.size(), before[n].size());
      for (const auto& [r, img] : after) {
        // Apart from its codes every record is what it was, and names the
        // same records: listings and totals come out the same.
        EXPECT_EQ(img.bytes, before[n][r].bytes) << "record " << r;
        EXPECT_EQ(img.refs, before[n][r].refs) << "record " << r;
      }
      EXPECT_EQ(RecordsInOrder(n), order[n]);
      const auto codes = CodesInOrder(n);
      const int digits = n == 3 ? 4 : 3;
      EXPECT_EQ(PlanRenumbering(codes, digits, c.params).codes, codes) << "codes not even";
    }
    ExpectIndexesMatchData();
    ExpectReferencesResolve();
  }
}

TEST_F(RecodeRunTest, ChaptersOneTwoSevenBecomeOneTwoThree) {
  Open();
  for (const char* code : {"01", "01005", "01007", "02", "02001", "07", "07100"}) AddCoded(2, code);
  ASSERT_EQ(RunRecodification(kRecodeIdle, {0, 1, 10}), 0);
  const std::vector<std::string> expected = {"01", "01010", "01020", "02", "02010", "03", "03010"};
  EXPECT_EQ(CodesInOrder(2), expected);
  for (int n : {2, 3, 4, 6}) {
    EXPECT_EQ(Area(n).Data.isOpen, true);
  }
  EXPECT_EQ(Area(2).CurrentRecord, Find(2, "01"));
  EXPECT_EQ(Markers(2, "A").first, 1) << "the calculation must review the file";
}

// Records stored in no relation to their codes, more than one read of the
// file holds: codes that shrink and codes that grow are written to the
// right records, in the order the codes keep.
TEST_F(RecodeRunTest, RecordsStoredOutOfCodeOrderTakeTheirNewCodes) {
  Open();
  std::vector<std::string> codes;
  for (int c = 1; c <= 17; c += 2) {
    codes.push_back(ZeroPadded(c, 2));
    for (int i = 1; i <= 330; ++i) codes.push_back(ZeroPadded(c, 2) + ZeroPadded(3 * i, 3));
  }
  std::vector<std::string> stored = codes;
  std::shuffle(stored.begin(), stored.end(), std::mt19937(7));
  for (const std::string& code : stored) AddCoded(2, code);
  const std::vector<int16_t> order = RecordsInOrder(2);
  for (const RecodeParams& p : {RecodeParams{0, 1, 1}, RecodeParams{2, 2, 3}}) {
    SCOPED_TRACE("first chapter " + std::to_string(p.firstChapter));
    ASSERT_EQ(RunRecodification(kRecodeIdle, p), 0);
    EXPECT_EQ(RecordsInOrder(2), order);
    EXPECT_EQ(CodesInOrder(2), PlanRenumbering(codes, 3, p).codes);
    ExpectIndexesMatchData();
  }
}

TEST_F(RecodeRunTest, AnalysisLineFollowsItsInputToItsNewCode) {
  Open();
  AddCoded(2, "01");
  const int16_t input = AddCoded(2, "01005");
  AddCoded(3, "01");
  const int16_t analysis = AddCoded(3, "010010");
  const InputRecord in = Read<InputRecord>(2, input);
  AnalysisRecord a = Read<AnalysisRecord>(3, analysis);
  SetDefaultSections(a);
  Set(a, analysis::GroupCount(1), 1);
  AnalysisLine line;
  Set(line, analysis_line::LineType, 2);
  Set(line, analysis_line::RefCode, "01005");
  Set(line, analysis_line::RefRecNo, input);
  Set(line, analysis_line::RefStamp, Get(in, coded::RecordStamp));
  Set(a, analysis::Lines(1), line);
  PutRec(Area(3).Data, analysis, a.data());

  ASSERT_EQ(RunRecodification(kRecodeIdle, {0, 1, 10}), 0);
  const AnalysisLine after = Get(Read<AnalysisRecord>(3, analysis), analysis::Lines(1));
  EXPECT_EQ(Get(after, analysis_line::RefCode), "01010");
  EXPECT_EQ(Get(after, analysis_line::RefRecNo), input);
  ExpectReferencesResolve();
}

// A reference whose number was reused by another record is not moved to
// whatever record now carries its old code; it follows its stamp.
TEST_F(RecodeRunTest, StaleReferenceFollowsItsStampNotItsOldCode) {
  Open();
  AddCoded(3, "01");
  AddCoded(3, "010005");                       // becomes 010010, the line's old code
  const int16_t used = AddCoded(3, "010010");  // becomes 010020
  const int16_t owner = AddCoded(3, "010090");
  const int16_t reused = AddCoded(3, "010095");  // the number the line kept
  const long double usedStamp = Get(Read<AnalysisRecord>(3, used), coded::RecordStamp);
  AnalysisRecord a = Read<AnalysisRecord>(3, owner);
  SetDefaultSections(a);
  Set(a, analysis::GroupCount(1), 1);
  AnalysisLine line;
  Set(line, analysis_line::LineType, 3);
  Set(line, analysis_line::RefCode, "010010");
  Set(line, analysis_line::RefRecNo, reused);
  Set(line, analysis_line::RefStamp, usedStamp);
  Set(a, analysis::Lines(1), line);
  PutRec(Area(3).Data, owner, a.data());

  ASSERT_EQ(RunRecodification(kRecodeIdle, {0, 1, 10}), 0);
  const AnalysisLine after = Get(Read<AnalysisRecord>(3, owner), analysis::Lines(1));
  EXPECT_EQ(Get(after, analysis_line::RefRecNo), used);
  EXPECT_EQ(Get(after, analysis_line::RefCode), "010020");
}

TEST_F(RecodeRunTest, GlobalPricesTakeTheirAnalysisNewCode) {
  Generate(SmallShape());
  Open();
  ASSERT_EQ(RunRecodification(kRecodeIdle, {2, 3, 3}), 0);
  int checked = 0;
  for (const auto& [r, img] : Image(3)) {
    const AnalysisRecord a = Read<AnalysisRecord>(3, r);
    for (int slot = 1; slot <= analysis::kLineSlots; ++slot) {
      const AnalysisLine line = Get(a, analysis::Lines(slot));
      if (Get(line, analysis_line::LineType) != 5) continue;
      GlobalPriceRecord g;
      GetRec(Area(5).Data, Get(line, analysis_line::RefRecNo), g.data());
      EXPECT_EQ(Get(g, global_price::OwnerCode), img.code);
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

TEST_F(RecodeRunTest, CodesThatWouldRunOutChangeNothing) {
  Open();
  AddCoded(2, "01");
  for (int i = 1; i <= 999; ++i) AddCoded(2, "01" + ZeroPadded(i, 3));
  AddCoded(2, "02001");  // a thousandth item after chapter 01, without its chapter
  CloseSet();
  const auto before = FileBytes("Apr02dat.A");
  const auto indexBefore = FileBytes("Apr02ixc.A");
  Open();
  EXPECT_EQ(RunRecodification(kRecodeIdle, {0, 1, 10}), 2);
  EXPECT_EQ(FindRecodePhase(dataDir.string(), "A01"), kRecodeIdle);
  CloseSet();
  EXPECT_EQ(FileBytes("Apr02dat.A"), before);
  EXPECT_EQ(FileBytes("Apr02ixc.A"), indexBefore);
}

}  // namespace
}  // namespace vantu::test
