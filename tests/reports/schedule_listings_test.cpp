// The schedule listings of a small hand-built Obra, read line by line in
// the viewer's form, the refusals, and the commands O and P in sessions.
#include "reports/schedule_listings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "console/keys.h"
#include "reports/listing_engine.h"
#include "reports/schedule_listing_fixture.h"
#include "reports/schedule_listing_pages.h"
#include "schedule/schedule_command.h"
#include "schedule/schedule_fixture.h"
#include "schedule/schedule_plan.h"
#include "session/paths.h"

namespace vantu {
namespace {

using namespace schedule_file;
using namespace test;

TEST_F(ScheduleListingTest, PaymentTableByHand) {
  Plan(kPlan);
  Shell().viewMode = true;
  ASSERT_EQ(WriteScheduleListing(kListingPaymentTable), ScheduleListingResult::Written);
  const std::vector<std::string> lines = ListingLines();
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0], "");
  EXPECT_NE(lines[1].find("CONSULTOR"), std::string::npos);
  EXPECT_NE(lines[3].find("FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (TABLA)"), std::string::npos);
  EXPECT_EQ(lines[4], " " + Glyph(220, 126));
  EXPECT_EQ(lines[5].substr(0, 15), " OBRA DE PRUEBA");
  EXPECT_EQ(lines[5].substr(lines[5].size() - 5), "REF-1");
  EXPECT_EQ(lines[6].substr(0, 9), " 01/02/26");
  EXPECT_NE(lines[6].find("Control : 0007/000"), std::string::npos);
  EXPECT_EQ(lines[6].substr(lines[6].size() - 15), "Hoja [1] de [1]");
  EXPECT_EQ(lines[7], " " + Glyph(223, 126));
  // 30 % of 3000 is an advance of 900, amortised by 30 % of each period's
  // billing; 5 % of it is retained and paid back at the end.
  const std::string thin = TableRule(199, 215, 182, 196);
  const std::vector<std::string> expected = {
      TableRule(201, 203, 187, 205),
      " " + V + "    MES   " + V + "     ANTICIPO     " + V + "   FACTURACION    " + V +
          "   AMORTIZACION   " + V + "    RETENCION     " + V + "    VALOR NETO    " + V +
          "  SALDO ANTICIPO  " + V,
      " " + V + "    No.   " + V + "     (30.00%)     " + V + "  OBRA EJECUTADA  " + V +
          "     (30.00%)     " + V + "     (5.00%)      " + V + "      A PAGAR     " + V +
          "   POR AMORTIZAR  " + V,
      TableRule(204, 206, 185, 205),
      TableRow(" Anticipo ", {"900.00", "", "", "", "900.00", "900.00"}),
      thin,
      TableRow("    01    ", {"", "500.00", "-150.00", "-25.00", "325.00", "750.00"}),
      thin,
      TableRow("    02    ", {"", "1,500.00", "-450.00", "-75.00", "975.00", "300.00"}),
      thin,
      TableRow("    03    ", {"", "500.00", "-150.00", "-25.00", "325.00", "150.00"}),
      thin,
      TableRow("    04    ", {"", "500.00", "-150.00", "-25.00", "325.00", ""}),
      thin,
      TableRow("Liq. Final", {"", "", "", "150.00", "150.00", ""}),
      TableRule(204, 206, 185, 205),
      TableRow(" TOTALES  ", {"900.00", "3,000.00", "-900.00", "", "3,000.00", ""}),
      TableRule(200, 202, 188, 205),
      " " + Glyph(223, 126),
      "",
  };
  ASSERT_EQ(lines.size(), 8 + expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[8 + i], expected[i]) << i;
}

// The chart's pieces for one year of months of 6 characters.
std::string ChartRule(int left, int codeJoint, int labelJoint, int joint, int right, int fill) {
  std::string s =
      " " + Glyph(left) + Glyph(fill, 5) + Glyph(codeJoint) + Glyph(fill, 37) + Glyph(labelJoint);
  for (int p = 1; p <= 12; ++p) s += Glyph(fill, 5) + Glyph(p < 12 ? joint : right);
  return s;
}
std::string ChartRow(const std::string& code, const std::string& label,
                     const std::vector<int>& marked) {
  std::string s =
      " " + V + code + Glyph(179) + " " + label + std::string(36 - label.size(), ' ') + V;
  for (int p = 1; p <= 12; ++p) {
    bool on = false;
    for (int m : marked) on = on || m == p;
    s += (on ? Glyph(219, 5) : std::string(5, ' ')) + (p < 12 ? Glyph(179) : V);
  }
  return s;
}

