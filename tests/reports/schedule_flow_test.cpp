// The payment flow worked out by hand on small schedules, the spread of
// rows over the pages of the schedule listings, and their geometry.
#include <gtest/gtest.h>

#include <vector>

#include "reports/schedule_listing_pages.h"
#include "reports/schedule_listings.h"

namespace vantu {
namespace {

// One period's expected payment columns.
struct FlowRow {
  long double amortization, retention, net, balance, netCumulative;
};

struct FlowCase {
  const char* name;
  bool toPeso;
  long double anticipoPct, retencionPct;
  std::vector<long double> billing;  // periods 1..N
  long double advance;               // row 0
  std::vector<FlowRow> periods;
  long double liquidation;  // paid back in the final liquidation
};

PeriodTable TableOf(const std::vector<long double>& billing) {
  PeriodTable t{};
  long double executed = 0;
  for (size_t p = 1; p <= billing.size(); ++p) {
    executed += billing[p - 1];
    t[p][kBilling] = billing[p - 1];
    t[p][kExecuted] = executed;
  }
  return t;
}

TEST(PaymentFlow, AdvanceAmortisedRetentionReturnedBalancesEndAtZero) {
  const FlowCase cases[] = {
      // 30 % of 3003 is 901 (whole pesos); each period amortises 300, so
      // the peso left after the third is taken there too.
      {"rest amortised in the last period",
       true,
       30,
       5,
       {1001, 1001, 1001},
       901,
       {{-300, -50, 651, 601, 1552}, {-300, -50, 651, 301, 2203}, {-301, -50, 650, 0, 2853}},
       150},
      // 30 % of 3001.00 is 900.30: after two periods 300.30 is left, the
      // third's share of 300 is within 1 of it and takes it all; the
      // fourth's 0.30 exceeds the nothing left and takes nothing.
      {"remainder under 1 and share beyond the balance",
       false,
       30,
       0,
       {1000, 1000, 1000, 1},
       900.30L,
       {{-300, 0, 700, 600.30L, 1600.30L},
        {-300, 0, 700, 300.30L, 2300.30L},
        {-300.30L, 0, 699.70L, 0, 3000},
        {0, 0, 1, 0, 3001}},
       0},
      {"no advance: retention only",
       true,
       0,
       5,
       {2000, 1000},
       0,
       {{0, -100, 1900, 0, 1900}, {0, -50, 950, 0, 2850}},
       150},
      {"share beyond the balance in cents",
       false,
       30,
       0,
       {100.02L, 100.02L},
       60.01L,
       {{-30.01L, 0, 70.01L, 30.00L, 130.02L}, {-30.00L, 0, 70.02L, 0, 200.04L}},
       0},
  };
  constexpr long double kCent = 1e-9L;
  for (const FlowCase& c : cases) {
    SCOPED_TRACE(c.name);
    const int n = static_cast<int>(c.billing.size());
    PeriodTable t = TableOf(c.billing);
    ComputePaymentFlow(t, n, c.anticipoPct, c.retencionPct, c.toPeso);
    EXPECT_NEAR(t[0][kAnticipo], c.advance, kCent);
    EXPECT_NEAR(t[0][kNet], c.advance, kCent);
    EXPECT_NEAR(t[0][kAdvanceBalance], c.advance, kCent);
    for (int p = 1; p <= n; ++p) {
      SCOPED_TRACE(p);
      const FlowRow& e = c.periods[static_cast<size_t>(p - 1)];
      EXPECT_NEAR(t[p][kAmortization], e.amortization, kCent);
      EXPECT_NEAR(t[p][kRetention], e.retention, kCent);
      EXPECT_NEAR(t[p][kNet], e.net, kCent);
      EXPECT_NEAR(t[p][kAdvanceBalance], e.balance, kCent);
      EXPECT_NEAR(t[p][kNetCumulative], e.netCumulative, kCent);
      EXPECT_EQ(t[p][kBilling], c.billing[static_cast<size_t>(p - 1)]);
    }
    EXPECT_NEAR(t[n + 1][kRetention], c.liquidation, kCent);
    EXPECT_NEAR(t[n + 1][kNet], c.liquidation, kCent);
    // Totals: everything billed is paid, the advance is all amortised and
    // the retentions all returned.
    const long double executed = t[n][kExecuted];
    EXPECT_NEAR(t[n + 2][kBilling], executed, kCent);
    EXPECT_NEAR(t[n + 2][kAnticipo], c.advance, kCent);
    EXPECT_NEAR(t[n + 2][kAmortization], -c.advance, kCent);
    EXPECT_NEAR(t[n + 2][kRetention], 0, kCent);
    EXPECT_NEAR(t[n + 2][kNet], executed, kCent);
    EXPECT_NEAR(t[n + 1][kNetCumulative], executed, kCent);
  }
}

TEST(PaymentFlow, ARecomputationStartsFromTheInvestmentAlone) {
  PeriodTable t = TableOf({1000, 1000});
  ComputePaymentFlow(t, 2, 30, 5, true);
  const PeriodTable first = t;
  ComputePaymentFlow(t, 2, 30, 5, true);
  EXPECT_EQ(t, first);
  ComputePaymentFlow(t, 2, 0, 0, true);
  for (int r = 0; r <= 4; ++r)
    for (int c : {kAnticipo, kAmortization, kRetention, kAdvanceBalance}) EXPECT_EQ(t[r][c], 0);
  EXPECT_EQ(t[2][kNet], 1000);
  EXPECT_EQ(t[4][kNet], 2000);
}

TEST(ScheduleListingPages, RowsSpreadEvenlyAndChaptersNeverEndAPage) {
  const struct {
    const char* name;
    int items;
    int perPage;
    std::vector<int> headings;  // rows that may not end a page
    std::vector<int> expected;
  } cases[] = {
      {"10 rows on pages of 4", 10, 4, {}, {4, 3, 3}},
      {"8 rows on pages of 4", 8, 4, {}, {4, 4}},
      {"9 rows on pages of 4", 9, 4, {}, {3, 3, 3}},
      {"one row", 1, 4, {}, {1}},
      {"nothing", 0, 4, {}, {}},
      {"a heading moves to the next page", 5, 3, {2}, {2, 3}},
      {"a heading may end the last page", 5, 3, {4}, {3, 2}},
      {"moved rows overflow into a new page", 4, 2, {1}, {1, 2, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto heading = [&](int i) {
      for (int h : c.headings)
        if (h == i) return true;
      return false;
    };
    // Rows per page are (page length - header lines) div 2.
    EXPECT_EQ(DistributeRows(c.items, 2 * c.perPage + 11, 11, heading), c.expected);
  }
  EXPECT_EQ(TopBlankLines(10, 3, 2 * 4 + 11, 11), 1);
  EXPECT_EQ(TopBlankLines(3, 1, 93, 13), 37);
}

TEST(ScheduleListingPages, EveryChartFitsItsPaperAndTakesItsMarginGroup) {
  const Margins none{};
  for (bool dot : {true, false}) {
    for (int blocks = 1; blocks <= 5; ++blocks) {
      SCOPED_TRACE(std::string(dot ? "dot matrix " : "laser ") + std::to_string(blocks));
      const ScheduleGeometry g = ChartGeometry(dot, blocks, none, none);
      const int width = 5 + 37 + 3 + blocks * 12 * g.periodWidth;
      EXPECT_LE(g.leftMargin + width, g.paperWidth);
      EXPECT_GE(g.periodWidth, 2);
    }
  }
  // Longer schedules take the second margin group.
  const Margins a{0, 2, -3};
  const Margins b{4, -1, 5};
  EXPECT_EQ(ChartGeometry(true, 2, a, b).pageLength, 51);
  EXPECT_EQ(ChartGeometry(false, 3, a, b).leftMargin, 15);
  const ScheduleGeometry table = PaymentTableGeometry(false, Margins{3, 2, 1});
  EXPECT_EQ(table.pageLength, 85);
  EXPECT_EQ(table.headerLines, 13);
  EXPECT_EQ(table.topAdjustment, 3);
  EXPECT_EQ(GraphGeometry(true, Margins{3, 2, 1}).topAdjustment, 0);
}

}  // namespace
}  // namespace vantu
