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
#include "reports/listing_fixture.h"
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

// Analyses without lines: each prints its chapter heading and its head; the
// Obra keeps only those its calculation used, in both presentations.
TEST_F(BudgetListingTest, AnalysesFollowTheObraInBothPresentations) {
  Shell().obraSelected = true;
  Area(kAreaAnalyses).SavedSetSerial = 3;
  auto analysis = [&](const std::string& code, const std::string& description, int16_t stamp) {
    AnalysisRecord a{};
    Set(a, analysis::Description, description);
    Set(a, coded::CalcStamp, stamp);
    if (code.size() > 2) {
      Set(a, analysis::Unit, "M3");
      Set(a, analysis::UnitPrice, 100.0L);
    }
    Store(kAreaAnalyses, code, a);
  };
  analysis("01", "CIMIENTOS", 0);
  analysis("010010", "Zapata", 3);
  analysis("010020", "VIGA", 2);
  analysis("02", "SIN USO", 0);
  analysis("020010", "MURO", 1);
  analysis("03", "CUBIERTA", 0);
  analysis("030010", "teja", 3);
  ASSERT_TRUE(ListAnalysesSeveral(1, 0));
  auto head = [](const std::string& code, const std::string& upper) {
    return " " + Pad(code + " - ", 10) +
           Pad(upper + " " + std::string(38 - upper.size(), '.'), 40) + Pad("M3", 6) + "  " +
           std::string(48, '.') + "    $" + Right("100.00", 16) + " ";
  };
  const std::vector<std::string> several = {
      "", " " + std::string(10, ' ') + "CAPITULO 01 - CIMIENTOS", "", "", head("01 0010", "ZAPATA"),
      "", " " + std::string(10, ' ') + "CAPITULO 03 - CUBIERTA",  "", "", head("03 0010", "TEJA"),
  };
  EXPECT_EQ(Body(), several);

  // One on each page: a page per used analysis, titled with its chapter.
  EmptyListingFile();
  ASSERT_TRUE(ListAnalysesOnePerPage(1, 0));
  CloseListingFile();
  std::ifstream in(Shell().listingFileName, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::string> titles;
  for (size_t at = 0; (at = bytes.find("CAPITULO : ", at)) != std::string::npos; ++at)
    titles.push_back(bytes.substr(at, bytes.find("\r\n", at) - at));
  EXPECT_EQ(titles,
            (std::vector<std::string>{"CAPITULO : 01 - CIMIENTOS", "CAPITULO : 03 - CUBIERTA"}));
  EXPECT_NE(bytes.find("Hoja [2] de [2]"), std::string::npos);
  EXPECT_EQ(bytes.find("Hoja [3]"), std::string::npos);
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
    EXPECT_NE(
        std::find(body.begin(), body.end(),
                  right(81, "VALOR TOTAL DEL PRESUPUESTO                   $ " + Right(total, 18))),
        body.end());
  }
}

