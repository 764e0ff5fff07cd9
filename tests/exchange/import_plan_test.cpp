// What the concepts of a file become before anything is written: the
// budget's chapters, the percentages of analyses, and what is refused.
#include "exchange/import_plan.h"

#include <gtest/gtest.h>

#include "import_fixture.h"
#include "toolkit/numbers.h"

namespace vantu::test {
namespace {

PlanResult Plan(const std::vector<std::string>& records) {
  const Bc3ReadResult read = ReadBc3(Bc3Of(records));
  EXPECT_EQ(read.error, "");
  return PlanImport(read.doc, "01/01/24", false);
}

const PlanAnalysis& AnalysisNamed(const ImportPlan& p, const std::string& description) {
  for (const PlanAnalysis& a : p.analyses)
    if (a.description == description) return a;
  throw std::runtime_error("no analysis " + description);
}

TEST(ImportPlanTest, SubChaptersAndLooseItemsBecomeChaptersOfTheirOwn) {
  const PlanResult r =
      Plan({"C|R##||Raiz|0||0", "C|C1#||Uno|0||0", "C|C2#||Dos|0||0", "C|MO|h|Oficial|20||1",
            "C|A|m2|Muro|20||0", "C|S|gl|Subcontrato|10||0", "C|L|gl|Suelto|5||0",
            "D|R##|C1#\\1\\1\\L\\1\\4\\", "D|C1#|A\\1\\2\\C2#\\1\\1\\", "D|C2#|S\\1\\3\\",
            "D|A|MO\\1\\1\\"});
  ASSERT_EQ(r.error, "");
  const struct {
    const char *code, *description, *item, *pliegos;
    uint8_t refType;
    long double quantity;
  } expected[] = {{"01", "Uno", "01010", "A", budget_item::kRefAnalysis, 2},
                  {"02", "Dos", "02010", "S", budget_item::kRefSubcontract, 3},
                  {"03", "Raiz", "03010", "L", budget_item::kRefSubcontract, 4}};
  ASSERT_EQ(r.plan.chapters.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const PlanChapter& c = r.plan.chapters[i];
    EXPECT_EQ(c.code, expected[i].code);
    EXPECT_EQ(c.description, expected[i].description);
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_EQ(c.items[0].code, expected[i].item);
    EXPECT_EQ(c.items[0].pliegos, expected[i].pliegos);
    EXPECT_EQ(c.items[0].refType, expected[i].refType);
    EXPECT_EQ(c.items[0].quantity, expected[i].quantity);
  }
}

TEST(ImportPlanTest, APercentageClosingOneSectionBecomesItsFieldOtherwiseItsAmount) {
  const PlanResult r =
      Plan({"C|R##||Raiz|0||0", "C|C1#||Uno|0||0", "C|MO|h|Oficial|20||1", "C|MAT|kg|Acero|3||3",
            "C|%W|%|Desperdicio|||0", "C|%H|%|Herramienta|||0", "C|%CI|%|Indirectos|||0",
            "C|M|m|Materiales|0||0", "C|T|m|Mano de obra|0||0", "C|X|m|Mixto|0||0",
            "D|M|MAT\\1\\10\\%W\\1\\0.05\\", "D|T|MO\\1\\2\\%H\\1\\0.1\\",
            "D|X|MAT\\1\\10\\MO\\1\\2\\%CI\\1\\0.1\\", "D|R##|C1#\\1\\1\\",
            "D|C1#|M\\1\\1\\T\\1\\1\\X\\1\\1\\MAT\\1\\7\\"});
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(AnalysisNamed(r.plan, "Materiales").desperdicioPct, 5);
  EXPECT_EQ(AnalysisNamed(r.plan, "Mano de obra").herramientaMenorPct, 10);
  const PlanAnalysis& mixed = AnalysisNamed(r.plan, "Mixto");
  EXPECT_EQ(mixed.desperdicioPct + mixed.herramientaMenorPct, 0);
  ASSERT_EQ(mixed.sections[3].size(), 1u);
  EXPECT_EQ(mixed.sections[3][0].quantity, RoundCents(0.1L * (3 * 10 + 20 * 2)));
  std::map<std::string, std::vector<std::string>> kinds;  // original -> kinds
  for (const CodeMapping& m : r.plan.mapping) kinds[m.original].push_back(m.kind);
  EXPECT_EQ(kinds["%CI"], std::vector<std::string>{"porcentaje"});
  EXPECT_EQ(kinds["%W"], std::vector<std::string>{"desperdicio"});
  EXPECT_EQ(kinds["%H"], std::vector<std::string>{"herramienta menor"});
  ASSERT_FALSE(r.plan.notes.empty());
  EXPECT_EQ(r.plan.notes.back(),
            "el porcentaje %CI se lleva como una linea de su importe en 1 analisis");
  // Used by analyses and straight in a chapter: an input and a subcontract.
  EXPECT_EQ(kinds["MAT"], (std::vector<std::string>{"insumo", "subcontrato", "item"}));
}

TEST(ImportPlanTest, SetsTheProgramCannotHoldAreRefused) {
  const std::vector<std::string> base = {"C|R##||Raiz|0||0",       "C|C1#||Uno|0||0",
                                         "C|C2#||Dos|0||0",        "C|S|gl|Sub|10||0",
                                         "C|%CI|%|Indirectos|||0", "D|R##|C1#\\1\\1\\"};
  const struct {
    const char* name;
    std::vector<std::string> more;
    const char* says;
  } cases[] = {
      {"chapter taken twice", {"D|R##|C1#\\1\\2\\"}, "capitulo C1# lleva un rendimiento"},
      {"sub-chapter taken twice", {"D|C1#|C2#\\1\\2\\", "D|C2#|S\\1\\1\\"}, "rendimiento distinto"},
      {"percentage in a chapter", {"D|C1#|S\\1\\1\\%CI\\1\\0.1\\"}, "porcentaje %CI"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> records = base;
    records.insert(records.end(), c.more.begin(), c.more.end());
    EXPECT_NE(Plan(records).error.find(c.says), std::string::npos) << c.name;
  }
  // More inputs than a file holds, with their group chapters.
  std::vector<std::string> many = base;
  for (int i = 0; i < 32766; ++i) many.push_back("C|M" + std::to_string(i) + "|u|m|1||3");
  const std::string error = Plan(many).error;
  EXPECT_NE(error.find("el archivo de insumos tendria 32801 registros y admite 32766"),
            std::string::npos)
      << error;
}

}  // namespace
}  // namespace vantu::test
