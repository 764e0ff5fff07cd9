// Command N used as a planner would: keys, clicks and a drag over the
// chart, the help screens, the progress window, and the chart on disk.
#include <gtest/gtest.h>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "calc/run_window.h"
#include "console/zones.h"
#include "dataset_generator.h"
#include "schedule/schedule_file.h"
#include "schedule/schedule_fixture.h"

namespace vantu {
namespace {

using namespace schedule_file;

constexpr int kCellW = 9, kCellH = 18;

// 0-based screen cell of an activity (1-based) and period.
int Col0(int period) {
  return 41 + period;
}
int Row0(int activity) {
  return 4 + activity;
}

class ScheduleSessionTest : public test::ScheduleTest {
 protected:
  void SetUp() override {
    ScheduleTest::SetUp();
    InstallSchedule();
  }
  std::vector<int> Marks(const ScheduleBlock& b, int row) {
    std::vector<int> out;
    for (int p = 1; p <= kMaxPeriods; ++p)
      if (b.Cell(row, p) == kCellMarked) out.push_back(p);
    return out;
  }
  void Keys(std::vector<int> keys) { session.PushKeys(keys); }
};

TEST_F(ScheduleSessionTest, MarksByKeysClicksAndADragAreSaved) {
  WriteBudget(SmallBudget());
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find(" CRONOGRAMA DE OBRA "), std::string::npos);
    EXPECT_NE(ScreenRow(1).find("V/R : $3.000,00"), std::string::npos) << ScreenRow(1);
    EXPECT_NE(ScreenRow(3).find("P R E S U P U E S T O"), std::string::npos);
    EXPECT_NE(ScreenRow(4).find("Capitulos e Items"), std::string::npos);
    EXPECT_NE(ScreenRow(4).find("| Costo"), std::string::npos);
    EXPECT_NE(ScreenRow(3).find("a\xF1o #1"), std::string::npos);
    EXPECT_NE(ScreenRow(7).find("LOCALIZACION"), std::string::npos);
    EXPECT_EQ(static_cast<uint8_t>(ScreenRow(6)[Col0(1)]), 176);  // the chapter row
    EXPECT_EQ(static_cast<uint8_t>(ScreenRow(4)[78]), 16);        // more periods right
    PushKey(kKeyEnter);                                           // a chapter: nothing
    PushKey(kKeyHome);
    PushKey(kKeyDown);
    for (int i = 0; i < 4; ++i) PushKey(kKeyEnter);  // periods 1-4 of LOCALIZACION
    PushKey(kKeyBackspace);                          // back to 4 and cleared
  });
  session.Click(Col0(2), Row0(3));  // DESCAPOTE in period 2
  session.QueueStep([] {
    EXPECT_EQ(static_cast<uint8_t>(ScreenRow(8)[Col0(2)]), 219);
    MouseDown(Col0(4) * kCellW, Row0(5) * kCellH, MouseBtn::Left, kCellW, kCellH);
  });
  session.QueueStep([] { MouseMove(Col0(8) * kCellW, Row0(5) * kCellH, kCellW, kCellH); });
  session.QueueStep([] { MouseMove(Col0(6) * kCellW, Row0(5) * kCellH, kCellW, kCellH); });
  session.QueueStep([] {
    MouseUp();
    PushKey(kKeyEsc);
  });
  RunCommand('N');
  EXPECT_TRUE(session.ScriptDone());
  const ScheduleBlock b = StoredBlock();
  EXPECT_EQ(b.Cell(1, 1), kCellChapter);
  EXPECT_EQ(Marks(b, 2), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Marks(b, 3), (std::vector<int>{2}));
  EXPECT_EQ(Marks(b, 5), (std::vector<int>{4, 5, 6}));  // dragged to 8, back to 6
  EXPECT_EQ(b.Length(), 6);
  EXPECT_EQ(b.YearBlocks(), 1);
  EXPECT_EQ(b.Complete(), 1);
  EXPECT_EQ(b.ScheduleChanged(), 1);
}

TEST_F(ScheduleSessionTest, DoubleClickRestoresAndWeeksReplaceMonths) {
  WriteBudget(SmallBudget());
  session.Click(Col0(5), Row0(2));
  session.Click(Col0(5), Row0(2));
  session.QueueStep([] {
    EXPECT_EQ(static_cast<uint8_t>(ScreenRow(7)[Col0(5)]), 250);
    PushKey(kKeyF3);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(3).find(" semanas "), std::string::npos);
    EXPECT_EQ(ScreenRow(5)[Col0(13)], '3');  // week 13, not month 1
    EXPECT_EQ(ScreenRow(4)[Col0(13)], '1');
    for (int i = 0; i < 40; ++i) PushKey(kKeyRight);
  });
  session.QueueStep([] {
    EXPECT_EQ(static_cast<uint8_t>(ScreenRow(4)[41]), 17);  // periods to the left
    PushKey(kKeyEsc);
  });
  RunCommand('N');
  const ScheduleBlock b = StoredBlock();
  EXPECT_TRUE(Marks(b, 2).empty());
  EXPECT_EQ(b.PeriodKind(), kWeeks);
  EXPECT_EQ(b.Complete(), 0);
}

