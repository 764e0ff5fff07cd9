// Command I in its window: the progress goes into the screen at every
// record, the host gets its turn by the clock.
#include "calc/run_window.h"

#include <gtest/gtest.h>

#include "calc/calc_state.h"
#include "console/keys.h"
#include "records/dataset_fixture.h"
#include "session/selection_state.h"
#include "support/clocked_host.h"

namespace vantu::test {
namespace {

class RunWindowTest : public DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    ResetCalc();
    shape = SmallShape();
    dataset::GenerateDataset(shape);
    OpenSet("A", "01");
    Selection().RamaCode = "A";
    Selection().ObraCode = "01";
    for (int n = 1; n <= 6; ++n) Area(n).SavedChangeMarker = 1;
    SetHost(&clocked);
  }
  void TearDown() override {
    SetHost(&host);
    DatasetTest::TearDown();
  }

  dataset::DatasetShape shape;
  ClockedHost clocked;
};

TEST_F(RunWindowTest, TheHostGetsATurnPerIntervalNotPerRecord) {
  // Each record reads the clock about once: 0.1 ms a reading makes the
  // run's hundreds of records a few intervals long.
  clocked.autoStep = std::chrono::microseconds(100);
  int turnsInRun = 0;
  clocked.QueueStep([&, this] {
    turnsInRun = clocked.turns;
    EXPECT_TRUE(ScreenContains("V/R TOTAL PRESUPUESTO")) << ScreenText();
    // Each step's line ends at its last record, with nothing left behind.
    const std::string inputs = std::to_string(shape.inputRecords);
    EXPECT_TRUE(ScreenContains(" procesando el No. [" + inputs + "] de [" + inputs + "]    "))
        << ScreenText();
    PushKey(kKeyEsc);
  });
  RunReviewAndCalculation();
  EXPECT_TRUE(clocked.ScriptDone());
  // The content review alone visits every record in use.
  const int records = shape.inputRecords + shape.analysisRecords + shape.subcontractRecords +
                      shape.globalRecords + shape.budgetRecords;
  EXPECT_GE(turnsInRun, 2) << "the window is repainted during the run";
  EXPECT_LT(turnsInRun * 50, records) << turnsInRun << " turns for " << records << " records";
  EXPECT_EQ(Area(1).SavedChangeMarker, 0);
}

TEST_F(RunWindowTest, AKeyTypedDuringTheRunOffersToStopAtTheNextTurn) {
  clocked.autoStep = std::chrono::microseconds(100);
  clocked.onTurn = [this] {
    if (clocked.turns == 2) PushKey('x');
  };
  clocked.QueueStep([] {
    EXPECT_TRUE(ScreenContains("Desea interrumpir el proceso (S/N) N"));
    PushKey('S');
  });
  RunReviewAndCalculation();
  EXPECT_TRUE(clocked.ScriptDone());
  EXPECT_EQ(Area(1).SavedChangeMarker, 1) << "an interrupted run clears no marker";
  EXPECT_FALSE(ScreenContains("Revision y Calculo")) << "the window is closed";
}

}  // namespace
}  // namespace vantu::test
