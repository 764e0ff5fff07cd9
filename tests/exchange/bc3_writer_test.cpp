// The exchange file of calculated sets, read back by the tests' own reader:
// well formed, every reference defined, and every price recomputing to the
// stored one.
#include "exchange/bc3_writer.h"

#include <gtest/gtest.h>

#include "bc3_reader.h"
#include "exchange/bc3_codes.h"
#include "exchange/export_text.h"
#include "exchange_fixture.h"
#include "toolkit/numbers.h"

namespace vantu::test {
namespace {

class Bc3WriterTest : public ExchangeTest {};

TEST_F(Bc3WriterTest, RecordsAreWellFormedAndEveryReferenceIsDefined) {
  for (const ExportShape& s : kExportShapes) {
    SCOPED_TRACE(s.name);
    OpenCalculatedSet(s);
    const Bc3File f = ParseBc3(Bc3Text(ReadExportModel()));
    EXPECT_TRUE(f.malformed.empty()) << f.malformed.front();
    ASSERT_FALSE(f.records.empty());
    EXPECT_EQ(f.records[0][0], "V");
    EXPECT_EQ(f.records[0].at(5), "ANSI");
    EXPECT_EQ(f.moneyDecimals, s.roundToPeso ? 0 : 2);
    for (const auto& [parent, lines] : f.decompositions) {
      EXPECT_TRUE(f.concepts.count(parent)) << "parent " << parent;
      for (const Bc3Line& l : lines)
        EXPECT_TRUE(f.concepts.count(l.code)) << parent << " > " << l.code;
    }
    for (const auto& [key, m] : f.measures) {
      const auto parts = SplitOn(key, '\\');
      ASSERT_EQ(parts.size(), 2u) << key;
      EXPECT_TRUE(f.decompositions.count(parts[0])) << key;
    }
    CloseSet();
  }
}

TEST_F(Bc3WriterTest, InputsKeepTheirTextsPricesAndTypes) {
  OpenCalculatedSet(kExportShapes[0]);
  const ExportModel m = ReadExportModel();
  const Bc3File f = ParseBc3(Bc3Text(m));
  const GeneralDataRecord general = Read<GeneralDataRecord>(1, 1);
  int inputs = 0;
  for (const InputRecord& r : InUse<InputRecord>(kAreaInputs)) {
    const std::string code = Get(r, coded::Code);
    if (IsChapterCode(code)) continue;
    ++inputs;
    SCOPED_TRACE(code);
    ASSERT_TRUE(f.concepts.count(code));
    const Bc3Concept& c = f.concepts.at(code);
    EXPECT_EQ(c.summary, Trimmed(Get(r, input::Description)));
    EXPECT_EQ(c.unit, Trimmed(Get(r, input::Unit)));
    const int group = InputGroup(code, [&](const std::string& ch) -> std::optional<InputRecord> {
      for (const InputRecord& x : InUse<InputRecord>(kAreaInputs))
        if (Get(x, coded::Code) == ch) return x;
      return std::nullopt;
    });
    const int expectedType[] = {0, 2, 3, 0, 1};
    EXPECT_EQ(c.type, expectedType[group]);
    EXPECT_NEAR(static_cast<double>(Number(c.priceText)),
                static_cast<double>(
                    AdjustPrice(Get(r, input::Price), Get(general, general::Factor(group)))),
                1e-9);
  }
  EXPECT_GT(inputs, 0);
}

TEST_F(Bc3WriterTest, AnalysesRecomputeToTheirStoredDirectCost) {
  for (const ExportShape& s : kExportShapes) {
    SCOPED_TRACE(s.name);
    OpenCalculatedSet(s);
    const Bc3File f = ParseBc3(Bc3Text(ReadExportModel()));
    int withWaste = 0, withTools = 0, analyses = 0;
    for (const AnalysisRecord& r : InUse<AnalysisRecord>(kAreaAnalyses)) {
      const std::string code = Get(r, coded::Code);
      if (IsChapterCode(code)) continue;
      ++analyses;
      SCOPED_TRACE(code);
      ASSERT_TRUE(f.concepts.count(code));
      const long double stored = Get(r, analysis::DirectCost);
      EXPECT_NEAR(static_cast<double>(Number(f.concepts.at(code).priceText)),
                  static_cast<double>(stored), 1e-6);
      EXPECT_NEAR(static_cast<double>(Recomputed(f, code)), static_cast<double>(stored), 1e-6);
      withWaste += f.concepts.count(bc3::MaterialsPartCode(code)) > 0;
      withTools += f.concepts.count(bc3::LabourPartCode(code)) > 0;
    }
    EXPECT_GT(analyses, 0);
    EXPECT_GT(withWaste, 0) << "no analysis exercised the waste percentage";
    EXPECT_GT(withTools, 0) << "no analysis exercised the minor tools percentage";
    CloseSet();
  }
}

// What the budget lines of the file cost at direct prices, from the records.
long double DirectBudget(const std::vector<BudgetRecord>& budget,
                         const std::vector<AnalysisRecord>& analyses,
                         const std::vector<SubcontractRecord>& subcontracts,
                         const GeneralDataRecord& g, bool toPeso) {
  // With the AIU in each item a global amount includes it; the file does not.
  const long double aiu =
      Get(g, general::AiuMode) == general::kAiuPerItem ? 1 + Get(g, general::AiuPerItem) / 100 : 1;
  long double sum = 0;
  for (const BudgetRecord& b : budget) {
    if (IsChapterCode(Get(b, coded::Code))) continue;
    const std::string ref = Get(b, budget_item::RefCode);
    const long double q = Get(b, budget_item::Quantity);
    long double price = 0;
    if (Get(b, budget_item::RefType) == budget_item::kRefGlobal) {
      sum += RoundMoneyAs(q / aiu, toPeso);
      continue;
    }
    // An analysis is priced at its rounded direct cost, a subcontract at
    // its direct cost as it is (the sum of its adjusted values).
    for (const AnalysisRecord& a : analyses)
      if (Get(a, coded::Code) == ref) price = RoundMoneyAs(Get(a, analysis::DirectCost), toPeso);
    for (const SubcontractRecord& s : subcontracts)
      if (Get(s, coded::Code) == ref) price = Get(s, subcontract::DirectCost);
    sum += RoundMoneyAs(q * price, toPeso);
  }
  return sum;
}

TEST_F(Bc3WriterTest, BudgetChaptersHoldTheirItemsAndTheRootTheDirectCost) {
  for (const ExportShape& s : kExportShapes) {
    SCOPED_TRACE(s.name);
    OpenCalculatedSet(s);
    const ExportModel m = ReadExportModel();
    const Bc3File f = ParseBc3(Bc3Text(m));
    const std::vector<BudgetRecord> budget = InUse<BudgetRecord>(kAreaBudget);
    size_t items = 0, chapters = 0;
    for (const BudgetRecord& b : budget) {
      const std::string code = Get(b, coded::Code);
      if (IsChapterCode(code)) {
        ++chapters;
        EXPECT_TRUE(f.concepts.count(bc3::ChapterCode(code))) << code;
        continue;
      }
      ++items;
      const auto& lines = f.decompositions.at(bc3::ChapterCode(ChapterOf(code)));
      const uint8_t type = Get(b, budget_item::RefType);
      const std::string child = type == budget_item::kRefGlobal ? bc3::GlobalItemCode(code)
                                : type == budget_item::kRefSubcontract
                                    ? bc3::SubcontractCode(Get(b, budget_item::RefCode))
                                    : Get(b, budget_item::RefCode);
      const long double q = type == budget_item::kRefGlobal ? 1 : Get(b, budget_item::Quantity);
      bool found = false;
      for (const Bc3Line& l : lines)
        found = found || (l.code == child && std::fabs(static_cast<double>(l.yield - q)) < 1e-6);
      EXPECT_TRUE(found) << "item " << code << " as " << child;
      const auto measure = f.measures.find(bc3::ChapterCode(ChapterOf(code)) + "\\" + child);
      ASSERT_NE(measure, f.measures.end()) << code;
    }
    size_t lines = 0;
    for (const auto& [parent, ls] : f.decompositions)
      if (parent.size() == 3 && parent.back() == '#') lines += ls.size();
    EXPECT_EQ(lines, items);
    EXPECT_EQ(f.decompositions.at(bc3::RootCode("A", "01")).size(), chapters);
    const long double direct = DirectBudget(budget, InUse<AnalysisRecord>(kAreaAnalyses),
                                            InUse<SubcontractRecord>(kAreaSubcontracts),
                                            Read<GeneralDataRecord>(1, 1), s.roundToPeso);
    const std::string root = bc3::RootCode("A", "01");
    EXPECT_NEAR(static_cast<double>(Recomputed(f, root)), static_cast<double>(direct), 1e-6);
    EXPECT_NEAR(static_cast<double>(Number(f.concepts.at(root).priceText)),
                static_cast<double>(direct), 1e-6);
    if (s.aiuMode == general::kAiuAtEnd) {
      // Without AIU in the prices, the file's budget is the printed direct cost.
      const ObraHeader h = Read<ObraHeader>(6, 0);
      const BudgetSummary printed = SummaryOf(Get(h, obra_header::BudgetItemsTotal),
                                              Read<GeneralDataRecord>(1, 1), s.roundToPeso);
      EXPECT_NEAR(static_cast<double>(direct), static_cast<double>(printed.directCostTotal), 1e-6);
    }
    EXPECT_NE(f.texts.at(root).find("IVA"), std::string::npos);
    CloseSet();
  }
}

TEST_F(Bc3WriterTest, AnUncalculatedSetNeedsCalculation) {
  OpenCalculatedSet(kExportShapes[0], false);
  EXPECT_TRUE(SetNeedsCalculation());
  CloseSet();
  ResetCoreState();
  OpenCalculatedSet(kExportShapes[0], true);
  EXPECT_FALSE(SetNeedsCalculation());
}

// Decimals of a number as written: "12.5" has 1, "3" none.
int DecimalsOf(const std::string& text) {
  const size_t point = text.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

TEST_F(Bc3WriterTest, KDeclaresTheDecimalsTheRecordsCarryInEverySlot) {
  for (const ExportShape& s : kExportShapes) {
    SCOPED_TRACE(s.name);
    OpenCalculatedSet(s);
    const Bc3File f = ParseBc3(Bc3Text(ReadExportModel()));
    int most = 0;
    for (const auto& record : f.records)
      if (record[0] == "D") {
        const std::vector<std::string> sub = SplitOn(record.at(2), '\\');
        for (size_t i = 2; i < sub.size(); i += 3) most = std::max(most, DecimalsOf(sub[i]));
      }
    EXPECT_GT(most, 0) << "the generated yields carry decimals";
    const std::vector<std::string>* k = nullptr;
    for (const auto& record : f.records)
      if (record[0] == "K") k = &record;
    ASSERT_NE(k, nullptr);
    const std::vector<std::string> legacy = SplitOn(k->at(1), '\\');
    const std::vector<std::string> current = SplitOn(k->at(3), '\\');
    // DRC DC DRO DFS DRS DFO DUO DI DES DN DD DS DSP DEC DIVISA, and the
    // empty text after the last separator.
    ASSERT_EQ(current.size(), 16u) << k->at(3);
    const std::string y = std::to_string(most), d = s.roundToPeso ? "0" : "2";
    const std::vector<std::string> expected = {y, "2", y, y, y, y,   y,  d,
                                               y, y,   y, y, y, "2", "", ""};
    EXPECT_EQ(current, expected);
    // DN DD DS DR DI DP DC DM DIVISA.
    ASSERT_GE(legacy.size(), 9u);
    EXPECT_EQ(legacy[3], y) << "DR, the yields";
    EXPECT_EQ(legacy[4], d) << "DI, the amounts";
    CloseSet();
  }
}

TEST_F(Bc3WriterTest, ARamaAloneIsADatabaseWithItsRoot) {
  OpenCalculatedSet(kExportShapes[0]);
  Shell().obraSelected = false;
  const Bc3File f = ParseBc3(Bc3Text(ReadExportModel()));
  EXPECT_TRUE(f.malformed.empty());
  ASSERT_GE(f.records[0].size(), 8u);
  EXPECT_EQ(f.records[0][7], "1") << "information type: database";
  ASSERT_TRUE(f.concepts.count("A##"));
  EXPECT_EQ(f.concepts.at("A##").summary,
            Trimmed(Get(Read<GeneralDataRecord>(1, 1), general::RamaName)));
  EXPECT_FALSE(f.decompositions.count("A##"));
  CloseSet();
}

TEST_F(Bc3WriterTest, AGlobalPriceTakesTheTypeOfTheSectionThatUsesIt) {
  OpenCalculatedSet(kExportShapes[0]);
  const ExportModel m = ReadExportModel();
  const Bc3File f = ParseBc3(Bc3Text(m));
  const int typeOfSection[] = {0, 2, 3, 0, 1};
  int globals = 0;
  for (const ExportAnalysis& a : m.analyses)
    for (int g = 1; g <= 4; ++g)
      for (const ExportLine& l : a.sections[g]) {
        if (l.type != LineType::kGlobal) continue;
        ++globals;
        const std::string code = bc3::GlobalCode(l.globalRecNo);
        ASSERT_TRUE(f.concepts.count(code)) << code;
        EXPECT_EQ(f.concepts.at(code).type, typeOfSection[g]) << code << " in section " << g;
      }
  EXPECT_GT(globals, 0);
  CloseSet();
}

}  // namespace
}  // namespace vantu::test
