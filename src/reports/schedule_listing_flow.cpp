// The payment flow: its computation and its table.
#include <cmath>
#include <string>

#include "records/budget_records.h"
#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"
#include "reports/schedule_listing_pages.h"
#include "reports/schedule_listings.h"
#include "session/preferences.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/field_format.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

constexpr int kLabelWidth = 10;
constexpr int kAmountWidth = 18;
constexpr int kAmountColumns = 6;
constexpr int kTableWidth = 1 + kLabelWidth + 1 + kAmountColumns * (kAmountWidth + 1);
static_assert(kTableWidth == 126);

const std::string kV(1, frame::kVertical);

std::string TableRule(char left, char joint, char right, char fill) {
  std::string s(1, left);
  s += std::string(kLabelWidth, fill) + joint;
  for (int c = 0; c < kAmountColumns; ++c)
    s += std::string(kAmountWidth, fill) + (c + 1 < kAmountColumns ? joint : right);
  return s;
}

std::string PercentLabel(long double pct) {
  std::string n = FormatNumber(1, 2, pct);
  n.erase(0, n.find_first_not_of(' '));
  return "(" + n + "%)";
}

std::string HeadingOne(bool weeks) {
  return kV + (weeks ? "  SEMANA  " : "    MES   ") + kV + "     ANTICIPO     " + kV +
         "   FACTURACION    " + kV + "   AMORTIZACION   " + kV + "    RETENCION     " + kV +
         "    VALOR NETO    " + kV + "  SALDO ANTICIPO  " + kV;
}

std::string HeadingTwo(long double anticipo, long double retencion) {
  const std::string advance = CentredFieldText(PercentLabel(anticipo), kAmountWidth);
  return kV + "    No.   " + kV + advance + kV + "  OBRA EJECUTADA  " + kV + advance + kV +
         CentredFieldText(PercentLabel(retencion), kAmountWidth) + kV + "      A PAGAR     " + kV +
         "   POR AMORTIZAR  " + kV;
}

std::string PeriodLabel(int p) {
  std::string n = std::to_string(p);
  if (n.size() < 2) n.insert(0, "0");
  return CentredFieldText(n, kLabelWidth);
}

void AmountRow(const std::string& label, const PeriodRow& r, long double balance) {
  std::string line = kV + label + kV;
  for (long double x :
       {r[kAnticipo], r[kBilling], r[kAmortization], r[kRetention], r[kNet], balance})
    line += AmountText(kAmountWidth, x) + kV;
  FrameLine(line);
}

}  // namespace

void ComputePaymentFlow(PeriodTable& t, int length, long double anticipoPct,
                        long double retencionPct, bool toPeso) {
  const int n = length;
  const auto money = [toPeso](long double x) { return RoundMoneyAs(x, toPeso); };
  for (int r = 0; r < kPeriodRows; ++r) {
    if (r >= 1 && r <= n) continue;  // Billing and Executed of the periods stay
    t[r].fill(0);
  }
  for (int p = 1; p <= n; ++p) {
    for (int c : {kAnticipo, kNet, kNetCumulative, kAmortization, kRetention, kAdvanceBalance})
      t[p][c] = 0;
  }
  const long double advance = money(t[n][kExecuted] * anticipoPct / 100);
  t[0][kAnticipo] = t[0][kNet] = t[0][kAdvanceBalance] = t[0][kNetCumulative] = advance;
  long double retained = 0;
  for (int p = 1; p <= n; ++p) {
    const long double before = t[p - 1][kAdvanceBalance];
    const long double share = money(t[p][kBilling] * anticipoPct / 100);
    t[p][kAmortization] = share > before || std::fabs(share - before) < 1 ? -before : -share;
    t[p][kRetention] = -money(t[p][kBilling] * retencionPct / 100);
    retained += t[p][kRetention];
    t[p][kNet] = t[p][kBilling] + t[p][kAmortization] + t[p][kRetention];
    t[p][kAdvanceBalance] = before + t[p][kAmortization];
    t[p][kNetCumulative] = t[p - 1][kNetCumulative] + t[p][kNet];
  }
  t[n + 1][kRetention] = -retained;
  t[n + 1][kNet] = -retained;
  if (n >= 1 && t[n][kAdvanceBalance] > 0) {
    const long double rest = t[n][kAdvanceBalance];
    t[n][kAmortization] -= rest;
    t[n][kNet] = t[n][kBilling] + t[n][kAmortization] + t[n][kRetention];
    t[n][kNetCumulative] -= rest;
    t[n][kAdvanceBalance] = 0;
  }
  for (int r = 0; r <= n + 1; ++r)
    for (int c : {kBilling, kAnticipo, kAmortization, kRetention, kNet}) t[n + 2][c] += t[r][c];
  t[n + 1][kNetCumulative] = t[n][kNetCumulative] + t[n + 1][kNet];
}

