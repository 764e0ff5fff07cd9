// Budget items against the analyses and subcontracts that price them: the
// kinds of reference codes, the item kept in step on loading, pricing,
// globals, the description written back, F8 and the tender-code switch.
#include "estimating/budget_items.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "estimating/analysis_globals.h"
#include "records/analysis_records.h"
#include "records/dataset_fixture.h"
#include "session/work_area_ids.h"
#include "storage/real10.h"

namespace vantu {
namespace {

TEST(BudgetRefCodeTest, KindFollowsTheShape) {
  const struct {
    const char* code;
    RefKind kind;
  } cases[] = {
      {"01", RefKind::kChapter},   {"010010", RefKind::kAnalysis}, {"01010", RefKind::kSubcontract},
      {"00000", RefKind::kGlobal}, {"000000", RefKind::kGlobal},   {"000007", RefKind::kGlobal},
      {"0101", RefKind::kInvalid}, {"010", RefKind::kInvalid},     {"", RefKind::kInvalid},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyRefCode(c.code), c.kind) << c.code;
}

class BudgetItemsTest : public test::DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    OpenSet("A", "01");
    AddCoded(kAreaAnalyses, "01");
    analysis_ = PutReferenced<AnalysisRecord>(kAreaAnalyses, "010010", "EXCAVACION MANUAL", "M3");
    other_ = PutReferenced<AnalysisRecord>(kAreaAnalyses, "010020", "RELLENO", "M3");
    AddCoded(kAreaSubcontracts, "01");
    sub_ = PutReferenced<SubcontractRecord>(kAreaSubcontracts, "01010", "PINTURA", "M2");
    AddCoded(kAreaBudget, "01");
    itemNo_ = AddCoded(kAreaBudget, "01010");
    for (int n : {kAreaAnalyses, kAreaSubcontracts, kAreaBudget}) Area(n).SavedChangeMarker = 0;
  }

  template <class R>
  int16_t PutReferenced(int area, const std::string& code, const std::string& description,
                        const std::string& unit) {
    const int16_t r = AddCoded(area, code);
    R rec = Read<R>(area, r);
    WriteStr(rec.data() + 31, 35, description);
    WriteStr(rec.data() + 67, 6, unit);
    PutRec(Area(area).Data, r, rec.data());
    return r;
  }

  long double StampOf(int area, int16_t r) {
    std::vector<uint8_t> rec(static_cast<size_t>(Area(area).RecordLength));
    GetRec(Area(area).Data, r, rec.data());
    return LoadReal10(rec.data() + kRecordStampAt);
  }

  // An item that refers to analysis 010010 as a fresh pricing would.
  BudgetRecord PricedItem() {
    BudgetRecord item = Read<BudgetRecord>(kAreaBudget, itemNo_);
    EXPECT_TRUE(PriceItemWith(item, "010010"));
    PutRec(Area(kAreaBudget).Data, itemNo_, item.data());
    return item;
  }

  int16_t analysis_ = 0, other_ = 0, sub_ = 0, itemNo_ = 0;
};

