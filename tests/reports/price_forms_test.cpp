// The price-update forms on small hand-built sets, read line by line
// against texts built from their column rules: the ruled cells, the dates
// marked bold from the age limit on, the last page filled with empty rows,
// the Obra filter, the order of the global prices, and commands L and M.
#include "reports/price_forms.h"

#include <filesystem>
#include <fstream>

#include "records/analysis_records.h"
#include "records/coded_records.h"
#include "records/general_record.h"
#include "reports/listing_engine.h"
#include "reports/listing_fixture.h"
#include "reports/price_forms_command.h"
#include "storage/file_sets_fixture.h"

namespace vantu::test {
namespace {

const std::string kBar = "\xB3";
const std::string kBoldOn = "\x1BG";
const std::string kBoldOff = "\x1BH";
const std::vector<int> kCodedCells = {9, 52, 8, 15, 12, 15};
const std::vector<int> kGlobalCells = {47, 36, 14, 11, 14};

std::string Pad(const std::string& s, size_t w) {
  return s + std::string(w - s.size(), ' ');
}
std::string Right(const std::string& s, size_t w) {
  return std::string(w - s.size(), ' ') + s;
}
// A rule across the cells with its four pieces.
std::string Rule(const std::vector<int>& cells, int left, int fill, int junction, int right) {
  std::string s(1, static_cast<char>(left));
  for (size_t i = 0; i < cells.size(); ++i)
    s += std::string(static_cast<size_t>(cells[i]), static_cast<char>(fill)) +
         static_cast<char>(i + 1 == cells.size() ? right : junction);
  return s;
}
std::string EmptyCells(const std::vector<int>& cells) {
  std::string s = kBar;
  for (int w : cells) s += std::string(static_cast<size_t>(w), ' ') + kBar;
  return s;
}

class PriceFormTest : public FileSetsTest {
 protected:
  void SetUp() override {
    FileSetsTest::SetUp();
    SetHost(&listingHost);
    ResetListingState();
    Shell().listingFileName = (root / "prog" / "LPT").string();
    Shell().consultantName = "CONSULTOR";
    Prefs() = DefaultPreferences();
    Prefs().englishUnits = true;
    Prefs().dotMatrixPrinter = true;
    Selection().RamaName = "RAMA";
    Selection().TodayDate = "07/12/26";
    OpenSet("A", "01");
    EmptyListingFile();
  }
  void TearDown() override {
    ResetListingState();
    FileSetsTest::TearDown();
  }
  template <class R>
  void Store(int area, const std::string& code, R rec) {
    const int16_t r = AddCoded(area, code);
    Set(rec, coded::Code, code);
    PutRec(Area(area).Data, r, rec.data());
  }
  void Input(const std::string& code, const std::string& description, const std::string& unit,
             long double price, const std::string& date, int16_t stamp = 0) {
    InputRecord in{};
    Set(in, input::Description, description);
    Set(in, coded::CreatedDate, date);
    Set(in, coded::CalcStamp, stamp);
    if (code.size() > 2) {
      Set(in, input::Unit, unit);
      Set(in, input::Price, price);
    }
    Store(kAreaInputs, code, in);
  }
  void Subcontract(const std::string& code, const std::string& description, const std::string& unit,
                   long double direct, const std::string& date, int16_t stamp) {
    SubcontractRecord s{};
    Set(s, subcontract::Description, description);
    Set(s, coded::CreatedDate, date);
    Set(s, coded::CalcStamp, stamp);
    if (code.size() > 2) {
      Set(s, subcontract::Unit, unit);
      Set(s, subcontract::DirectCost, direct);
    }
    Store(kAreaSubcontracts, code, s);
  }
  void Global(const std::string& owner, const std::string& ownerDescription,
              const std::string& description, long double price, const std::string& date,
              int16_t status = 0) {
    GlobalPriceRecord g{};
    int16_t r = 0;
    AddRec(Area(kAreaGlobals).Data, r, g.data());
    Set(g, global_price::RecordStatus, status);
    Set(g, global_price::OwnRecNo, r);
    Set(g, global_price::PriceDate, date);
    Set(g, global_price::Description, description);
    Set(g, global_price::OwnerCode, owner);
    Set(g, global_price::OwnerDescription, ownerDescription);
    Set(g, global_price::GlobalPrice, price);
    PutRec(Area(kAreaGlobals).Data, r, g.data());
  }