TEST_F(ScheduleListingTest, ChartByHand) {
  Plan(kPlan);
  Shell().viewMode = true;
  ASSERT_EQ(WriteScheduleListing(kListingScheduleChart), ScheduleListingResult::Written);
  const std::vector<std::string> lines = ListingLines();
  ASSERT_GE(lines.size(), 8u);
  EXPECT_NE(lines[3].find("C R O N O G R A M A    D E   O B R A"), std::string::npos);
  EXPECT_EQ(lines[4], " " + Glyph(220, 117));
  std::string months = " " + V + " Cod." + Glyph(179) + std::string(8, ' ') +
                       "D E S C R I P C I O N" + std::string(8, ' ') + V;
  for (int p = 1; p <= 12; ++p)
    months +=
        " " + std::string(p < 10 ? "0" : "") + std::to_string(p) + "  " + (p < 12 ? Glyph(179) : V);
  const std::string thin = ChartRule(199, 197, 215, 197, 182, 196);
  const std::vector<std::string> expected = {
      // No joint crosses "A C T I V I D A D" nor the year's title.
      ChartRule(201, 205, 203, 205, 187, 205),
      " " + V + std::string(13, ' ') + "A C T I V I D A D" + std::string(13, ' ') + V +
          std::string(27, ' ') + "A\xD1O # 1 ( meses )" + std::string(27, ' ') + V,
      months,
      ChartRule(204, 216, 206, 216, 185, 205),
      ChartRow(" 01  ", "PRELIMINARES", {}),
      thin,
      ChartRow(" 010 ", "LOCALIZACION", {1, 2}),
      thin,
      ChartRow(" 020 ", "DESCAPOTE", {2}),
      thin,
      ChartRow(" 02  ", "CIMENTACION", {}),
      thin,
      ChartRow(" 010 ", "EXCAVACION", {2, 3, 4}),
      ChartRule(200, 207, 202, 207, 188, 205),
      "",
  };
  ASSERT_EQ(lines.size(), 8 + expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[8 + i], expected[i]) << i;
}