TEST_F(BudgetItemsTest, PricingCopiesTheReferencedRecord) {
  const struct {
    const char* code;
    int area;
    uint8_t type;
    const char* description;
    const char* unit;
  } cases[] = {
      {"010010", kAreaAnalyses, budget_item::kRefAnalysis, "EXCAVACION MANUAL", "M3"},
      {"01010", kAreaSubcontracts, budget_item::kRefSubcontract, "PINTURA", "M2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    BudgetRecord item = Read<BudgetRecord>(kAreaBudget, itemNo_);
    ASSERT_TRUE(PriceItemWith(item, c.code));
    const int16_t r = Find(c.area, c.code);
    EXPECT_EQ(Get(item, budget_item::RefType), c.type);
    EXPECT_EQ(Get(item, budget_item::RefCode), c.code);
    EXPECT_EQ(Get(item, budget_item::RefRecNo), r);
    EXPECT_EQ(Get(item, budget_item::RefStamp), StampOf(c.area, r));
    EXPECT_EQ(Get(item, budget_item::Description), c.description);
    EXPECT_EQ(Get(item, budget_item::Unit), c.unit);
  }
}

TEST_F(BudgetItemsTest, UnknownCodesLeaveTheItemAsItWas) {
  BudgetRecord item = PricedItem();
  const BudgetRecord before = item;
  for (const char* code : {"010030", "02010", "0101", "01"}) {
    EXPECT_FALSE(PriceItemWith(item, code)) << code;
    EXPECT_EQ(item.bytes, before.bytes) << code;
  }
}

TEST_F(BudgetItemsTest, GlobalsDropTheReference) {
  for (const char* code : {"00000", "000000"}) {
    BudgetRecord item = PricedItem();
    Set(item, budget_item::PorDefinir, uint8_t{1});
    MakeGlobalItem(item, code);
    EXPECT_EQ(Get(item, budget_item::RefCode), "000000") << code;
    EXPECT_EQ(Get(item, budget_item::RefType), budget_item::kRefGlobal);
    EXPECT_EQ(Get(item, budget_item::RefRecNo), 0);
    EXPECT_EQ(Get(item, budget_item::RefStamp), 0.0L);
    EXPECT_EQ(Get(item, budget_item::Description), "");
    EXPECT_EQ(Get(item, budget_item::Unit), "Global");
    EXPECT_EQ(Get(item, budget_item::PorDefinir), 0);
  }
}

TEST_F(BudgetItemsTest, LoadingKeepsTheItemInStep) {
  struct Case {
    const char* name;
    std::function<void(BudgetRecord&)> disturb;
    RefSync expected;
  };
  const std::vector<Case> cases = {
      {"in step", [](BudgetRecord&) {}, RefSync::kInStep},
      {"stale description", [](BudgetRecord& it) { Set(it, budget_item::Description, "VIEJA"); },
       RefSync::kUpdated},
      {"record number of another analysis",
       [&](BudgetRecord& it) { Set(it, budget_item::RefRecNo, other_); }, RefSync::kUpdated},
      {"record number beyond the file",
       [](BudgetRecord& it) { Set(it, budget_item::RefRecNo, int16_t{500}); }, RefSync::kUpdated},
      {"recodified analysis: same record, same stamp, new code",
       [&](BudgetRecord&) {
         AnalysisRecord a = Read<AnalysisRecord>(kAreaAnalyses, analysis_);
         Set(a, coded::Code, "010015");
         PutRec(Area(kAreaAnalyses).Data, analysis_, a.data());
       },
       RefSync::kUpdated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BudgetRecord item = PricedItem();
    const AnalysisRecord saved = Read<AnalysisRecord>(kAreaAnalyses, analysis_);
    c.disturb(item);
    PutRec(Area(kAreaBudget).Data, itemNo_, item.data());
    Area(kAreaBudget).SavedChangeMarker = 0;
    EXPECT_EQ(SyncItemReference(item, itemNo_), c.expected);
    const AnalysisRecord target = Read<AnalysisRecord>(kAreaAnalyses, analysis_);
    EXPECT_EQ(Get(item, budget_item::RefRecNo), analysis_);
    EXPECT_EQ(Get(item, budget_item::RefCode), Get(target, coded::Code));
    EXPECT_EQ(Get(item, budget_item::Description), "EXCAVACION MANUAL");
    // What was copied is on disk, and only then is the budget marked.
    EXPECT_EQ(Read<BudgetRecord>(kAreaBudget, itemNo_).bytes, item.bytes);
    EXPECT_EQ(Area(kAreaBudget).SavedChangeMarker, c.expected == RefSync::kUpdated ? 1 : 0);
    PutRec(Area(kAreaAnalyses).Data, analysis_, saved.data());
  }
}

TEST_F(BudgetItemsTest, ADeletedAnalysisIsMissingAndTheItemKeepsItsCopy) {
  BudgetRecord item = PricedItem();
  std::string key = "010010";
  int16_t r = analysis_;
  DeleteKey(Area(kAreaAnalyses).Index, r, key);
  DeleteRec(Area(kAreaAnalyses).Data, analysis_);
  const BudgetRecord before = item;
  EXPECT_EQ(SyncItemReference(item, itemNo_), RefSync::kMissing);
  EXPECT_EQ(item.bytes, before.bytes);
  EXPECT_FALSE(WriteBackDescription(item));
}

TEST_F(BudgetItemsTest, TheDescriptionGoesBackIntoTheReference) {
  const struct {
    const char* code;
    int area;
  } cases[] = {{"010010", kAreaAnalyses}, {"01010", kAreaSubcontracts}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    BudgetRecord item = Read<BudgetRecord>(kAreaBudget, itemNo_);
    ASSERT_TRUE(PriceItemWith(item, c.code));
    Set(item, budget_item::Description, "NUEVA DESCRIPCION");
    Area(c.area).SavedChangeMarker = 0;
    ASSERT_TRUE(WriteBackDescription(item));
    const int16_t r = Find(c.area, c.code);
    std::vector<uint8_t> rec(static_cast<size_t>(Area(c.area).RecordLength));
    GetRec(Area(c.area).Data, r, rec.data());
    EXPECT_EQ(ReadStr(rec.data() + 31, 35), "NUEVA DESCRIPCION");
    EXPECT_EQ(Area(c.area).SavedChangeMarker, 1);
    EXPECT_EQ(Markers(c.area, "A").first, 1);  // flushed
  }
  BudgetRecord global = Read<BudgetRecord>(kAreaBudget, itemNo_);
  MakeGlobalItem(global, "00000");
  EXPECT_FALSE(WriteBackDescription(global));
}

// The review takes a global price for its analysis's only while the price
// names the analysis by its description: a new description typed in the
// budget goes into the analysis's global prices too, and no other's.
TEST_F(BudgetItemsTest, ADescriptionWrittenBackRenamesTheAnalysisGlobals) {
  const auto withGlobals = [&](int16_t r, const std::string& owner, int count) {
    AnalysisRecord a = Read<AnalysisRecord>(kAreaAnalyses, r);
    SetDefaultSections(a);
    AnalysisLines m = LinesOf(a);
    for (int i = 0; i < count; ++i) {
      EditLine l = CheckLineCode("00000", 2, Get(a, coded::Code), {}, {}).line;
      l.cache.description = "ANDAMIO " + std::to_string(i);
      m.lines[2].push_back(l);
    }
    std::vector<int16_t> none;
    WriteGlobalLines(m, Get(a, coded::Code), owner, none);
    StoreLines(a, m);
    PutRec(Area(kAreaAnalyses).Data, r, a.data());
  };
  withGlobals(analysis_, "EXCAVACION MANUAL", 2);  // records 1 and 2
  withGlobals(other_, "RELLENO", 1);               // record 3
  Area(kAreaGlobals).SavedChangeMarker = 0;
  FlushWorkArea(kAreaGlobals);
  BudgetRecord item = PricedItem();
  Set(item, budget_item::Description, "EXCAVACION A MAQUINA");
  ASSERT_TRUE(WriteBackDescription(item));
  const AnalysisRecord a = Read<AnalysisRecord>(kAreaAnalyses, analysis_);
  ASSERT_EQ(Get(a, analysis::Description), "EXCAVACION A MAQUINA");
  for (int16_t r : {1, 2}) {
    const GlobalPriceRecord g = Read<GlobalPriceRecord>(kAreaGlobals, r);
    EXPECT_EQ(Get(g, global_price::OwnerDescription), "EXCAVACION A MAQUINA") << r;
    EXPECT_EQ(Get(g, global_price::Description), "ANDAMIO " + std::to_string(r - 1));
  }
  EXPECT_EQ(Get(Read<GlobalPriceRecord>(kAreaGlobals, 3), global_price::OwnerDescription),
            "RELLENO");
  EXPECT_EQ(Markers(kAreaGlobals, "A").first, 1);  // flushed with its marker

  // A subcontract's new description touches no global price.
  Area(kAreaGlobals).SavedChangeMarker = 0;
  FlushWorkArea(kAreaGlobals);
  ASSERT_TRUE(PriceItemWith(item, "01010"));
  Set(item, budget_item::Description, "EXCAVACION MANUAL");
  ASSERT_TRUE(WriteBackDescription(item));
  EXPECT_EQ(Get(Read<GlobalPriceRecord>(kAreaGlobals, 1), global_price::OwnerDescription),
            "EXCAVACION A MAQUINA");
  EXPECT_EQ(Markers(kAreaGlobals, "A").first, 0);
}

TEST_F(BudgetItemsTest, F8TogglesTheQuantityToBeDefined) {
  BudgetRecord item = PricedItem();
  Set(item, budget_item::Quantity, 25.0L);
  EXPECT_TRUE(TogglePorDefinir(item));
  EXPECT_EQ(Get(item, budget_item::PorDefinir), 1);
  EXPECT_EQ(Get(item, budget_item::Quantity), 0.0L);
  EXPECT_EQ(Area(kAreaBudget).SavedChangeMarker, 1);
  Area(kAreaBudget).SavedChangeMarker = 0;
  EXPECT_FALSE(TogglePorDefinir(item));
  EXPECT_EQ(Get(item, budget_item::PorDefinir), 0);
  EXPECT_EQ(Get(item, budget_item::Quantity), 0.0L);
  EXPECT_EQ(Area(kAreaBudget).SavedChangeMarker, 1);
}

TEST_F(BudgetItemsTest, TheTenderCodeSwitchKeepsTheRestOfTheHeader) {
  ObraHeader h;
  GetRec(Area(kAreaBudget).Data, 0, h.data());
  Set(h, obra_header::ObraName, "PUENTE");
  PutRec(Area(kAreaBudget).Data, 0, h.data());
  for (bool expected : {true, false, true}) {
    EXPECT_EQ(ToggleTenderCodes(), expected);
    EXPECT_EQ(UsesTenderCodes(), expected);
    const auto bytes = FileBytes(DataBaseName(kAreaBudget, "A01"));
    ASSERT_GT(bytes.size(), 60u);
    EXPECT_EQ(bytes[obra_header::UsePliegosCodes.offset], expected ? 1 : 0);
    EXPECT_EQ(ReadStr(bytes.data() + obra_header::ObraName.offset, 35), "PUENTE");
    EXPECT_EQ(bytes[kHdrChangeMarker], 1);
  }
}

}  // namespace
}  // namespace vantu