  std::vector<std::string> Lines() {
    CloseListingFile();
    return SplitLines(ListingHost::Slurp(Shell().listingFileName));
  }
  // A written line: the margin, then the text.
  static std::string At(int margin, const std::string& text) {
    return std::string(static_cast<size_t>(margin), ' ') + text;
  }
  // The date cell of the inputs and subcontracts forms, bold or not.
  static std::string Date12(const std::string& date, bool bold) {
    const std::string cell = "  " + date + "  ";
    return bold ? kBoldOn + cell + kBoldOff : cell;
  }
  static std::string CodedRow(const std::string& code, const std::string& description,
                              const std::string& unit, const std::string& amount,
                              const std::string& date) {
    return kBar + Pad(code, 9) + kBar + Pad(" " + description, 52) + kBar + Pad(" " + unit, 8) +
           kBar + Right(amount, 14) + " " + kBar + date + kBar + std::string(15, ' ') + kBar;
  }

  ListingHost listingHost;
};

// Printed on a dot-matrix printer: margin 10 + (125 - 118) div 2, pages of
// 53 lines after 9 header lines, bold codes around the old dates.
TEST_F(PriceFormTest, InputsFormMarksDatesFromTheAgeLimitAndFillsTheLastPage) {
  Input("01", "MATERIALES", "", 0, "");
  Input("01010", "CEMENTO", "BULTO", 20000, "07/12/26");  // today
  Input("01020", "ARENA", "M3", 1234.5, "08/09/26");      // 89 days old
  Input("01030", "GRAVA", "M3", 0.125, "07/09/26");       // 90 days: the limit
  Input("01040", "LADRILLO", "UN", 0, "06/09/26");        // 91 days
  ASSERT_EQ(Listing().oldPriceDays, 90);
  ASSERT_TRUE(FormBasicInputs(1, 0));
  const int m = 13;
  const std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 9u);
  EXPECT_EQ(lines[6], At(m, Rule(kCodedCells, 213, 205, 224, 184)));
  const std::string heading = kBar + " CODIGO  " + kBar +
                              "          D  E  S  C  R  I  P  C  I  O  N           " + kBar +
                              " UNIDAD " + kBar + "  P R E C I O  " + kBar + " F E C H A  " + kBar +
                              " NUEVO  PRECIO " + kBar;
  ASSERT_EQ(heading.size(), 118u);
  EXPECT_EQ(lines[7], kBoldOn + At(m, heading));
  EXPECT_EQ(lines[8], kBoldOff + At(m, Rule(kCodedCells, 198, 205, 216, 181)));

  const std::string between = At(m, Rule(kCodedCells, 195, 196, 197, 180));
  std::vector<std::string> expected = {
      At(m, kBar + std::string(9, ' ') + kBar + kBoldOn + Pad(" CAPITULO 01 - MATERIALES", 52) +
                kBoldOff + kBar + std::string(8, ' ') + kBar + std::string(15, ' ') + kBar +
                std::string(12, ' ') + kBar + std::string(15, ' ') + kBar),
      between,
      At(m, CodedRow(" 01 010", "CEMENTO", "BULTO", "20,000.00", Date12("07/12/26", false))),
      between,
      // The price as stored, without the group factor.
      At(m, CodedRow(" 01 020", "ARENA", "M3", "1,234.50", Date12("08/09/26", false))),
      between,
      At(m, CodedRow(" 01 030", "GRAVA", "M3", "0.1250", Date12("07/09/26", true))),
      between,
      At(m, CodedRow(" 01 040", "LADRILLO", "UN", "----", Date12("06/09/26", true))),
      between,
  };
  // Rows of two lines fill the page from line 9 + 10 up to line 53.
  for (int line = 9 + 10; line < 53; line += 2) {
    expected.push_back(At(m, EmptyCells(kCodedCells)));
    expected.push_back(between);
  }
  expected.push_back(At(m, Rule(kCodedCells, 212, 205, 207, 190)));
  expected.push_back(std::string(1, kCodeFF));
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.end()), expected);
}

