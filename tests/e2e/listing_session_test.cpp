// The budget listings as a consultant reaches them: Ver before the
// calculation is refused, command I calculates, Ver shows the work budget
// in the viewer, and the printed analyses take the page range typed into
// the print selection.
#include <gtest/gtest.h>

#include <regex>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "console/keys.h"
#include "records/dataset_fixture.h"
#include "reports/listing_fixture.h"

namespace vantu {
namespace {

class ListingSessionTest : public test::DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    SetHost(&session);
    InstallFileSets();
    InstallEstimating();
    InstallCalculation();
    InstallReports();
    ResetListingState();
    GenerateDataset(SmallShape());  // as entered: not calculated
    OpenSet("A", "01");
    Selection().RamaCode = "A";
    Selection().ObraCode = "01";
    Shell().obraSelected = true;
    Shell().listingFileName = (root / "LPT").string();
    Shell().consultantName = "ING. ANA PEREZ";
    Prefs().dotMatrixPrinter = false;
    Prefs().oneAnalysisPerPage = true;
    EmptyListingFile();
  }
  void TearDown() override {
    ResetListingState();
    Hooks() = ShellHooks{};
    SetHost(&host);
    DatasetTest::TearDown();
  }

  // The page numbers "Hoja [n] de [m]" of a listing, in order.
  static std::vector<int> Pages(const std::string& text, int& total) {
    std::vector<int> pages;
    const std::regex hoja(R"(Hoja \[(\d+)\] de \[(\d+)\])");
    for (std::sregex_iterator it(text.begin(), text.end(), hoja), end; it != end; ++it) {
      pages.push_back(std::stoi((*it)[1]));
      total = std::stoi((*it)[2]);
    }
    return pages;
  }

  // Command K from the Ver menu, choosing option `option`, then Esc.
  void ViewListing(char option) {
    Shell().viewMode = true;
    session.QueueStep([option] {
      EXPECT_TRUE(ScreenContains("VISTA LISTADOS PARCIALES PRESUPUESTO")) << ScreenText();
      PushKey(static_cast<uint8_t>(option));
    });
    session.QueueStep([] { PushKey(kKeyEsc); });
    RunCommand('K');
  }

  // Command K from the Imprimir menu: the option, then the page range typed
  // into the print selection and confirmed, the print dialog accepted.
  void PrintListing(char option, const std::string& from, const std::string& to) {
    Shell().viewMode = false;
    session.QueueStep([option] {
      EXPECT_TRUE(ScreenContains("    LISTADOS PARCIALES PRESUPUESTO")) << ScreenText();
      PushKey(static_cast<uint8_t>(option));
    });
    session.TypeText(from);
    session.TypeKeys({kKeyEnter});
    session.TypeText(to);
    session.TypeKeys({kKeyEnter});
    session.QueueStep([] {
      EXPECT_TRUE(ScreenContains("Para  Listar  oprima [ Intro ]")) << ScreenText();
      PushKey(kKeyEnter);
    });
    session.AnswerPrintDialog(HeadlessHost::DialogOutcome::Accept);
  }

  test::ListingHost session;
};

TEST_F(ListingSessionTest, CalculateThenViewAndPrintPageRanges) {
  // Before the calculation the listings are refused.
  Shell().viewMode = true;
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("PRIMERO DEBE  REALIZAR LOS CALCULOS")) << ScreenText();
    PushKey(kKeyEsc);
  });
  RunCommand('K');
  EXPECT_TRUE(session.shown.empty());

  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("V/R TOTAL PRESUPUESTO ==>")) << ScreenText();
    PushKey(kKeyEsc);
  });
  RunCommand('I');
  ASSERT_EQ(Area(6).SavedSetSerial, Area(1).SavedSetSerial);

  // Ver, option 6: the work budget goes whole to the viewer.
  ViewListing('6');
  ASSERT_EQ(session.shown.size(), 1u);
  const std::string& budget = session.shown.front();
  EXPECT_NE(budget.find("P R E S U P U E S T O   D E   O B R A"), std::string::npos);
  EXPECT_NE(budget.find("VALOR TOTAL DEL PRESUPUESTO"), std::string::npos);
  int total = 0;
  const std::vector<int> pages = Pages(budget, total);
  ASSERT_FALSE(pages.empty());
  for (size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i], static_cast<int>(i) + 1);
  EXPECT_EQ(pages.back(), total);
  for (unsigned char b : budget) ASSERT_TRUE(b >= 32 || b == '\r' || b == '\n') << int(b);
  EXPECT_TRUE(session.printed.empty());

  // Imprimir, option 2 (one analysis on each page), pages 2 to 3.
  PrintListing('2', "2", "3");
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('K');
  ASSERT_EQ(session.printed.size(), 1u) << ScreenText();
  const std::string& printed = session.printed.front();
  int printedTotal = 0;
  EXPECT_EQ(Pages(printed, printedTotal), (std::vector<int>{2, 3}));
  EXPECT_GT(printedTotal, 3);
  EXPECT_EQ(printed.substr(0, 3), std::string{kCodeSI} + "\r\n") << "the selection's SI line";
  EXPECT_EQ(printed.find(kCodeFF, printed.find("Hoja [3]")), std::string::npos)
      << "no form feed after the last page";

  // A range without pages: the note, nothing printed.
  PrintListing('2', "5", "4");
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("<< Seleccion de paginas fuera de rango >>")) << ScreenText();
    PushKey(kKeyEsc);
  });
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('K');
  EXPECT_EQ(session.printed.size(), 1u);
  EXPECT_TRUE(session.ScriptDone());
}

}  // namespace
}  // namespace vantu
