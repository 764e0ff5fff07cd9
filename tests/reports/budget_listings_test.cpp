// The budget listings on small hand-built sets, read line by line in the
// viewer's form against texts built from their column rules.
#include "reports/budget_listings.h"

#include <algorithm>
#include <fstream>

#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "reports/budget_listing_data.h"
#include "reports/listing_engine.h"
#include "reports/listing_text.h"
#include "storage/file_sets_fixture.h"

namespace vantu::test {
namespace {

class BudgetListingTest : public FileSetsTest {
 protected:
  void SetUp() override {
    FileSetsTest::SetUp();
    ResetListingState();
    Shell().listingFileName = (root / "prog" / "LPT").string();
    Shell().consultantName = "CONSULTOR";
    Shell().viewMode = true;
    Prefs() = DefaultPreferences();
    Prefs().englishUnits = true;
    Selection().RamaName = "RAMA";
    Selection().TodayDate = "07/12/26";
    OpenSet("A", "01");
    GeneralDataRecord g{};
    Set(g, general::AiuMode, general::kAiuPerItem);
    for (int group = 1; group <= 4; ++group) Set(g, general::Factor(group), 1.0L);
    Set(g, general::Factor(2), 1.5L);
    PutGeneral(g);
    EmptyListingFile();
  }
  void TearDown() override {
    ResetListingState();
    FileSetsTest::TearDown();
  }
  void PutGeneral(const GeneralDataRecord& g) {
    if (UsedRecordCount(Area(kAreaGeneral).Data) == 0) {
      int16_t r = 0;
      GeneralDataRecord copy = g;
      AddRec(Area(kAreaGeneral).Data, r, copy.data());
    } else {
      PutRec(Area(kAreaGeneral).Data, 1, g.data());
    }
  }
  template <class R>
  void Store(int area, const std::string& code, R rec) {
    const int16_t r = AddCoded(area, code);
    Set(rec, coded::Code, code);
    PutRec(Area(area).Data, r, rec.data());
  }
  void Input(const std::string& code, const std::string& description, const std::string& unit,
             long double price, int16_t stamp = 0, int16_t group = 0) {
    InputRecord in{};
    Set(in, input::Description, description);
    if (code.size() == 2) {
      Set(in, input::Group, group);
    } else {
      Set(in, input::Unit, unit);
      Set(in, input::Price, price);
    }
    Set(in, coded::CalcStamp, stamp);
    Store(kAreaInputs, code, in);
  }
  void Chapter6(const std::string& code, const std::string& description, long double total) {
    BudgetRecord b{};
    Set(b, budget_chapter::Description, description);
    Set(b, budget_chapter::ChapterTotal, total);
    Store(kAreaBudget, code, b);
  }
  void Item6(const std::string& code, const std::string& ref, const std::string& description,
             const std::string& unit, long double price, long double quantity, long double total,
             bool undefined = false) {
    BudgetRecord b{};
    Set(b, budget_item::RefCode, ref);
    Set(b, budget_item::Description, description);
    Set(b, budget_item::Unit, unit);
    Set(b, budget_item::ItemUnitPrice, price);
    Set(b, budget_item::Quantity, quantity);
    Set(b, budget_item::ItemTotal, total);
    Set(b, budget_item::PorDefinir, undefined ? 1 : 0);
    Store(kAreaBudget, code, b);
  }
  void ObraTotal(long double total) {
    ObraHeader h{};
    GetRec(Area(kAreaBudget).Data, 0, h.data());
    Set(h, obra_header::BudgetItemsTotal, total);
    PutRec(Area(kAreaBudget).Data, 0, h.data());
  }