// 22 rows of two lines fill a page of 53 lines after its 9 header lines;
// the 23rd row opens the second page, which is ruled to its bottom too.
TEST_F(PriceFormTest, PagesCloseWithTheBottomLineAndTheLastIsFilled) {
  for (int i = 1; i <= 23; ++i) {
    const std::string digits = std::to_string(100 + i).substr(1);
    Input("010" + digits, "INSUMO " + digits, "UN", i, "07/12/26");
  }
  ASSERT_TRUE(FormBasicInputs(1, 0));
  const std::vector<std::string> lines = Lines();
  const size_t page = 9 + 44 + 2;
  ASSERT_EQ(lines.size(), 2 * page);
  const std::string bottom = At(13, Rule(kCodedCells, 212, 205, 207, 190));
  const std::string ff(1, kCodeFF);
  for (size_t p : {size_t{0}, page}) {
    SCOPED_TRACE("page starting at line " + std::to_string(p));
    EXPECT_NE(lines[p + 5].find("Hoja [" + std::to_string(p / page + 1) + "] de [2]"),
              std::string::npos);
    EXPECT_EQ(lines[p + page - 2], bottom);
    EXPECT_EQ(lines[p + page - 1], ff);
  }
  EXPECT_EQ(lines[9 + 2 * 21],
            At(13, CodedRow(" 01 022", "INSUMO 22", "UN", "22.00", Date12("07/12/26", false))));
  EXPECT_EQ(lines[page + 9],
            At(13, CodedRow(" 01 023", "INSUMO 23", "UN", "23.00", Date12("07/12/26", false))));
  EXPECT_EQ(lines[page + 11], At(13, EmptyCells(kCodedCells)));
}

TEST_F(PriceFormTest, AgeLimitOfZeroMarksEveryDate) {
  Input("01010", "CEMENTO", "BULTO", 1, "07/12/26");
  Listing().oldPriceDays = 0;
  ASSERT_TRUE(FormBasicInputs(1, 0));
  const std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 9u);
  EXPECT_EQ(lines[9],
            At(13, CodedRow(" 01 010", "CEMENTO", "BULTO", "1.00", Date12("07/12/26", true))));
}

// In the viewer: margin 1, no codes, no filling of the last page.
TEST_F(PriceFormTest, SubcontractsFormListsOnlyWhatTheObraUses) {
  Shell().viewMode = true;
  Shell().obraSelected = true;
  Area(kAreaSubcontracts).SavedSetSerial = 7;
  Subcontract("01", "CUBIERTAS", "", 0, "", 0);
  Subcontract("01010", "TEJA", "M2", 4500.25, "01/12/26", 7);
  Subcontract("01020", "CANAL", "ML", 300, "01/01/20", 6);
  Subcontract("02", "SIN USO", "", 0, "", 0);
  Subcontract("02010", "PISCINA", "UN", 9, "01/12/26", 3);
  ASSERT_TRUE(FormSubcontracts(1, 0));
  const std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 9u);
  EXPECT_EQ(lines[7], At(1, kBar + " CODIGO  " + kBar +
                                "          D  E  S  C  R  I  P  C  I  O  N           " + kBar +
                                " UNIDAD " + kBar + " COSTO DIRECTO " + kBar + " F E C H A  " +
                                kBar + "  NUEVO COSTO  " + kBar));
  const std::string between = At(1, Rule(kCodedCells, 195, 196, 197, 180));
  const std::vector<std::string> expected = {
      At(1, kBar + std::string(9, ' ') + kBar + Pad(" CAPITULO 01 - CUBIERTAS", 52) + kBar +
                std::string(8, ' ') + kBar + std::string(15, ' ') + kBar + std::string(12, ' ') +
                kBar + std::string(15, ' ') + kBar),
      between,
      At(1, CodedRow(" 01 010", "TEJA", "M2", "4,500.25", Date12("01/12/26", false))),
      between,
      At(1, Rule(kCodedCells, 212, 205, 207, 190)),
      "",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.end()), expected);

  // Nothing the Obra used: the form is empty and counted so.
  Area(kAreaSubcontracts).SavedSetSerial = 8;
  EmptyListingFile();
  Listing().quietEmpty = true;
  EXPECT_FALSE(FormSubcontracts(1, 0));
  EXPECT_EQ(Listing().emptyListingCount, 1);
}

