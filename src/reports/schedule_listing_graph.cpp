// The execution graph and the payment graph: per period its amount, the
// cumulative amount and a bar of the cumulative share of the work's value.
//
// Columns: the period (10), the period's amount (19), the cumulative
// amount (21) and the bar area: a blank and kBarWidth + 1 characters, in
// which 100 % fills every character. A bar is measured in tenths of a
// character; a half character is drawn from 5 tenths on, and a value under
// half a character is not drawn ("poco significativo").
#include <algorithm>
#include <cmath>
#include <string>

#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"
#include "reports/schedule_listing_pages.h"
#include "reports/schedule_listings.h"
#include "session/preferences.h"

namespace vantu {

namespace {

constexpr int kLabelWidth = 10;
constexpr int kPeriodWidth = 19;
constexpr int kCumulativeWidth = 21;
constexpr int kBarWidth = 69;
constexpr int kBarArea = kBarWidth + 2;
constexpr int kGraphWidth =
    1 + kLabelWidth + 1 + kPeriodWidth + 1 + kCumulativeWidth + 1 + kBarArea + 1;
static_assert(kGraphWidth == 126);
constexpr int kScaleStep = (kBarWidth + 1) / 10;

const std::string kV(1, frame::kVertical);

struct GraphText {
  const char* title;
  const char* period;
  const char* cumulative;
  const char* bars;
};

const GraphText kExecution{"EJECUCION DE OBRA POR PERIODO Y ACUMULADA (GRAFICO)",
                           " EJECUCION PERIODO ", " EJECUCION ACUMULADA ",
                           "REPRESENTACION GRAFICA EJECUCION ACUMULADA :"};
const GraphText kPayments{"FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (GRAFICO)",
                          "   PAGOS PERIODO   ", "   PAGOS ACUMULADOS  ",
                          "REPRESENTACION GRAFICA PAGOS ACUMULADOS :"};

std::string Rule(char left, char joint, char right, char fill) {
  std::string s(1, left);
  for (int w : {kLabelWidth, kPeriodWidth, kCumulativeWidth}) s += std::string(w, fill) + joint;
  return s + std::string(kBarArea, fill) + right;
}

// "10%" to "100%", each ending under the character its share fills.
std::string Scale() {
  std::string s(kBarArea, ' ');
  for (int k = 1; k <= 10; ++k) {
    const std::string mark = std::to_string(10 * k) + "%";
    const int end = k * kScaleStep;
    s.replace(static_cast<size_t>(end + 1 - static_cast<int>(mark.size())), mark.size(), mark);
  }
  return s;
}

std::string Bar(long double amount, long double whole) {
  if (whole <= 0) return Blanks(kBarArea);
  const long double tenths = std::clamp<long double>(
      std::round(amount / whole * (kBarWidth + 1) * 10), 0, (kBarWidth + 1) * 10);
  const int t = static_cast<int>(tenths);
  std::string s = " " + std::string(static_cast<size_t>(t / 10), frame::kBar);
  if (t % 10 >= 5) s += frame::kHalfBar;
  return FieldText(s, kBarArea);
}

std::string PeriodLabel(int p) {
  std::string n = std::to_string(p);
  if (n.size() < 2) n.insert(0, "0");
  return CentredFieldText(n, kLabelWidth);
}

void GraphRow(const std::string& label, long double amount, long double cumulative,
              long double whole) {
  const std::string bar = Bar(cumulative, whole);
  FrameLine(kV + label + kV + " " + AmountText(kPeriodWidth - 1, amount) + kV + "   " +
            AmountText(kCumulativeWidth - 3, cumulative) + kV + bar + kV);
  FrameLine(kV + Blanks(kLabelWidth) + kV + Blanks(kPeriodWidth) + kV + Blanks(kCumulativeWidth) +
            kV + bar + kV);
}

}  // namespace

bool ScheduleGraph(int kind, int from, int to) {
  const ScheduleState& s = Schedule();
  const bool payments = kind == kListingPaymentGraph;
  const GraphText& text = payments ? kPayments : kExecution;
  const int n = s.block.Length();
  const bool weeks = s.block.PeriodKind() == schedule_file::kWeeks;
  const long double whole = s.periods[static_cast<size_t>(n)][kExecuted];
  const bool advanceRow = payments && ObraAnticipoPct() > 0;
  const bool liquidationRow = payments && ObraRetencionPct() > 0;
  const int amountColumn = payments ? kNet : kBilling;
  const int cumulativeColumn = payments ? kNetCumulative : kExecuted;
  const Margins& a = Prefs().marginsScheduleShort;
  Listing().margins = a;
  SchedulePageLayout layout;
  layout.title = text.title;
  layout.geometry = GraphGeometry(DotMatrix(), a);
  layout.pageWidth = kGraphWidth;
  layout.items = n;
  layout.rowsPerPage = DistributeRows(n, layout.geometry.pageLength, layout.geometry.headerLines);
  const auto row = [&](const std::string& label, int r) {
    const PeriodRow& v = s.periods[static_cast<size_t>(r)];
    GraphRow(label, v[amountColumn], v[cumulativeColumn], whole);
  };
  layout.body = [&](int first, int count, bool last) {
    FrameLine(Rule(frame::kTopLeft, frame::kTopTee, frame::kTopRight, frame::kDouble));
    FrameLine(kV + (weeks ? "  SEMANA  " : "    MES   ") + kV + text.period + kV + text.cumulative +
              kV + FieldText(text.bars, kBarArea) + kV);
    FrameLine(kV + "    No.   " + kV + "       ( $ )       " + kV + "        ( $ )        " + kV +
              Scale() + kV);
    FrameLine(Rule(frame::kLeftTee, frame::kCross, frame::kRightTee, frame::kDouble));
    if (first == 0 && advanceRow) row(" Anticipo ", 0);
    for (int i = 0; i < count; ++i) {
      if (CheckInterrupt()) return false;
      row(PeriodLabel(first + i + 1), first + i + 1);
    }
    if (last && liquidationRow) row("Liq. Final", n + 1);
    FrameLine(Rule(frame::kBottomLeft, frame::kBottomTee, frame::kBottomRight, frame::kDouble));
    MarginLine("NOTA : No se grafican valores poco significativos");
    EndPage();
    return true;
  };
  return WriteSchedulePages(layout, from, to);
}

}  // namespace vantu
