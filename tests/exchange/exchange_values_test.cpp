// Values an exchange file carries across, checked against the numbers
// themselves: the quantities a decomposition's factor and yield give, the
// dates of 6 and 8 digits, the last record a file has room for, and the
// prices of the parts an export writes for waste and minor tools.
#include <gtest/gtest.h>

#include <cmath>

#include "bc3_reader.h"
#include "exchange/bc3_codes.h"
#include "exchange/bc3_writer.h"
#include "exchange/import_plan.h"
#include "import_fixture.h"
#include "toolkit/numbers.h"

namespace vantu::test {
namespace {

PlanResult Plan(const std::vector<std::string>& records) {
  const Bc3ReadResult read = ReadBc3(Bc3Of(records));
  EXPECT_EQ(read.error, "");
  return PlanImport(read.doc, "09/09/24", false);
}

const PlanInput& InputNamed(const ImportPlan& p, const std::string& description) {
  for (const PlanInput& in : p.inputs)
    if (in.description == description) return in;
  throw std::runtime_error("no input " + description);
}

TEST(ExchangeValues, ALineTakesItsFactorTimesItsYield) {
  const struct {
    const char* name;
    const char* line;
    long double analysisQuantity, budgetQuantity;
  } cases[] = {
      {"factor and yield", "MO\\2\\3.5\\", 7, 10},
      {"no factor is 1", "MO\\\\3.5\\", 3.5L, 10},
      {"fractional factor", "MO\\0.5\\4\\", 2, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PlanResult r =
        Plan({"C|R##||Raiz|0||0", "C|C1#||Uno|0||0", "C|MO|h|Oficial|20||1", "C|A|m2|Muro|0||0",
              "D|R##|C1#\\1\\1\\", "D|C1#|A\\2\\5\\", std::string("D|A|") + c.line});
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.plan.analyses.size(), 2u);  // its chapter and the analysis
    const PlanAnalysis& a = r.plan.analyses.back();
    ASSERT_EQ(a.sections[4].size(), 1u) << "labour";
    EXPECT_EQ(a.sections[4][0].quantity, c.analysisQuantity);
    ASSERT_EQ(r.plan.chapters.size(), 1u);
    ASSERT_EQ(r.plan.chapters[0].items.size(), 1u);
    EXPECT_EQ(r.plan.chapters[0].items[0].quantity, c.budgetQuantity);
  }
}

TEST(ExchangeValues, DatesOfSixAndEightDigitsKeepDayMonthAndTheYearsLastTwo) {
  const struct {
    const char* name;
    const char* date;
    const char* expected;
  } cases[] = {
      {"eight digits", "03112025", "03/11/25"},
      {"eight digits, another century", "28021999", "28/02/99"},
      {"six digits", "031125", "03/11/25"},
      {"seven digits: today", "3112025", "09/09/24"},
      {"letters: today", "03nov25", "09/09/24"},
      {"none: today", "", "09/09/24"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PlanResult r =
        Plan({std::string("C|R##||Raiz|0|") + c.date + "|0", "C|C1#||Uno|0||0",
              std::string("C|MO|h|Oficial|20|") + c.date + "|1", "C|A|m2|Muro|0||0",
              "D|R##|C1#\\1\\1\\", "D|C1#|A\\1\\1\\", "D|A|MO\\1\\1\\"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(InputNamed(r.plan, "Oficial").date, c.expected);
    EXPECT_EQ(r.plan.budgetDate, c.expected);
  }
}

// Materials unused by anything become basic inputs of one group, 999 to a
// chapter: n of them take n + ceil(n / 999) records, and a file holds
// 32,766 below its record 0.
TEST(ExchangeValues, TheInputsFileTakesItsLastRecordAndNotOneMore) {
  const std::vector<std::string> base = {"C|R##||Raiz|0||0", "C|C1#||Uno|0||0", "C|S|gl|Sub|10||0",
                                         "D|R##|C1#\\1\\1\\", "D|C1#|S\\1\\1\\"};
  const struct {
    int materials;
    const char* error;
  } cases[] = {
      {32733, ""},  // 32,733 + 33 chapters = 32,766
      {32734, "el archivo de insumos tendria 32767 registros y admite 32766"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.materials);
    std::vector<std::string> records = base;
    for (int i = 0; i < c.materials; ++i)
      records.push_back("C|M" + std::to_string(i) + "|u|m|1||3");
    const PlanResult r = Plan(records);
    EXPECT_EQ(r.error, c.error);
    if (r.error.empty()) {
      EXPECT_EQ(r.plan.inputs.size(), 32766u);
    }
  }
}

// One analysis whose sections cost amounts with cents: materials 10.25 +
// 3.10 = 13.35 with 5% waste (0.6675), labour 7.33 with 10% minor tools
// (0.733). A part keeps the cents of its lines and adds the percentage's
// amount rounded as the set rounds money.
TEST(ExchangeValues, PartPricesKeepTheCentsOfTheirLines) {
  const struct {
    bool toPeso;
    const char *materials, *labour;
  } cases[] = {
      {false, "14.02", "8.06"},
      {true, "14.35", "8.33"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.toPeso ? "to the peso" : "cents");
    ExportModel m;
    m.rama = "A";
    m.basis.toPeso = c.toPeso;
    m.inputs = {{"01010", "Arena", "m3", "", 2, 10.25L, 10.25L},
                {"01020", "Cal", "kg", "", 2, 3.10L, 3.10L},
                {"02010", "Oficial", "h", "", 4, 7.33L, 7.33L}};
    ExportAnalysis a;
    a.code = "010010";
    a.description = "Revoque";
    a.unit = "m2";
    a.desperdicioPct = 5;
    a.herramientaMenorPct = 10;
    a.sections[2] = {{LineType::kInput, "01010", 0, 1, 10.25L},
                     {LineType::kInput, "01020", 0, 1, 3.10L}};
    a.sections[4] = {{LineType::kInput, "02010", 0, 1, 7.33L}};
    m.analyses.push_back(a);
    const Bc3File f = ParseBc3(Bc3Text(m));
    ASSERT_TRUE(f.concepts.count(bc3::MaterialsPartCode(a.code)));
    ASSERT_TRUE(f.concepts.count(bc3::LabourPartCode(a.code)));
    EXPECT_EQ(f.concepts.at(bc3::MaterialsPartCode(a.code)).priceText, c.materials);
    EXPECT_EQ(f.concepts.at(bc3::LabourPartCode(a.code)).priceText, c.labour);
  }
}

class ExportPartPrices : public ExchangeTest {};

// The part of an analysis that carries its waste (or minor tools) is
// priced as the stored cost of that section with its percentage: the lines'
// sum as it is, plus the percentage's amount rounded as the set rounds
// money.
TEST_F(ExportPartPrices, PartsArePricedAsTheSectionWithItsPercentage) {
  for (const ExportShape& s : kExportShapes) {
    SCOPED_TRACE(s.name);
    OpenCalculatedSet(s);
    const Bc3File f = ParseBc3(Bc3Text(ReadExportModel()));
    int parts = 0, roundingShows = 0;
    const auto check = [&](const std::string& partCode, long double section, long double pct,
                           long double expected) {
      if (!f.concepts.count(partCode)) return;
      ++parts;
      const long double written = Number(f.concepts.at(partCode).priceText);
      EXPECT_NEAR(static_cast<double>(written), static_cast<double>(expected), 0.0051) << partCode;
      const long double amount = section * pct / 100;
      roundingShows += std::fabs(amount - RoundMoneyAs(amount, s.roundToPeso)) > 0.0051L;
    };
    for (const AnalysisRecord& a : InUse<AnalysisRecord>(kAreaAnalyses)) {
      const std::string code = Get(a, coded::Code);
      if (IsChapterCode(code)) continue;
      check(bc3::MaterialsPartCode(code), Get(a, analysis::MaterialesCost),
            Get(a, analysis::DesperdicioPct), Get(a, analysis::MaterialesWithWaste));
      const long double labour = Get(a, analysis::ManoDeObraCost);
      const long double tools = Get(a, analysis::HerramientaMenorPct);
      check(bc3::LabourPartCode(code), labour, tools,
            labour + RoundMoneyAs(labour * tools / 100, s.roundToPeso));
    }
    EXPECT_GT(parts, 0);
    if (s.roundToPeso) {
      EXPECT_GT(roundingShows, 0) << "no percentage whose rounding shows in the price";
    }
    CloseSet();
  }
}

}  // namespace
}  // namespace vantu::test
