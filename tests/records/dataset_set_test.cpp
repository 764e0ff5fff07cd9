// Generated sets: they reopen with the counts asked for, every reference
// resolves, headers carry the calculation markers, and the same shape gives
// the same bytes.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "dataset_fixture.h"
#include "toolkit/numbers.h"

namespace vantu {
namespace {

using dataset::DatasetShape;
using dataset::GenerateDataset;
using test::DatasetTest;

class DatasetSetTest : public DatasetTest {
 protected:
  // Every line of every analysis item, with the section it stands in.
  void ForEachLine(const std::function<void(const AnalysisRecord&, int16_t, int group,
                                            const AnalysisLine&)>& visit) {
    for (const IndexEntry& e : Entries(3)) {
      if (e.key.size() != kAnalysisCodeLength) continue;
      const auto a = Read<AnalysisRecord>(3, e.record);
      for (int g = 1; g <= analysis::kGroups; ++g) {
        const int first = SectionFirstSlot(a, g);
        for (int s = first; s < first + SectionLineCount(a, g); ++s)
          visit(a, e.record, g, Get(a, analysis::Lines(s)));
      }
    }
  }
};

TEST_F(DatasetSetTest, ReopensWithTheCountsAskedFor) {
  struct Case {
    const char* name;
    std::function<void(DatasetShape&)> adjust;
  };
  const Case cases[] = {
      {"obra", [](DatasetShape&) {}},
      {"rama_only", [](DatasetShape& s) { s.rama = "B", s.obra = ""; }},
      {"calculated_aiu_at_end",
       [](DatasetShape& s) { s.rama = "C", s.calculated = true, s.aiuMode = 2; }},
      {"smallest",
       [](DatasetShape& s) {
         s.rama = "D", s.inputRecords = 8, s.analysisRecords = 2, s.subcontractRecords = 0;
         s.globalRecords = 1, s.budgetRecords = 2;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DatasetShape shape = SmallShape();
    c.adjust(shape);
    GenerateDataset(shape);
    OpenSet(shape.rama, shape.obra);
    const int expected[7] = {0,
                             1,
                             shape.inputRecords,
                             shape.analysisRecords,
                             shape.subcontractRecords,
                             shape.globalRecords,
                             shape.budgetRecords};
    for (int n = 1; n <= (shape.obra.empty() ? 5 : 6); ++n) {
      SCOPED_TRACE("file " + std::to_string(n));
      EXPECT_FALSE(Area(n).CreatedAnew);
      EXPECT_FALSE(Area(n).indexRebuilt);
      EXPECT_EQ(UsedRecordCount(Area(n).Data), expected[n]);
      if (Area(n).FileKind != kIndexedFile) continue;
      const auto entries = Entries(n);
      EXPECT_EQ(static_cast<int>(entries.size()), expected[n]);
      for (const IndexEntry& e : entries) {
        ASSERT_TRUE(WellFormedCode(e.key)) << e.key;
        EXPECT_NE(ClassifyCode(e.key, n), CodeKind::kInvalid) << e.key;
        EXPECT_GT(Find(n, ChapterOf(e.key)), 0) << "chapter of " << e.key;
        std::vector<uint8_t> record(static_cast<size_t>(Area(n).RecordLength));
        GetRec(Area(n).Data, e.record, record.data());
        EXPECT_EQ(ReadStr(record.data() + kRecordCode, 6), e.key);
      }
    }
    CloseSet();
  }
}

TEST_F(DatasetSetTest, AnalysisLinesResolveWithoutCycles) {
  GenerateDataset(SmallShape());
  OpenSet("A", "01");
  std::map<int16_t, std::vector<int16_t>> nests;
  int kinds[6] = {};
  ForEachLine([&](const AnalysisRecord& a, int16_t r, int group, const AnalysisLine& line) {
    const std::string code = Get(line, analysis_line::RefCode);
    const int16_t target = Get(line, analysis_line::RefRecNo);
    const long double stamp = Get(line, analysis_line::RefStamp);
    const uint8_t type = Get(line, analysis_line::LineType);
    ++kinds[type];
    EXPECT_EQ(static_cast<uint8_t>(ClassifyLineCode(code)), type) << code;
    switch (static_cast<LineType>(type)) {
      case LineType::kInput: {
        ExpectReference<InputRecord>(2, code, target, stamp);
        const auto chapter = Read<InputRecord>(2, Find(2, ChapterOf(code)));
        EXPECT_EQ(ChapterGroup(chapter), group) << "input " << code << " in section " << group;
        EXPECT_GT(Get(line, analysis_line::Quantity), 0);
        break;
      }
      case LineType::kAnalysis:
        ExpectReference<AnalysisRecord>(3, code, target, stamp);
        EXPECT_NE(target, r);
        nests[r].push_back(target);
        break;
      case LineType::kGlobal: {
        const auto price = Read<GlobalPriceRecord>(5, target);
        EXPECT_EQ(Get(price, global_price::OwnRecNo), target);
        EXPECT_EQ(Get(price, global_price::OwnerCode), Get(a, coded::Code));
        EXPECT_GT(Get(price, global_price::GlobalPrice), 0);
        break;
      }
      case LineType::kEmpty:
        ADD_FAILURE() << "empty line inside a section of " << Get(a, coded::Code);
    }
  });
  EXPECT_GT(kinds[2], 0);
  EXPECT_GT(kinds[3], 0);
  EXPECT_EQ(kinds[5], SmallShape().globalRecords);

  // Depth-first walk: a nested analysis met again on the current path is a cycle.
  std::map<int16_t, int> state;  // 1 on the path, 2 done
  std::function<int(int16_t)> depth = [&](int16_t r) -> int {
    if (state[r] == 1) {
      ADD_FAILURE() << "cycle through record " << r;
      return 0;
    }
    if (state[r] == 2) return 0;
    state[r] = 1;
    int d = 0;
    for (int16_t n : nests[r]) d = std::max(d, 1 + depth(n));
    state[r] = 2;
    return d;
  };
  for (const auto& [r, targets] : nests) EXPECT_LE(depth(r), 2) << "record " << r;
}

TEST_F(DatasetSetTest, BudgetItemsReferToExistingRecords) {
  GenerateDataset(SmallShape());
  OpenSet("A", "01");
  std::set<int> types;
  for (const IndexEntry& e : Entries(6)) {
    if (e.key.size() != kItemCodeLength) continue;
    const auto item = Read<BudgetRecord>(6, e.record);
    const std::string code = Get(item, budget_item::RefCode);
    const int16_t target = Get(item, budget_item::RefRecNo);
    const long double stamp = Get(item, budget_item::RefStamp);
    const uint8_t type = Get(item, budget_item::RefType);
    types.insert(type);
    if (type == budget_item::kRefAnalysis) {
      ExpectReference<AnalysisRecord>(3, code, target, stamp);
      EXPECT_EQ(Get(item, budget_item::Description),
                Get(Read<AnalysisRecord>(3, target), analysis::Description));
    } else if (type == budget_item::kRefSubcontract) {
      ExpectReference<SubcontractRecord>(4, code, target, stamp);
    } else {
      EXPECT_EQ(type, budget_item::kRefGlobal) << e.key;
      EXPECT_EQ(code, kGlobalCode);
      EXPECT_GT(Get(item, budget_item::Quantity), 0);
    }
  }
  EXPECT_EQ(types, (std::set<int>{3, 4, 5}));
}

TEST_F(DatasetSetTest, HeadersCarryTheCalculationMarkers) {
  struct Case {
    const char* name;
    bool calculated;
    int16_t generation;
    int marker, serial;
  };
  const Case cases[] = {
      {"uncalculated", false, 1, 1, 0},
      {"calculated", true, 37, 0, 37},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DatasetShape shape = SmallShape();
    shape.calculated = c.calculated;
    shape.generation = c.generation;
    const auto summary = GenerateDataset(shape);
    for (int n = 1; n <= 6; ++n) {
      SCOPED_TRACE("file " + std::to_string(n));
      EXPECT_EQ(Markers(n, n == 6 ? "A01" : "A"), std::make_pair(c.marker, c.serial));
    }
    OpenSet("A", "01");
    const auto prices = Read<GlobalPriceHeader>(5, 0);
    EXPECT_EQ(Get(prices, global_price_header::HighestRecNo), shape.globalRecords);
    EXPECT_EQ(Get(prices, global_price_header::FirstFree), 0);
    const auto obra = Read<ObraHeader>(6, 0);
    EXPECT_EQ(Get(obra, obra_header::ObraName), "Conjunto residencial Los Almendros");
    EXPECT_EQ(Get(obra, obra_header::BudgetItemsTotal), summary.budgetTotal);
    // The items' totals, summed in key order, are the Obra's total; each
    // chapter's total is the sum of its own items.
    long double items = 0, chapter = 0;
    int16_t open = 0;
    auto closeChapter = [&] {
      if (open != 0) {
        EXPECT_EQ(Get(Read<BudgetRecord>(6, open), budget_chapter::ChapterTotal), chapter);
      }
    };
    for (const IndexEntry& e : Entries(6)) {
      const auto rec = Read<BudgetRecord>(6, e.record);
      if (e.key.size() == kChapterCodeLength) {
        closeChapter();
        open = e.record, chapter = 0;
        continue;
      }
      chapter += Get(rec, budget_item::ItemTotal);
      items += Get(rec, budget_item::ItemTotal);
    }
    closeChapter();
    EXPECT_EQ(items, summary.budgetTotal);
    EXPECT_EQ(summary.budgetTotal > 0, c.calculated);
    CloseSet();
  }
}

TEST_F(DatasetSetTest, CalculatedSetStampsWhatTheBudgetUses) {
  DatasetShape shape = SmallShape();
  shape.calculated = true;
  shape.generation = 5;
  GenerateDataset(shape);
  OpenSet("A", "01");
  // What the budget reaches, nested analyses included.
  std::set<int16_t> analyses, inputs;
  std::function<void(int16_t)> use = [&](int16_t r) {
    if (!analyses.insert(r).second) return;
    const auto a = Read<AnalysisRecord>(3, r);
    for (int s = 1; s <= analysis::kLineSlots; ++s) {
      const auto line = Get(a, analysis::Lines(s));
      const uint8_t type = Get(line, analysis_line::LineType);
      if (type == 2) inputs.insert(Get(line, analysis_line::RefRecNo));
      if (type == 3) use(Get(line, analysis_line::RefRecNo));
    }
  };
  for (const IndexEntry& e : Entries(6)) {
    const auto item = Read<BudgetRecord>(6, e.record);
    if (e.key.size() == kItemCodeLength && Get(item, budget_item::RefType) == 3)
      use(Get(item, budget_item::RefRecNo));
  }
  for (const IndexEntry& e : Entries(3)) {
    if (e.key.size() != kAnalysisCodeLength) continue;
    SCOPED_TRACE(e.key);
    const auto a = Read<AnalysisRecord>(3, e.record);
    EXPECT_EQ(Get(a, coded::CalcStamp), analyses.count(e.record) ? 5 : -5);
    const long double direct = Get(a, analysis::DirectCost);
    EXPECT_GT(direct, 0);
    EXPECT_EQ(direct, Get(a, analysis::EquiposCost) + Get(a, analysis::MaterialesWithWaste) +
                          Get(a, analysis::TransportesCost) + Get(a, analysis::ManoDeObraCost));
    EXPECT_EQ(Get(a, analysis::UnitPrice), RoundMoney(direct * 1.2L));
  }
  for (const IndexEntry& e : Entries(2)) {
    if (e.key.size() != kItemCodeLength) continue;
    const auto in = Read<InputRecord>(2, e.record);
    EXPECT_EQ(Get(in, coded::CalcStamp), inputs.count(e.record) ? 5 : 0) << e.key;
    if (!inputs.count(e.record)) {
      EXPECT_EQ(Get(in, input::RequiredQuantity), 0) << e.key;
    }
  }
}

TEST_F(DatasetSetTest, SameShapeSameBytes) {
  const char* files[] = {"Apr01dat.A", "Apr02dat.A", "Apr03dat.A",   "Apr03ixc.A",
                         "Apr04dat.A", "Apr05dat.A", "Apr06dat.A01", "Apr06ixc.A01"};
  DatasetShape shape = SmallShape();
  shape.calculated = true;
  shape.directory = (dataDir / "one").string();
  GenerateDataset(shape);
  shape.directory = (dataDir / "two").string();
  GenerateDataset(shape);
  shape.directory = (dataDir / "seed").string();
  shape.seed += 1;
  GenerateDataset(shape);
  for (const char* f : files) {
    SCOPED_TRACE(f);
    const auto one = FileBytes(std::string("one/") + f);
    EXPECT_FALSE(one.empty());
    EXPECT_EQ(one, FileBytes(std::string("two/") + f));
  }
  EXPECT_NE(FileBytes("one/Apr03dat.A"), FileBytes("seed/Apr03dat.A"));
}

TEST_F(DatasetSetTest, TextUsesOnlyEnyeBeyondAscii) {
  GenerateDataset(SmallShape());
  OpenSet("A", "01");
  int enye = 0;
  auto check = [&](const std::string& text) {
    for (unsigned char ch : text) {
      if (ch == 241 || ch == 209)
        ++enye;
      else
        EXPECT_TRUE(ch >= 32 && ch < 127) << "byte " << int(ch) << " in " << text;
    }
  };
  for (const IndexEntry& e : Entries(2))
    check(Get(Read<InputRecord>(2, e.record), input::Description));
  for (const IndexEntry& e : Entries(3))
    check(Get(Read<AnalysisRecord>(3, e.record), analysis::Description));
  for (const IndexEntry& e : Entries(4))
    check(Get(Read<SubcontractRecord>(4, e.record), subcontract::Description));
  EXPECT_GT(Find(2, "02"), 0);
  EXPECT_GT(enye, 0);
  // The materials chapter starts with the catalog's first materials.
  const auto arena = Read<InputRecord>(2, Find(2, "02020"));
  EXPECT_EQ(Get(arena, input::Description),
            "Arena de pe\xF1"
            "a");
}

TEST_F(DatasetSetTest, ShapesOutsideTheLimitsThrowBeforeWriting) {
  struct Case {
    const char* name;
    std::function<void(DatasetShape&)> adjust;
  };
  const Case cases[] = {
      {"no_directory", [](DatasetShape& s) { s.directory.clear(); }},
      {"long_rama", [](DatasetShape& s) { s.rama = "AB"; }},
      {"short_obra", [](DatasetShape& s) { s.obra = "1"; }},
      {"too_few_inputs", [](DatasetShape& s) { s.inputRecords = 7; }},
      {"too_many_analyses", [](DatasetShape& s) { s.analysisRecords = dataset::kMaxRecords + 1; }},
      {"one_subcontract", [](DatasetShape& s) { s.subcontractRecords = 1; }},
      {"globals_beyond_two_per_analysis",
       [](DatasetShape& s) { s.analysisRecords = 2, s.globalRecords = 3; }},
      {"budget_of_one", [](DatasetShape& s) { s.budgetRecords = 1; }},
      {"generation_zero", [](DatasetShape& s) { s.generation = 0; }},
      {"aiu_mode_three", [](DatasetShape& s) { s.aiuMode = 3; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DatasetShape shape = SmallShape();
    c.adjust(shape);
    EXPECT_THROW(GenerateDataset(shape), std::invalid_argument);
    EXPECT_TRUE(std::filesystem::is_empty(dataDir));
  }
  DatasetShape edge = SmallShape();
  edge.analysisRecords = 2;  // one chapter, one analysis with two global lines
  edge.globalRecords = 2;
  EXPECT_NO_THROW(GenerateDataset(edge));
}

}  // namespace
}  // namespace vantu