long double ObraAnticipoPct() {
  ObraHeader obra;
  GetRec(Area(kAreaBudget).Data, 0, obra.data());
  return Get(obra, obra_header::AnticipoPct);
}

long double ObraRetencionPct() {
  ObraHeader obra;
  GetRec(Area(kAreaBudget).Data, 0, obra.data());
  return Get(obra, obra_header::RetencionPct);
}

bool PaymentsOffered() {
  return ObraAnticipoPct() > 0 || ObraRetencionPct() > 0;
}

bool PaymentTable(int from, int to) {
  const ScheduleState& s = Schedule();
  const int n = s.block.Length();
  const long double anticipo = ObraAnticipoPct();
  const long double retencion = ObraRetencionPct();
  const bool weeks = s.block.PeriodKind() == schedule_file::kWeeks;
  const Margins& a = Prefs().marginsScheduleShort;
  Listing().margins = a;
  SchedulePageLayout layout;
  layout.title = "FLUJO DE PAGOS POR PERIODO Y ACUMULADOS (TABLA)";
  layout.geometry = PaymentTableGeometry(DotMatrix(), a);
  layout.pageWidth = kTableWidth;
  layout.items = n;
  layout.rowsPerPage = DistributeRows(n, layout.geometry.pageLength, layout.geometry.headerLines);
  const std::string thin =
      TableRule(frame::kThinLeft, frame::kThinCross, frame::kThinRight, frame::kSingle);
  layout.body = [&](int first, int count, bool last) {
    FrameLine(TableRule(frame::kTopLeft, frame::kTopTee, frame::kTopRight, frame::kDouble));
    FrameLine(HeadingOne(weeks));
    FrameLine(HeadingTwo(anticipo, retencion));
    FrameLine(TableRule(frame::kLeftTee, frame::kCross, frame::kRightTee, frame::kDouble));
    if (first == 0 && anticipo > 0) {
      AmountRow(" Anticipo ", s.periods[0], s.periods[0][kAdvanceBalance]);
      FrameLine(thin);
    }
    for (int i = 0; i < count; ++i) {
      if (CheckInterrupt()) return false;
      const int p = first + i + 1;
      AmountRow(PeriodLabel(p), s.periods[p], s.periods[p][kAdvanceBalance]);
      if (i + 1 < count || (last && retencion > 0)) FrameLine(thin);
    }
    if (last && retencion > 0)
      AmountRow("Liq. Final", s.periods[n + 1], s.periods[n + 1][kAdvanceBalance]);
    if (last) {
      FrameLine(TableRule(frame::kLeftTee, frame::kCross, frame::kRightTee, frame::kDouble));
      AmountRow(" TOTALES  ", s.periods[n + 2], s.periods[n][kAdvanceBalance]);
    }
    FrameLine(
        TableRule(frame::kBottomLeft, frame::kBottomTee, frame::kBottomRight, frame::kDouble));
    RuleLine(frame::kRuleUnderHeader);
    EndPage();
    return true;
  };
  return WriteSchedulePages(layout, from, to);
}

}  // namespace vantu
