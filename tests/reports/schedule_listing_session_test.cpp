// A planner's session: the chart marked in command N with keys, a click
// and a drag, then the payment flow listed to the viewer (P from the view
// menu) and to the printer (O).
#include <gtest/gtest.h>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "console/zones.h"
#include "reports/schedule_listing_fixture.h"

namespace vantu {
namespace {

using namespace test;

constexpr int kCellW = 9, kCellH = 18;

// 0-based screen cell of an activity (1-based) and period in the editor.
int Col0(int period) {
  return 41 + period;
}
int Row0(int activity) {
  return 4 + activity;
}

class ScheduleListingSessionTest : public ScheduleListingTest {
 protected:
  void SetUp() override {
    ScheduleListingTest::SetUp();
    InstallSchedule();
    InstallReports();
  }
};

TEST_F(ScheduleListingSessionTest, PlanThenListThePaymentFlowToTheViewerAndThePrinter) {
  // The plan of the hand-worked table: LOCALIZACION in months 1-2 by keys,
  // DESCAPOTE in month 2 by a click, EXCAVACION in months 2-4 by a drag.
  capture.QueueStep([] {
    PushKey(kKeyDown);
    PushKey(kKeyHome);
    PushKey(kKeyEnter);
    PushKey(kKeyEnter);
  });
  capture.Click(Col0(2), Row0(3));
  capture.QueueStep(
      [] { MouseDown(Col0(2) * kCellW, Row0(5) * kCellH, MouseBtn::Left, kCellW, kCellH); });
  capture.QueueStep([] { MouseMove(Col0(4) * kCellW, Row0(5) * kCellH, kCellW, kCellH); });
  capture.QueueStep([] {
    MouseUp();
    PushKey(kKeyEsc);
  });
  RunCommand('N');
  ASSERT_TRUE(capture.ScriptDone());

  Shell().viewMode = true;
  Keys({'3'});
  Keys({kKeyEsc});
  RunCommand('P');
  ASSERT_TRUE(capture.ScriptDone());
  ASSERT_EQ(capture.shown.size(), 1u);
  const std::vector<std::string> viewed = Lines(capture.shown[0]);
  const auto has = [&viewed](const std::string& line) {
    return std::find(viewed.begin(), viewed.end(), line) != viewed.end();
  };
  EXPECT_TRUE(
      has(TableRow("    02    ", {"", "1,500.00", "-450.00", "-75.00", "975.00", "300.00"})));
  EXPECT_TRUE(has(TableRow("    04    ", {"", "500.00", "-150.00", "-25.00", "325.00", ""})));
  EXPECT_TRUE(has(TableRow(" TOTALES  ", {"900.00", "3,000.00", "-900.00", "", "3,000.00", ""})));
  EXPECT_NE(capture.shown[0].find("Control : 0007/000"), std::string::npos);

  Shell().viewMode = true;  // the print entries clear it; O clears it itself
  Keys({kKeyEnter});
  capture.AnswerPrintDialog(HeadlessHost::DialogOutcome::Accept);
  RunCommand('O');
  ASSERT_TRUE(capture.ScriptDone());
  EXPECT_FALSE(Shell().viewMode);
  // The chart's separator page and the chart, then the flow listings.
  ASSERT_EQ(capture.printed.size(), 3u);
  EXPECT_EQ(capture.landscapes, (std::vector<bool>{false, false, false}));
  const std::string& chart = capture.printed[1];
  EXPECT_NE(chart.find("Control : 0007/001"), std::string::npos);
  EXPECT_NE(chart.find(Glyph(219, 5) + Glyph(179) + Glyph(219, 5) + Glyph(179) + Glyph(219, 5) +
                       Glyph(179) + "     "),
            std::string::npos);  // EXCAVACION over months 2 to 4
  const std::string& flow = capture.printed[2];
  EXPECT_NE(flow.find(TableRow("Liq. Final", {"", "", "", "150.00", "150.00", ""}).substr(1)),
            std::string::npos);
  EXPECT_NE(flow.find("EJECUCION DE OBRA POR PERIODO Y ACUMULADA (GRAFICO)"), std::string::npos);
  const ScheduleBlock stored = StoredBlock();
  EXPECT_EQ(stored.ScheduleSerial(), 1);
  EXPECT_EQ(stored.ScheduleChanged(), 0);
  EXPECT_EQ(stored.Length(), 4);
}

}  // namespace
}  // namespace vantu