TEST_F(ScheduleSessionTest, HelpScreensAndTheProgressWindow) {
  WriteBudget(SmallBudget());
  // Rows 2, 3 and 5 marked in periods 1-2, 2 and 3 through the mouse.
  session.Click(Col0(1), Row0(2));
  session.Click(Col0(2), Row0(2));
  session.Click(Col0(2), Row0(3));
  session.Click(Col0(3), Row0(5));
  session.QueueStep([] { PushKey(kKeyCtrlF1); });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" COMANDOS PROGRAMACION "));
    EXPECT_TRUE(ScreenContains("marca actividad en un periodo"));
    EXPECT_TRUE(ScreenContains("cambia alcance programacion CAPITULO/ITEM"));
    PushKey(kKeyCtrlF1);
  });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" COMANDOS PROGRAMACION (MOUSE) "));
    PushKey(kKeyEsc);
  });
  session.QueueStep([] { PushKey(kKeyF5); });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" AVANCE DE OBRA POR PERIODO Y ACUMULADA  (GRAFICO) "));
    // LOCALIZACION 1000 over 1-2, DESCAPOTE 500 in 2, EXCAVACION 1500 in 3,
    // in the default number style (decimal comma).
    EXPECT_NE(ScreenRow(4).find("500,00"), std::string::npos) << ScreenRow(4);
    EXPECT_NE(ScreenRow(5).find("1.000,00"), std::string::npos) << ScreenRow(5);
    EXPECT_NE(ScreenRow(5).find("1.500,00"), std::string::npos) << ScreenRow(5);
    EXPECT_NE(ScreenRow(6).find("3.000,00"), std::string::npos) << ScreenRow(6);
    EXPECT_NE(ScreenRow(6).find("100,00"), std::string::npos) << ScreenRow(6);
  });
  session.Click(10, 4);  // the line of period 2
  session.QueueStep([] {
    EXPECT_EQ(Schedule().period, 2);
    EXPECT_FALSE(ScreenContains("AVANCE DE OBRA"));
    PushKey(kKeyEsc);
  });
  RunCommand('N');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(StoredBlock().Length(), 3);
}

TEST_F(ScheduleSessionTest, TheScopeSwitchesAfterConfirmation) {
  WriteBudget(SmallBudget());
  session.AnswerBox(BoxAnswer::Yes);
  session.QueueStep([] {
    PushKey(kKeyDown);
    PushKey(kKeyEnter);
    PushKey(kKeyF8);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(4).find("Solo Capitulos"), std::string::npos);
    EXPECT_NE(ScreenRow(6).find("PRELIMINARES"), std::string::npos);
    EXPECT_NE(ScreenRow(7).find("CIMENTACION"), std::string::npos);
    PushKey(kKeyEsc);
  });
  RunCommand('N');
  EXPECT_EQ(session.Boxes().back().text, "Confirma la supresion de los ITEMS ?");
  const ScheduleBlock b = StoredBlock();
  EXPECT_EQ(b.Scope(), kScopeChapters);
  EXPECT_EQ(b.ActivityCount(), 2);
  EXPECT_TRUE(Marks(b, 2).empty());
  EXPECT_EQ(b.Cell(1, 1), kCellFree);
}

// A generated Obra: refused before the calculation, planned after it.
TEST_F(ScheduleSessionTest, CalculateThenPlanAGeneratedObra) {
  CloseSet();
  dataset::DatasetShape shape = SmallShape();
  shape.budgetRecords = 40;
  dataset::GenerateDataset(shape);
  OpenSet("A", "01");
  InstallCalculation();
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("PRIMERO DEBE  REALIZAR LOS CALCULOS"));
    PushKey(kKeyEsc);
  });
  RunCommand('N');
  session.QueueStep([] { PushKey(kKeyEsc); });  // the calculation's window
  RunCommand('I');
  EXPECT_EQ(Area(6).SavedChangeMarker, 0);
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" CRONOGRAMA DE OBRA "));
    for (int i = 0; i < 30; ++i) PushKey(kKeyDown), PushKey(kKeyEnter);
    PushKey(kKeyEsc);
  });
  RunCommand('N');
  EXPECT_TRUE(session.ScriptDone());
  const ScheduleBlock b = StoredBlock();
  EXPECT_GT(b.ActivityCount(), 0);
  EXPECT_GE(b.Length(), 1);
}

}  // namespace
}  // namespace vantu