  // The body: the lines after the header's rules up to the closing rule.
  std::vector<std::string> Body(int headerLines = 9) {
    CloseListingFile();
    std::ifstream in(Shell().listingFileName, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
      lines.push_back(bytes.substr(start, at - start));
    if (lines.size() < static_cast<size_t>(headerLines) + 2) return {};
    return {lines.begin() + headerLines, lines.end() - 2};
  }
  static std::string Dotted(const std::string& d) {
    return d + " " + std::string(34 - d.size(), '.');
  }
  static std::string Pad(const std::string& s, size_t w) {
    return s + std::string(w - s.size(), ' ');
  }
  static std::string Right(const std::string& s, size_t w) {
    return std::string(w - s.size(), ' ') + s;
  }
};

TEST_F(BudgetListingTest, BasicInputsWithChapterHeadingAndGroupFactor) {
  Input("01", "MATERIALES", "", 0, 0, 2);
  Input("01010", "CEMENTO", "BULTO", 20000);
  Input("01020", "ARENA", "M3", 1234.5);
  Input("02", "SIN ITEMS", "", 0, 0, 1);
  ASSERT_TRUE(ListBasicInputs(1, 0));
  const std::vector<std::string> expected = {
      "",
      " " + std::string(15, ' ') + "CAPITULO 01 - MATERIALES",
      "",
      " " + Pad("01 010", 15) + Pad(Dotted("CEMENTO"), 45) + Pad("BULTO", 6) +
          Right("30,000.00", 20) + " ",
      // 1234.5 x 1.5 = 1851.75, to whole pesos 1852.
      " " + Pad("01 020", 15) + Pad(Dotted("ARENA"), 45) + Pad("M3", 6) + Right("1,852.00", 20) +
          " ",
  };
  EXPECT_EQ(Body(), expected);
}

TEST_F(BudgetListingTest, ObraListsOnlyWhatItsCalculationUsed) {
  Shell().obraSelected = true;
  Area(kAreaInputs).SavedSetSerial = 5;
  Prefs().roundToPeso = false;
  Input("01", "EQUIPOS", "", 0, 0, 1);
  Input("01010", "VIBRADOR", "DIA", 10.25, 5);
  Input("01020", "MEZCLADORA", "DIA", 99, 4);
  Input("02", "MANO DE OBRA", "", 0, 0, 4);
  Input("02010", "OFICIAL", "HORA", 7, 4);
  ASSERT_TRUE(ListBasicInputs(1, 0));
  const std::vector<std::string> expected = {
      "",
      " " + std::string(15, ' ') + "CAPITULO 01 - EQUIPOS",
      "",
      " " + Pad("01 010", 15) + Pad(Dotted("VIBRADOR"), 45) + Pad("DIA", 6) + Right("10.25", 20) +
          " ",
  };
  EXPECT_EQ(Body(), expected);

  // Nothing used at all: the note, and the count of empty listings.
  Area(kAreaInputs).SavedSetSerial = 9;
  EmptyListingFile();
  Listing().quietEmpty = true;
  EXPECT_FALSE(ListBasicInputs(1, 0));
  EXPECT_EQ(Listing().emptyListingCount, 1);
}

// AIU and IVA percentages for the summary lines; IVA counts on the
// Utilidad share, so 19 % of 10 % is 1.9 % of the direct cost.
void SetPercentages(GeneralDataRecord& g, long double aiu, long double iva, long double utilidad) {
  Set(g, general::AiuPerItem, aiu);
  Set(g, general::AiuAtEnd, aiu);
  Set(g, general::IvaPct, iva);
  Set(g, general::UtilidadPct, utilidad);
}

TEST_F(BudgetListingTest, WorkBudgetSkipsUndefinedAndEmptyChaptersAndShowsTotals) {
  Shell().obraSelected = true;
  Prefs().listUndefinedQuantities = false;
  {
    // 1250 with 25 % AIU is 1000 of direct cost, whose IVA is 19.
    GeneralDataRecord g{};
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
    SetPercentages(g, 25, 19, 10);
    PutGeneral(g);
  }
  Chapter6("01", "PRELIMINARES", 0);
  Item6("01010", "010010", "SIN CANTIDAD", "M2", 10, 0, 0, true);
  Chapter6("02", "ESTRUCTURA", 1250);
  Item6("02010", "020010", "CONCRETO", "M3", 500, 2, 1000);
  Item6("02020", "00000", "GLOBAL ESTUDIOS", "GL", 0, 250, 250);
  ObraTotal(1250);
  ASSERT_TRUE(ListWorkBudget(1, 0));
  const int w = 125;
  const std::string dash18(18, kRuleSingle);
  auto right = [&](const std::string& s) { return std::string(1 + w - s.size(), ' ') + s; };
  const std::vector<std::string> expected = {
      "",
      " " + std::string(15, ' ') + "CAPITULO 02 - ESTRUCTURA",
      "",
      " " + Pad("02 010", 15) + "02 0010-" + Pad(Dotted("CONCRETO"), 36) + "  M3   " +
          Right("500.00", 19) + " " + Right("2.00", 19) + " " + Right("1,000.00", 19) + " ",
      " " + Pad("02 020", 15) + "00 000 -" + Pad(Dotted("GLOBAL ESTUDIOS"), 36) + "  GL   " +
          Right("---- ", 20) + Right("---- ", 20) + Right("250.00", 19) + " ",
      right(dash18),
      right("SUBTOTAL CAPITULO 02         $ " + Right("1,250.00", 17)),
      "",
      right("SUBTOTAL COSTO DIRECTO (Incluye AIU)         $ " + Right("1,250.00", 17)),
      right("  mas IVA                                    $ " + Right("19.00", 17)),
      right(dash18),
      right("VALOR TOTAL DEL PRESUPUESTO                  $ " + Right("1,269.00", 17)),
      "",
  };
  EXPECT_EQ(Body(), expected);
}

TEST_F(BudgetListingTest, SummarySharesAddUpToHundredInBothAiuModes) {
  Shell().obraSelected = true;
  Chapter6("01", "UNO", 100);
  Chapter6("02", "DOS", 100);
  Chapter6("03", "TRES", 100);
  Item6("01010", "010010", "A", "M", 1, 100, 100);
  ObraTotal(300);
  for (int16_t mode : {general::kAiuPerItem, general::kAiuAtEnd}) {
    SCOPED_TRACE("AiuMode " + std::to_string(mode));
    GeneralDataRecord g{};
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
    Set(g, general::AiuMode, mode);
    // IVA is 3.8 % of the direct cost: 250 of the 300 with 20 % AIU inside
    // them (9.50), or the 300 themselves with the AIU added (11.40).
    SetPercentages(g, 20, 19, 20);
    PutGeneral(g);
    Prefs().roundToPeso = false;
    EmptyListingFile();
    ASSERT_TRUE(ListBudgetSummary(1, 0));
    const auto body = Body(10);  // the header and its blank line
    ASSERT_GE(body.size(), 5u);
    auto chapter = [&](const char* code, const char* d, const char* pct) {
      return " " + Pad(std::string("CAPITULO ") + code, 15) + Pad(Dotted(d) + "           $", 48) +
             Right("100.00", 18) + " " + Right(pct, 16) + " %";
    };
    EXPECT_EQ(body[0], chapter("01", "UNO", "33.33"));
    EXPECT_EQ(body[1], chapter("02", "DOS", "33.33"));
    EXPECT_EQ(body[2], chapter("03", "TRES", "33.34"));
    auto right = [](size_t width, const std::string& t) {
      return std::string(1 + width - t.size(), ' ') + t;
    };
    const std::string first = mode == general::kAiuPerItem
                                  ? "SUMA DE LOS CAPITULOS  ( Incluye AIU )        $ "
                                  : "SUBTOTAL COSTO DIRECTO NETO                   $ ";
    EXPECT_EQ(body[4], right(100, first + Right("300.00", 18) + Right("100.00", 17) + " %"));
    const char* total = mode == general::kAiuPerItem ? "309.50" : "371.40";
    // The lines under the amount column end 19 characters further left.
    EXPECT_NE(std::find(body.begin(), body.end(),
                        right(81, "VALOR TOTAL DEL PRESUPUESTO                   $ " +
                                      Right(total, 18))),
              body.end());
  }
}

}  // namespace
}  // namespace vantu::test