TEST_F(ScheduleListingTest, GraphsBarTheCumulativeShare) {
  Plan(kPlan);
  Shell().viewMode = true;
  const struct {
    int kind;
    const char* title;
    const char* firstLabel;
    size_t rows;  // periods plus the advance and the liquidation
  } cases[] = {
      {kListingExecutionGraph, "EJECUCION DE OBRA POR PERIODO Y ACUMULADA (GRAFICO)", "    01    ",
       4},
      {kListingPaymentGraph, "FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (GRAFICO)", " Anticipo ", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    ASSERT_EQ(WriteScheduleListing(c.kind), ScheduleListingResult::Written);
    const std::vector<std::string> lines = ListingLines();
    ASSERT_GE(lines.size(), 12u);
    EXPECT_NE(lines[3].find(c.title), std::string::npos);
    // Each row takes two lines; 100 % fills 70 characters of the bar area.
    std::vector<size_t> bars;
    for (size_t i = 12; i + 1 < lines.size(); i += 2) {
      if (lines[i].find(c.firstLabel) == std::string::npos && bars.empty()) continue;
      if (lines[i][1] != V[0] || lines[i].size() != 127) break;
      const std::string bar = lines[i].substr(56, 70);
      bars.push_back(static_cast<size_t>(std::count(bar.begin(), bar.end(), Glyph(219)[0])));
      EXPECT_EQ(lines[i + 1].substr(56, 70), bar);
    }
    ASSERT_EQ(bars.size(), c.rows);
    if (c.kind == kListingExecutionGraph) {
      // 500, 2000, 2500 and 3000 of 3000.
      EXPECT_EQ(bars, (std::vector<size_t>{11, 46, 58, 70}));
    } else {
      // 900, 1225, 2200, 2525, 2850 and 3000 of 3000.
      EXPECT_EQ(bars, (std::vector<size_t>{21, 28, 51, 58, 66, 70}));
    }
    EXPECT_NE(lines[lines.size() - 2].find("NOTA : No se grafican valores poco significativos"),
              std::string::npos);
  }
}

TEST_F(ScheduleListingTest, RefusalsLeaveTheListingFileEmpty) {
  const struct {
    const char* name;
    Marks marks;
    int kind;
    int changedArea;   // a file changed since the calculation
    bool otherSerial;  // the budget of another calculation
    bool noPayments;   // neither advance nor retention
    ScheduleListingResult result;
    const char* message;  // the box shown, or none
  } cases[] = {
      {"an activity without periods",
       {{2, {1}}, {3, {2}}},
       kListingScheduleChart,
       0,
       false,
       false,
       ScheduleListingResult::Incomplete,
       "LA PROGRAMACION ESTA INCOMPLETA"},
      {"budget changed", kPlan, kListingPaymentTable, 6, false, false,
       ScheduleListingResult::Refused, "PRIMERO DEBE  REALIZAR LOS CALCULOS"},
      {"inputs changed", kPlan, kListingTotalSchedule, 2, false, false,
       ScheduleListingResult::Refused, "PRIMERO DEBE  REALIZAR LOS CALCULOS"},
      {"another calculation", kPlan, kListingExecutionGraph, 0, true, false,
       ScheduleListingResult::Refused, "PRIMERO DEBE  REALIZAR LOS CALCULOS"},
      {"no advance and no retention", kPlan, kListingPaymentGraph, 0, false, true,
       ScheduleListingResult::NotOffered, nullptr},
  };
  Shell().viewMode = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MarkCalculated();
    Percentages(c.noPayments ? 0 : 30, c.noPayments ? 0 : 5);
    Plan(c.marks);
    if (c.changedArea) Area(c.changedArea).SavedChangeMarker = 1;
    if (c.otherSerial) Area(6).SavedSetSerial = 6;
    std::vector<std::string> seen;
    if (c.message) AnswerBox(seen);
    EXPECT_EQ(WriteScheduleListing(c.kind), c.result);
    EXPECT_TRUE(capture.ScriptDone());
    if (c.message) {
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_NE(seen[0].find(c.message), std::string::npos) << seen[0];
    }
    CloseListingFile();
    EXPECT_EQ(Slurp(Shell().listingFileName), "");
    EXPECT_FALSE(Schedule().open);
  }
}

TEST_F(ScheduleListingTest, PrintedPartialListingsNumberAChangedChartOnce) {
  Plan(kPlan, 4, 1);
  Shell().viewMode = false;
  for (int copy = 0; copy < 2; ++copy) {
    Keys({'3'});
    Keys({kKeyEnter, kKeyEnter, kKeyEnter});
    capture.AnswerPrintDialog(HeadlessHost::DialogOutcome::Accept);
  }
  Keys({kKeyEsc});
  PartialScheduleListings();
  EXPECT_TRUE(capture.ScriptDone());
  ASSERT_EQ(capture.printed.size(), 2u);
  for (const std::string& listing : capture.printed) {
    EXPECT_NE(listing.find("FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (TABLA)"), std::string::npos);
    EXPECT_NE(listing.find("Control : 0007/005"), std::string::npos);
    EXPECT_EQ(listing.substr(0, 3), "\x0F\r\n");  // condensed from the first line
  }
  EXPECT_EQ(capture.landscapes, (std::vector<bool>{false, false}));
  const ScheduleBlock stored = StoredBlock();
  EXPECT_EQ(stored.ScheduleSerial(), 5);
  EXPECT_EQ(stored.ScheduleChanged(), 0);
  EXPECT_EQ(stored.Length(), 4);
  EXPECT_EQ(stored.Complete(), 1);
  EXPECT_FALSE(Listing().wideListing);
}