// The amounts of the subcontract and requirements listings, worked out by
// hand: each group value with its factor, the subcontracts' own AIU (not
// the analyses'), the adjusted price times the required quantity.
TEST_F(BudgetListingTest, SubcontractAndRequirementAmountsByHand) {
  Prefs().roundToPeso = false;  // money rounding to the cent
  GeneralDataRecord g{};
  GetRec(Area(kAreaGeneral).Data, 1, g.data());
  Set(g, general::AiuPerItem, 10.0L);
  Set(g, general::AiuPerItemForSubcontracts, 20.0L);
  PutGeneral(g);
  SubcontractRecord chapter{};
  Set(chapter, subcontract::Description, "ACABADOS");
  Store(kAreaSubcontracts, "01", chapter);
  SubcontractRecord sub{};
  Set(sub, subcontract::Description, "PINTURA");
  Set(sub, subcontract::Unit, "M2");
  Set(sub, subcontract::EquiposValue, 100.0L);
  Set(sub, subcontract::MaterialesValue, 200.0L);  // materials' factor 1.5: 300
  Set(sub, subcontract::ManoDeObraValue, 50.0L);
  Set(sub, subcontract::DirectCost, 450.0L);
  Store(kAreaSubcontracts, "01010", sub);
  ASSERT_TRUE(ListSubcontracts(1, 0));
  const std::vector<std::string> subBody = Body();
  ASSERT_EQ(subBody.size(), 4u);
  auto amount = [](const std::string& s) { return Right(s, 13) + " "; };
  EXPECT_EQ(subBody[3], " 01 010 " + Pad(Dotted("PINTURA"), 36) + Pad("M2", 6) + amount("100.00") +
                            amount("300.00") + Right("---- ", 14) + amount("50.00") +
                            amount("90.00") + amount("540.00"));
  CloseListingFile();
  EXPECT_NE(ListingHost::Slurp(Shell().listingFileName).find("(20.00%)AIU"), std::string::npos);

  EmptyListingFile();
  Input("02", "MATERIALES", "", 0, 0, 2);
  InputRecord brick{};
  Set(brick, input::Description, "LADRILLO");
  Set(brick, input::Unit, "UN");
  Set(brick, input::Price, 10.25L);              // 15.375 adjusted: 15.38
  Set(brick, input::RequiredQuantity, 3.3333L);  // 3.33 listed
  Store(kAreaInputs, "02010", brick);
  ASSERT_TRUE(ListRequirements(1, 0));
  const std::vector<std::string> reqBody = Body();
  ASSERT_EQ(reqBody.size(), 4u);
  auto wide = [](const std::string& s) { return Right(s, 19) + " "; };
  EXPECT_EQ(reqBody[3], " " + Pad("02 010", 15) + Pad(Dotted("LADRILLO"), 45) + Pad("UN", 6) +
                            wide("15.38") + wide("3.33") + wide("51.22"));
}

