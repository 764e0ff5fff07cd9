// What a consultant does in the same run that created the Rama and Obra:
// the schedule planned, left and opened again, and the listings that read
// the Obra's data, without a restart in between.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/empty_folder_session.h"
#include "schedule/schedule_file.h"
#include "session/selection_state.h"

namespace vantu {
namespace {

using namespace schedule_file;

constexpr const char* kTotalInPesos = "V/R TOTAL PRESUPUESTO ==> $13'912.046,00 ";

// The chart's screen cell of an activity (1-based) and period, 0-based.
int ChartColumn(int period) {
  return 41 + period;
}
int ChartRow(int activity) {
  return 4 + activity;
}
constexpr uint8_t kMarkGlyph = 219;

class SameRunSessionTest : public test::EmptyFolderSession {
 protected:
  // The whole budget of the fixture, calculated.
  void BuildAndCalculate() {
    EnterTheWholeBudget();
    Calculate(kTotalInPesos);
  }
  static ScheduleBlock StoredChart() {
    ScheduleBlock b;
    std::string why;
    const std::string path =
        (std::filesystem::path(DocumentsRoot()) / "Vantu" / "Apr06cro.A01").string();
    EXPECT_EQ(ReadScheduleFile(path, b, why), ScheduleRead::Loaded) << why;
    return b;
  }
};

// Rows of the budget as the chart shows them: chapter 01, item 010,
// chapter 02, items 010, 020, 030. Each item is marked from period 1 on.
void MarkEveryItem() {
  const std::vector<std::pair<int, int>> rows = {{1, 2}, {2, 1}, {1, 3}, {1, 1}};  // downs, marks
  for (const auto& [downs, marks] : rows) {
    for (int i = 0; i < downs; ++i) PushKey(kKeyDown);
    PushKey(kKeyHome);
    for (int i = 0; i < marks; ++i) PushKey(kKeyEnter);
  }
  PushKey(kKeyEsc);
}

TEST_F(SameRunSessionTest, AScheduleMadeInTheRunThatCreatedItsObraIsKept) {
  BuildAndCalculate();
  Menu('N');
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" CRONOGRAMA DE OBRA ")) << ScreenText();
    MarkEveryItem();
  });
  Menu('N');
  host.QueueStep([] {
    EXPECT_FALSE(ScreenContains("CRONOGRAMA BORRADO")) << ScreenText();
    // Item 010 of chapter 01 in periods 1 and 2, item 020 in 1 to 3.
    EXPECT_EQ(static_cast<uint8_t>(ScreenRow(ChartRow(2) + 1)[ChartColumn(2)]), kMarkGlyph)
        << ScreenText();
    EXPECT_EQ(static_cast<uint8_t>(ScreenRow(ChartRow(5) + 1)[ChartColumn(3)]), kMarkGlyph);
    EXPECT_NE(static_cast<uint8_t>(ScreenRow(ChartRow(6) + 1)[ChartColumn(2)]), kMarkGlyph);
    PushKey(kKeyEsc);
  });
  // Ver, the partial schedule listings, the execution graph.
  host.QueueStep([] {
    Shell().viewMode = true;
    PushCommand('P');
  });
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("VISTA LISTADOS PARCIALES PROGRAMACION")) << ScreenText();
    PushKey('2');
  });
  host.QueueStep([] {
    EXPECT_FALSE(ScreenContains("INCOMPLETA")) << ScreenText();
    PushKey(kKeyEsc);
  });
  Quit();
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_NE(host.shown[0].find("EJECUCION"), std::string::npos);
  const ScheduleBlock b = StoredChart();
  EXPECT_EQ(b.Complete(), 1);
  EXPECT_EQ(b.Length(), 3);
  EXPECT_EQ(b.Cell(2, 2), kCellMarked);
  EXPECT_EQ(b.Cell(5, 3), kCellMarked);
  EXPECT_EQ(b.Cell(6, 2), kCellFree);
}

// The listings' headers name the Obra by the reference and the budget date
// entered in this run, and follow a later change of them in D.
TEST_F(SameRunSessionTest, ListingHeadersNameTheObraAsEnteredInTheRun) {
  EnterTheWholeBudget();
  Menu('D');
  Type("", {kKeyDown, kKeyDown});  // to the Obra's reference
  Type("CONTRATO 16-2026");        // the date's calendar follows
  host.QueueStep([] { PushKey(kKeyEsc); });
  Calculate(kTotalInPesos);
  ViewTheWorkBudget();
  Quit();
  ASSERT_EQ(host.shown.size(), 1u);
  const std::string& listing = host.shown[0];
  EXPECT_NE(listing.find("CASA CAMPESTRE"), std::string::npos);
  EXPECT_NE(listing.find("CONTRATO 16-2026"), std::string::npos) << listing.substr(0, 800);
  EXPECT_EQ(listing.find("CONTRATO 15-2026"), std::string::npos);
  EXPECT_NE(listing.find("20/11/26"), std::string::npos) << listing.substr(0, 800);
}

// The main menu names the open Rama and Obra, as the general data name them
// from the moment they are entered.
TEST_F(SameRunSessionTest, TheMainMenuNamesTheOpenRamaAndObra) {
  SelectNewRamaAndObra();
  GeneralData();
  host.QueueStep([] {
    EXPECT_TRUE(Shell().atMainMenu);
    EXPECT_NE(ScreenRow(11).find("RAMA : [A] - EDIFICACIONES"), std::string::npos) << ScreenText();
    EXPECT_NE(ScreenRow(13).find("OBRA : 01 - CASA CAMPESTRE"), std::string::npos) << ScreenText();
  });
  Quit();
}

// Asked to review the errors now, the consultant is back at the main menu,
// which says how to walk them.
TEST_F(SameRunSessionTest, TheMainMenuSaysHowToWalkTheErrors) {
  EnterTheWholeBudget();
  DeleteTheAnalysisTheBudgetUses();
  Menu('I');
  host.AnswerBox(BoxAnswer::Yes);  // "Desea revisarlos ahora ?"
  host.QueueStep([] {
    EXPECT_TRUE(Shell().atMainMenu);
    EXPECT_NE(ScreenRow(17).find("REVISION DE ERRORES: 1"), std::string::npos) << ScreenText();
    EXPECT_NE(ScreenRow(19).find("CtrlAvPag: error siguiente"), std::string::npos);
    PushKey(kKeyCtrlEnd);
  });
  Quit();
}

// A menu entry chosen while a listing sub-menu is open runs its command.
TEST_F(SameRunSessionTest, AMenuCommandLeavesAListingSubMenuAndRuns) {
  BuildAndCalculate();
  host.QueueStep([] {
    Shell().viewMode = true;
    PushCommand('K');
  });
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("VISTA LISTADOS PARCIALES PRESUPUESTO")) << ScreenText();
    PushCommand('E');
  });
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find("Insumos Basicos"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
  Quit();
}

}  // namespace
}  // namespace vantu
