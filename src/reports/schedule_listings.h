#pragma once
// Commands O and P: the listings of the open Obra's schedule. The chart
// ("Cronograma de Obra"), the execution of the work by period (a graph),
// and the payment flow by period as a table and as a graph: billing, the
// advance payment (anticipo) and its amortisation, retention, the net
// amount to pay, the balances and the final liquidation.

#include "schedule/schedule_state.h"

namespace vantu {

// The payment columns of the period table, after ComputeInvestment filled
// Billing and Executed of periods 1..length. Row 0 is the advance, row
// length + 1 the final liquidation (the retentions paid back), row
// length + 2 the totals. The advance is amortised in each period by its
// share of the billing; what a period's share cannot take, or a remainder
// under 1, is taken there, and whatever is left is amortised in the last
// period, so the balance always ends at 0.
void ComputePaymentFlow(PeriodTable& t, int length, long double anticipoPct,
                        long double retencionPct, bool toPeso);

// The open Obra's advance and retention percentages (budget file header).
long double ObraAnticipoPct();
long double ObraRetencionPct();
// The payment listings exist only when one of the two is positive.
bool PaymentsOffered();

// The listings over the loaded schedule, pages from..to (from 0 writes a
// separator page first, to 0 is the last page). The flow listings need
// ComputeInvestment (and the payment ones ComputePaymentFlow) first. Each
// returns false when it wrote nothing or was interrupted.
bool ScheduleChart(int from, int to);
bool PaymentTable(int from, int to);
// kind 16: the execution of the work; 18: the payments.
bool ScheduleGraph(int kind, int from, int to);

void TotalScheduleListings();    // O
void PartialScheduleListings();  // P

// For callers without a screen: writes listing `kind` (15 the chart, 16 the
// execution graph, 17 the payment table, 18 the payment graph, 19 all those
// ticked in the preferences) of the open Obra, every page, into the listing
// file, and leaves it there (nothing is shown or printed); control codes
// follow ViewMode as for any listing. The schedule is loaded with the
// checks of the commands and written back. Refusals show the command's own
// message box, which waits for a key. `landscape`, when given, is set when
// what was written holds a chart of more than two years of periods, which
// goes on landscape paper as in the window.
enum class ScheduleListingResult {
  Written,
  Refused,     // not calculated, no budget, nothing to plan
  Incomplete,  // an activity without a marked period
  NotOffered,  // a payment listing with no advance and no retention
  Nothing,     // nothing written (no listing ticked, or interrupted)
};
ScheduleListingResult WriteScheduleListing(int kind, bool* landscape = nullptr);

}  // namespace vantu