// A budget of many short chapters on dot-matrix pages: every page holds
// its header, at most PageLength - HeaderLines body lines (chapter
// headings, items and closings all counted) and its closing rule; the last
// one is filled to the foot.
TEST_F(BudgetListingTest, WorkBudgetPagesHoldWhatTheirLengthAllows) {
  Shell().obraSelected = true;
  Shell().viewMode = false;
  Prefs().dotMatrixPrinter = true;
  for (int c = 1; c <= 30; ++c) {
    const std::string code = (c < 10 ? "0" : "") + std::to_string(c);
    Chapter6(code, "CAPITULO " + code, 100);
    Item6(code + "010", "010010", "ITEM", "M2", 10, 10, 100);
  }
  ObraTotal(3000);
  ASSERT_TRUE(ListWorkBudget(1, 0));
  CloseListingFile();
  const std::string bytes = ListingHost::Slurp(Shell().listingFileName);
  std::vector<std::string> pages;
  for (size_t start = 0, at; (at = bytes.find("\x0c\r\n", start)) != std::string::npos;
       start = at + 3)
    pages.push_back(bytes.substr(start, at - start));
  ASSERT_GE(pages.size(), 4u);
  const int body = 53 - 9;
  for (size_t i = 0; i < pages.size(); ++i) {
    size_t lines = 0;
    for (size_t at = 0; (at = pages[i].find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    SCOPED_TRACE("page " + std::to_string(i + 1));
    // The header's 9 lines, the body, the closing rule.
    if (i + 1 < pages.size())
      EXPECT_LE(static_cast<int>(lines) - 10, body);
    else
      EXPECT_EQ(static_cast<int>(lines) - 10, body);
    EXPECT_NE(pages[i].find("Hoja [" + std::to_string(i + 1) + "] de ["), std::string::npos);
  }
  // Seven lines a chapter: six chapters fit on a page of 44 lines.
  EXPECT_NE(pages[0].find("CAPITULO 06 - "), std::string::npos);
  EXPECT_EQ(pages[0].find("CAPITULO 07 - "), std::string::npos);
}

// One analysis on each page: the lines stand under their headings (each
// column ends where its heading ends), the minor tools and waste lines
// too, and the last page is filled to its foot and no further.
TEST_F(BudgetListingTest, OnePerPageColumnsAndTheLastPage) {
  Input("01", "EQUIPOS", "", 0, 0, 1);
  const int16_t tool = AddCoded(kAreaInputs, "01010");
  {
    InputRecord in{};
    GetRec(Area(kAreaInputs).Data, tool, in.data());
    Set(in, input::Description, "MEZCLADORA");
    Set(in, input::Unit, "DIA");
    Set(in, input::Price, 1000.0L);
    PutRec(Area(kAreaInputs).Data, tool, in.data());
  }
  AnalysisRecord chapter{};
  Set(chapter, analysis::Description, "CONCRETOS");
  Store(kAreaAnalyses, "01", chapter);
  for (const char* code : {"010010", "010020"}) {
    AnalysisRecord a{};
    SetDefaultSections(a);
    Set(a, analysis::Description, "CONCRETO");
    Set(a, analysis::Unit, "M3");
    Set(a, analysis::GroupCount(1), uint8_t{1});
    AnalysisLine l{};
    Set(l, analysis_line::LineType, uint8_t{2});
    Set(l, analysis_line::RefCode, "01010");
    Set(l, analysis_line::RefRecNo, tool);
    Set(l, analysis_line::Quantity, 2.0L);
    Set(a, analysis::Lines(1), l);
    Set(a, analysis::HerramientaMenorPct, 5.0L);
    Set(a, analysis::ManoDeObraCost, 100.0L);
    Set(a, analysis::EquiposCost, 2005.0L);
    Set(a, analysis::DirectCost, 2105.0L);
    Set(a, analysis::UnitPrice, 2105.0L);
    Store(kAreaAnalyses, code, a);
  }
  ASSERT_TRUE(ListAnalysesOnePerPage(1, 0));
  CloseListingFile();
  const std::vector<std::string> lines = SplitLines(ListingHost::Slurp(Shell().listingFileName));
  const auto heading = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("CODIGO  MAQUINARIA") != std::string::npos;
  });
  ASSERT_NE(heading, lines.end());
  auto endOf = [&](const std::string& word) { return heading->find(word) + word.size(); };
  auto lineWith = [&](const std::string& text) {
    auto it = std::find_if(heading, lines.end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    return it == lines.end() ? std::string() : *it;
  };
  const std::string input = lineWith("MEZCLADORA");
  const std::string tools = lineWith("Herramienta menor");
  ASSERT_FALSE(input.empty());
  ASSERT_FALSE(tools.empty());
  EXPECT_EQ(input.find("DIA"), heading->find("UNIDAD"));
  // Amounts end one blank before where their heading ends.
  EXPECT_EQ(input.find("1,000.00") + 8, endOf("PRECIO"));
  EXPECT_EQ(input.find("2.00") + 4, endOf("CANTIDAD"));
  EXPECT_EQ(input.find("2,000.00") + 8, endOf("V/R PARCIAL"));
  EXPECT_EQ(tools.find("5.00") + 4, tools.find("% s/m. de o."));
  EXPECT_EQ(tools.rfind("5.00") + 4, endOf("V/R PARCIAL"));
  EXPECT_EQ(tools.size(), input.size());

  // Printed, pages end with a form feed; the last holds the 5 blank lines above the
  // header, the header's 7, its page body up to line 91 counted from line
  // 14, and the closing rule.
  Shell().viewMode = false;
  EmptyListingFile();
  ASSERT_TRUE(ListAnalysesOnePerPage(1, 0));
  CloseListingFile();
  const std::string bytes = ListingHost::Slurp(Shell().listingFileName);
  const size_t lastStart = bytes.rfind("\x0c\r\n", bytes.size() - 4) + 3;
  const std::vector<std::string> last = SplitLines(bytes.substr(lastStart));
  ASSERT_GE(last.size(), 2u);
  EXPECT_EQ(last.size(), 5u + 7u + (91u - 14u) + 1u + 1u);  // and the form feed's line
  EXPECT_NE(last[last.size() - 2].find(std::string(125, kRuleDouble)), std::string::npos);
}

}  // namespace
}  // namespace vantu::test