TEST_F(PriceFormTest, GlobalPricesFollowTheCodesOfTheirAnalysesAndTheIndexGoes) {
  Shell().viewMode = true;
  Global("020010", "MURO", "ANDAMIO", 150, "07/12/26");
  Global("010020", "EXCAVACION", "BOMBEO", 80.5, "01/01/25");
  Global("010020", "EXCAVACION", "RETIRO", 0, "07/12/26", global_price::kFree);
  Global("010010", "LOCALIZACION", "TOPOGRAFIA", 1000, "07/12/26");
  ASSERT_TRUE(WritePriceForm(PriceForm::GlobalPrices, 1, 0));
  for (const auto& entry : std::filesystem::directory_iterator(root / "prog"))
    EXPECT_EQ(entry.path().filename().string(), "LPT");
  const std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 9u);
  EXPECT_EQ(lines[7], At(1, kBar + "    ITEM UNITARIO A QUE PERTENECE EL GLOBAL    " + kBar +
                                "     DESCRIPCION   DEL   GLOBAL     " + kBar + "  P R E C I O " +
                                kBar + " F E C H A " + kBar + " NUEVO PRECIO " + kBar));
  auto row = [](const std::string& owner, const std::string& description, const std::string& amount,
                const std::string& date) {
    return At(1, kBar + Pad(owner, 47) + kBar + Pad(" " + description, 36) + kBar +
                     Right(amount, 13) + " " + kBar + Pad(" " + date, 11) + kBar +
                     std::string(14, ' ') + kBar);
  };
  const std::string between = At(1, Rule(kGlobalCells, 195, 196, 197, 180));
  const std::vector<std::string> expected = {
      row(" 01 0010 LOCALIZACION", "TOPOGRAFIA", "1,000.00", "07/12/26"),
      between,
      row(" 01 0020 EXCAVACION", "BOMBEO", "80.50", "01/01/25"),
      between,
      row(" 02 0010 MURO", "ANDAMIO", "150.00", "07/12/26"),
      between,
      At(1, Rule(kGlobalCells, 212, 205, 207, 190)),
      "",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.end()), expected);
}

TEST_F(PriceFormTest, EmptyFilesAreReportedAndCounted) {
  Listing().quietEmpty = true;
  EXPECT_FALSE(FormBasicInputs(1, 0));
  EXPECT_FALSE(WritePriceForm(PriceForm::GlobalPrices, 1, 0));
  // A global price on the free list is no price to review.
  Global("010010", "X", "Y", 1, "07/12/26", global_price::kFree);
  EXPECT_FALSE(WritePriceForm(PriceForm::GlobalPrices, 1, 0));
  EXPECT_FALSE(FormSubcontracts(1, 0));
  EXPECT_EQ(Listing().emptyListingCount, 4);
}

class PriceFormCommandTest : public PriceFormTest {
 protected:
  void SetUp() override {
    PriceFormTest::SetUp();
    for (int n = kAreaGeneral; n <= kAreaBudget; ++n) Area(n).SavedChangeMarker = 0;
  }
  std::string ScreenAtNextKey() {
    std::string seen;
    listingHost.QueueStep([&] { seen = ScreenText(); });
    return seen;
  }
};

