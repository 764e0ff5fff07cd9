// A consultant's first day, through the whole program: a start in an empty
// project folder, a new Rama and Obra from the selection, the general data,
// three basic inputs, two analyses, a subcontract and a budget of two
// chapters, then command I; then "Ajuste al peso" is turned off, and later
// the IVA lowered, and the budget calculated again each time. The totals
// shown, the budget summary, the prices stored and the work budget listing
// are checked against the same budget worked out by hand. A last start
// finds nothing to calculate and shows the total the Obra keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/empty_folder_session.h"

namespace vantu {
namespace {

using test::CheckTheBudgetScreen;
using test::CheckTheStoredPrices;
using test::CheckTheSummary;
using test::CheckTheWorkBudgetListing;
using test::WorkItOut;

// The totals worked out by hand in hand_worked_budget.h, as the calculation
// window shows them: with "Ajuste al peso" (the preference of a new
// installation), and without it.
constexpr const char* kTotalInPesos = "V/R TOTAL PRESUPUESTO ==> $13'912.046,00 ";
constexpr const char* kTotalInCents = "V/R TOTAL PRESUPUESTO ==> $13'911.933,86 ";
// With the IVA lowered to 16 %: 16 % of the 5 % profit is 0.80 % of the
// direct cost 11502218.98, 92017.75184 -> 92017.75; 13802662.78 + 92017.75.
// Item 01010 at 20 m3 in place of 12.5: 20 x 502444 = 10048880, grand total
// 13802774 - 6280550 + 10048880 = 17571104, direct cost / 1.20 =
// 14642586.67 -> 14642587, IVA 0.95 % = 139104.58 -> 139105.
constexpr const char* kTotalWith20 = "V/R TOTAL PRESUPUESTO ==> $17'710.209,00 ";
// Item 02010 then left to be defined: 17571104 - 5586624 = 11984480, direct
// cost 9987066.67 -> 9987067, IVA 94877.14 -> 94877.
constexpr const char* kTotalUndefined = "V/R TOTAL PRESUPUESTO ==> $12'079.357,00 ";
constexpr const char* kTotalWithIva16 = "V/R TOTAL PRESUPUESTO ==> $13'894.680,53 ";

class EmptyFolderBudgetTest : public test::EmptyFolderSession {};

TEST_F(EmptyFolderBudgetTest, ABudgetBuiltFromNothingCalculatesToTheHandWorkedTotal) {
  EnterTheWholeBudget();
  Calculate(kTotalInPesos);
  host.QueueStep([this] {
    CheckTheSummary(WorkItOut(f, true));
    CheckTheGeneralData();
    CheckTheStoredPrices(f, WorkItOut(f, true), 1);
  });
  Menu('B');
  Calculate(kTotalInCents);
  host.QueueStep([this] { CheckTheSummary(WorkItOut(f, false)); });
  ShowTheBudgetScreen();
  LowerTheIva();
  Calculate(kTotalWithIva16);
  host.QueueStep([this] { CheckTheSummary(WorkItOut(f, false)); });
  ViewTheWorkBudget();
  host.QueueStep([] { PushKey(kKeyAltX); });
  host.AnswerBox(BoxAnswer::Yes);  // "Desea abandonar ahora ?"
  try {
    RunMain("vantu");
  } catch (...) {
    ADD_FAILURE() << "the session stopped early; the screen:\n" << ScreenText();
    for (const auto& b : host.Boxes()) ADD_FAILURE() << b.caption << ": " << b.text;
    throw;
  }
  EXPECT_TRUE(host.ScriptDone());
  for (const auto& b : host.Boxes()) EXPECT_EQ(b.text, "Desea abandonar ahora ?") << b.caption;
  ShellFinalize();
  CheckTheBudgetScreen(budgetScreen);
  ASSERT_EQ(host.shown.size(), 1u);
  CheckTheWorkBudgetListing(WorkItOut(f, false), host.shown[0]);
  // What the last run left on disk.
  OpenTheSet();
  CheckTheGeneralData();
  CheckTheStoredPrices(f, WorkItOut(f, false), 3);
  CloseTheSet();

  // The next start opens the set again: nothing to calculate, and the
  // small window shows the total the Obra keeps.
  ResetCoreState();
  SetHost(&host);
  InstallModules();
  host.QueueStep([] { EXPECT_TRUE(ScreenContains("[A] - EDIFICACIONES")) << ScreenText(); });
  Type("A");
  Type("01");
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("<<< CASA CAMPESTRE >>>")) << ScreenText();
    PushKey(kKeyEnter);
  });
  Menu('I');
  host.QueueStep([] {
    EXPECT_FALSE(ScreenContains("<<< CALCULO >>>")) << "the small window\n" << ScreenText();
    EXPECT_TRUE(ScreenContains(kTotalWithIva16)) << ScreenText();
    PushKey(kKeyEsc);
  });
  host.QueueStep([] { PushKey(kKeyAltX); });
  host.AnswerBox(BoxAnswer::Yes);
  RunMain("vantu");
  EXPECT_TRUE(host.ScriptDone());
}

// After the calculation the consultant changes the budget alone: a new
// quantity, then an item left to be defined; each run prices only the
// budget. Then an analysis the budget uses is deleted, and the next run
// finds the broken reference instead of calculating.
TEST_F(EmptyFolderBudgetTest, ChangesOfTheBudgetAloneAreCalculatedAlone) {
  EnterTheWholeBudget();
  Calculate(kTotalInPesos);
  Menu('H');
  Type("01010", {kKeyEnter, kKeyEnter, kKeyEnter});  // code, reference, description
  host.QueueStep([this] {
    f.q1 = 20;
    for (unsigned char ch : Amount(f.q1)) PushKey(ch);
    PushKey(kKeyEnter);
    PushKey(kKeyEsc);
  });
  Calculate(kTotalWith20, true);
  host.QueueStep([this] { CheckTheSummary(WorkItOut(f, true)); });
  Menu('H');
  Type("02010", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyF8});
  host.QueueStep([this] {
    EXPECT_NE(ScreenRow(16).find("Cantidad de Obra      : <POR DEFINIR>"), std::string::npos)
        << ScreenText();
    f.q2 = 0;  // an item to be defined counts for nothing
    PushKey(kKeyEsc);
  });
  Calculate(kTotalUndefined, true);
  host.QueueStep([this] { CheckTheSummary(WorkItOut(f, true)); });

  DeleteTheAnalysisTheBudgetUses();
  Menu('I');
  host.AnswerBox(BoxAnswer::No);  // "Desea revisarlos ahora ?"
  host.QueueStep([] { PushKey(kKeyAltX); });
  host.AnswerBox(BoxAnswer::Yes);
  RunMain("vantu");
  EXPECT_TRUE(host.ScriptDone());
  const std::vector<std::string> boxes = [this] {
    std::vector<std::string> texts;
    for (const auto& b : host.Boxes()) texts.push_back(b.text);
    return texts;
  }();
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       "Este Analisis Unitario es utilizado en el Presupuesto de Obra\r\r"
                       "Desea conocer ahora donde se utiliza ?",
                       "Confirma la Eliminacion ?",
                       "... Hay 1 Errores ...\r\rDesea revisarlos ahora ?",
                       "Desea abandonar ahora ?",
                   }));
}

}  // namespace
}  // namespace vantu