TEST_F(ScheduleListingTest, ViewedMenuOffersPaymentsOnlyWithAdvanceOrRetention) {
  Plan(kPlan);
  Shell().viewMode = true;
  for (bool payments : {true, false}) {
    SCOPED_TRACE(payments);
    Percentages(payments ? 30 : 0, 0);
    std::string menu;
    capture.QueueStep([&menu] {
      menu = ScreenText();
      PushKey('2');
    });
    Keys({kKeyEsc});
    capture.shown.clear();
    PartialScheduleListings();
    EXPECT_TRUE(capture.ScriptDone());
    EXPECT_NE(menu.find("VISTA LISTADOS PARCIALES PROGRAMACION"), std::string::npos);
    EXPECT_NE(menu.find("2 - Ejecucion de Obra ... (GRAFICO)"), std::string::npos);
    EXPECT_EQ(menu.find("3 - Flujo de Pagos ...... (TABLA)") != std::string::npos, payments);
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_NE(capture.shown[0].find("EJECUCION DE OBRA POR PERIODO Y ACUMULADA (GRAFICO)"),
              std::string::npos);
    EXPECT_EQ(capture.shown[0].find('\x0F'), std::string::npos);  // no control codes
  }
}

// Written without a screen (the command line): what holds a chart longer
// than two years says it goes on landscape paper; the rest does not.
TEST_F(ScheduleListingTest, WrittenListingsSayWhenTheyNeedLandscape) {
  for (int months : {24, 25}) {
    std::vector<int> all;
    for (int p = 1; p <= months; ++p) all.push_back(p);
    Plan({{2, {1}}, {3, {2}}, {5, all}});
    const struct {
      int kind;
      bool landscape;
    } cases[] = {{kListingScheduleChart, months > 24},
                 {kListingTotalSchedule, months > 24},
                 {kListingPaymentTable, false},
                 {kListingExecutionGraph, false}};
    for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(months) + " months, kind " + std::to_string(c.kind));
      bool landscape = !c.landscape;
      ASSERT_EQ(WriteScheduleListing(c.kind, &landscape), ScheduleListingResult::Written);
      EXPECT_EQ(landscape, c.landscape);
    }
  }
}

TEST_F(ScheduleListingTest, TotalListingPutsALongChartOnWidePaper) {
  // 25 months: three year blocks, a wide listing.
  std::vector<int> all;
  for (int p = 1; p <= 25; ++p) all.push_back(p);
  Plan({{2, {1}}, {3, {2}}, {5, all}}, 1, 1);
  Keys({kKeyEnter});
  capture.AnswerPrintDialog(HeadlessHost::DialogOutcome::Accept);
  TotalScheduleListings();
  EXPECT_TRUE(capture.ScriptDone());
  // The separator page, the chart on its own, then the flow listings.
  ASSERT_EQ(capture.printed.size(), 3u);
  EXPECT_EQ(capture.landscapes, (std::vector<bool>{false, true, false}));
  EXPECT_NE(capture.printed[0].find("C R O N O G R A M A"), std::string::npos);
  const std::string& chart = capture.printed[1];
  EXPECT_NE(chart.find("A\xD1O # 3 ( meses )"), std::string::npos);
  // Above the years' titles the frame's top joins only the years.
  const size_t top = chart.find(Glyph(201));
  ASSERT_NE(top, std::string::npos);
  const std::string rule = chart.substr(top, chart.find('\n', top) - top);
  EXPECT_EQ(std::count(rule.begin(), rule.end(), static_cast<char>(203)), 3) << rule;
  EXPECT_NE(chart.find("Control : 0007/002"), std::string::npos);
  const std::string& flow = capture.printed[2];
  EXPECT_NE(flow.find("EJECUCION DE OBRA POR PERIODO Y ACUMULADA (GRAFICO)"), std::string::npos);
  EXPECT_NE(flow.find("FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (TABLA)"), std::string::npos);
  // The payment graph is not ticked by default.
  EXPECT_EQ(flow.find("FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (GRAFICO)"), std::string::npos);
  EXPECT_EQ(StoredBlock().ScheduleSerial(), 2);
}

}  // namespace
}  // namespace vantu