TEST_F(PriceFormCommandTest, PartialFormsGoToTheViewerFromTheMenu) {
  Shell().viewMode = true;
  Input("01010", "CEMENTO", "BULTO", 1, "07/12/26");
  std::string menu;
  listingHost.QueueStep([&] {
    menu = ScreenText();
    PushKey('1');
  });
  listingHost.QueueStep([] { PushKey(kKeyEsc); });
  PartialPriceForms();
  EXPECT_NE(menu.find("  VISTA LISTADOS PARCIALES FORMULARIOS "), std::string::npos);
  EXPECT_NE(menu.find("   2 - Formulario Precios Globales   "), std::string::npos);
  ASSERT_EQ(listingHost.shown.size(), 1u);
  const std::vector<std::string> lines = SplitLines(listingHost.shown[0]);
  ASSERT_GT(lines.size(), 9u);
  EXPECT_NE(lines[2].find("F O R M U L A R I O   P A R A   A C T U A L I Z A C I O N   D E   "
                          "P R E C I O S   B A S I C O S"),
            std::string::npos);
  EXPECT_EQ(lines[9],
            At(1, CodedRow(" 01 010", "CEMENTO", "BULTO", "1.00", Date12("07/12/26", false))));
}

// L prints every ticked form whole, each after its separator page; a form
// with nothing to list is passed over in silence, and when all are empty
// one note says so and nothing is printed.
TEST_F(PriceFormCommandTest, TotalPrintsTheTickedFormsAndReportsAnAllEmptyRun) {
  Prefs().dotMatrixPrinter = false;
  Input("01010", "CEMENTO", "BULTO", 1, "07/12/26");
  Subcontract("01010", "TEJA", "M2", 2, "07/12/26", 0);
  const std::string inputsTitle = "P R E C I O S   B A S I C O S";
  const std::string subcontractsTitle = "D E   S U B C O N T R A T O S";
  listingHost.QueueStep([] { PushKey(kKeyEnter); });  // the age of old prices
  listingHost.QueueStep([] { PushKey(kKeyEnter); });  // the confirmation
  listingHost.AnswerPrintDialog(HeadlessHost::DialogOutcome::Accept);
  TotalPriceForms();
  ASSERT_EQ(listingHost.printed.size(), 1u);
  const std::string& printed = listingHost.printed[0];
  EXPECT_NE(printed.find(inputsTitle), std::string::npos);
  EXPECT_NE(printed.find(subcontractsTitle), std::string::npos);
  EXPECT_EQ(printed.find("G L O B A L E S"), std::string::npos);

  // Only the empty form ticked: the run is empty as a whole.
  Prefs().totalFormParts = {false, true, false};
  std::string screen;
  listingHost.QueueStep([] { PushKey(kKeyEnter); });
  listingHost.QueueStep([] { PushKey(kKeyEnter); });
  listingHost.AnswerPrintDialog(HeadlessHost::DialogOutcome::Accept);
  listingHost.QueueStep([&] {
    screen = ScreenText();
    PushKey(kKeyEnter);
  });
  TotalPriceForms();
  EXPECT_NE(screen.find("<< La Rama y/o la Obra no tiene datos >>"), std::string::npos);
  EXPECT_EQ(listingHost.printed.size(), 1u);
}

TEST_F(PriceFormCommandTest, DataChangedSinceTheCalculationStopsBothCommands) {
  Input("01010", "CEMENTO", "BULTO", 1, "07/12/26");
  for (void (*command)() : {TotalPriceForms, PartialPriceForms}) {
    Area(kAreaInputs).SavedChangeMarker = 1;
    std::string screen;
    listingHost.QueueStep([&] {
      screen = ScreenText();
      PushKey(kKeyEnter);
    });
    command();
    EXPECT_NE(screen.find("... PRIMERO DEBE  REALIZAR LOS CALCULOS ..."), std::string::npos);
    EXPECT_TRUE(listingHost.shown.empty());
    EXPECT_TRUE(listingHost.printed.empty());
  }
}

}  // namespace
}  // namespace vantu::test