namespace vantu {
namespace {

using namespace test;

TEST_F(ScheduleListingTest, DotMatrixAsksForWidePaperThenForNormalPaper) {
  Prefs().dotMatrixPrinter = true;
  const std::string device = (dataDir / "lp0").string();
  capture.Settings()[std::string(kSettingsKey) + "\\sImpresoraMatriz"] = device;
  std::vector<int> all;
  for (int p = 1; p <= 25; ++p) all.push_back(p);
  Plan({{2, {1}}, {3, {2}}, {5, all}});
  std::string selection;
  capture.QueueStep([&selection] {
    selection = ScreenText();
    PushKey(kKeyEnter);
  });
  std::vector<std::string> boxes;
  AnswerBox(boxes);
  TotalScheduleListings();
  EXPECT_TRUE(capture.ScriptDone());
  EXPECT_EQ(capture.PrintDialogCount(), 0);
  EXPECT_NE(selection.find("Listado Total Programacion"), std::string::npos);
  EXPECT_NE(selection.find("... DEBE USAR PAPEL ANCHO (15 PULGADAS) ..."), std::string::npos);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(".... CAMBIE A PAPEL NORMAL Y OPRIMA [Intro] ..."), std::string::npos);
  EXPECT_NE(ScreenText().find("Para interrumpir oprima cualquir tecla .. y espere"),
            std::string::npos);
  // The device keeps the last output: the flow listings, with the printer's
  // codes and the end of every page.
  const std::string sent = Slurp(device);
  EXPECT_NE(sent.find("FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (TABLA)"), std::string::npos);
  EXPECT_NE(sent.find("\x1bG"), std::string::npos);
  EXPECT_EQ(sent.substr(sent.size() - 3), "\x0C\r\n");
}

}  // namespace
}  // namespace vantu

namespace vantu {
namespace {

using namespace test;

TEST_F(ScheduleListingTest, PageRangeOfASixtyMonthTable) {
  // Sixty months on dot-matrix pages of (53 - 13) / 2 = 20 rows: 3 pages.
  Prefs().dotMatrixPrinter = true;
  std::vector<int> all;
  for (int p = 1; p <= 60; ++p) all.push_back(p);
  Plan({{2, {1}}, {3, {2}}, {5, all}});
  ASSERT_TRUE(LoadScheduleFor('P'));
  StoreSummary(Schedule().block, SummarizeChart(Schedule().block, Schedule().Activities));
  ASSERT_TRUE(ComputeInvestment());
  ComputePaymentFlow(Schedule().periods, 60, 30, 5, true);
  const struct {
    int from, to;
    std::vector<int> pages;
    bool separator;
  } cases[] = {
      {1, 0, {1, 2, 3}, false},
      {2, 2, {2}, false},
      {0, 1, {1}, true},
      {3, 2, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    EmptyListingFile();
    PaymentTable(c.from, c.to);
    CloseListingFile();
    const std::string text = Slurp(Shell().listingFileName);
    for (int page = 1; page <= 3; ++page) {
      const bool wanted = std::find(c.pages.begin(), c.pages.end(), page) != c.pages.end();
      const std::string hoja = "Hoja [" + std::to_string(page) + "] de [3]";
      EXPECT_EQ(text.find(hoja) != std::string::npos, wanted) << hoja;
      // Page n lists periods 20n - 19 to 20n.
      const int from = 20 * page - 19;
      const std::string first =
          V + "    " + (from < 10 ? "0" : "") + std::to_string(from) + "    " + V;
      const std::string last = V + "    " + std::to_string(20 * page) + "    " + V;
      EXPECT_EQ(text.find(first) != std::string::npos, wanted) << first;
      EXPECT_EQ(text.find(last) != std::string::npos, wanted) << last;
    }
    const bool lastPage = std::find(c.pages.begin(), c.pages.end(), 3) != c.pages.end();
    EXPECT_EQ(text.find(" TOTALES  ") != std::string::npos, lastPage);
    EXPECT_EQ(text.find("Liq. Final") != std::string::npos, lastPage);
    const bool firstPage = std::find(c.pages.begin(), c.pages.end(), 1) != c.pages.end();
    EXPECT_EQ(text.find(" Anticipo ") != std::string::npos, firstPage);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\x0C'),
              static_cast<long>(c.pages.size() + (c.separator ? 1 : 0)));
  }
  DropSchedule();
}

}  // namespace
}  // namespace vantu
