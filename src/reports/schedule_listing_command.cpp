// Commands O and P: the schedule is loaded with the checks of command N,
// the listings run over it, and the record is written back at the end (the
// listing serial may have moved).
#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "reports/listing_engine.h"
#include "reports/listing_menu.h"
#include "reports/listing_output.h"
#include "reports/listing_text.h"
#include "reports/print_selection.h"
#include "reports/schedule_listing_pages.h"
#include "reports/schedule_listings.h"
#include "schedule/schedule_command.h"
#include "schedule/schedule_plan.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "toolkit/prompts.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"
#include "toolkit/window_message.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

enum TotalPart { kPartChart = 0, kPartExecution = 1, kPartTable = 2, kPartPaymentGraph = 3 };

const char* const kPressKey = ".. Para continuar oprima cualquier tecla ..";

// The schedule loaded for a listing, its summary taken from the marks it
// holds now; WideListing when it spans more than two years of periods.
bool LoadForListing(uint8_t letter) {
  if (!LoadScheduleFor(letter)) return false;
  ScheduleState& s = Schedule();
  StoreSummary(s.block, SummarizeChart(s.block, s.Activities));
  Listing().wideListing = s.block.YearBlocks() > 2;
  return true;
}

void FinishListingCommand() {
  Listing().wideListing = false;
  CloseSchedule();
}

// The investment of each period, and the payment flow when it is asked for
// and offered; false, after the incomplete-chart message, when some
// activity has no marked period.
bool PrepareFlow() {
  if (!ComputeInvestment()) return false;
  ScheduleState& s = Schedule();
  if (PaymentsOffered())
    ComputePaymentFlow(s.periods, s.block.Length(), ObraAnticipoPct(), ObraRetencionPct(),
                       Prefs().roundToPeso);
  return true;
}

bool RunListing(int kind, int from, int to) {
  switch (kind) {
    case kListingScheduleChart:
      return ScheduleChart(from, to);
    case kListingPaymentTable:
      return PaymentTable(from, to);
    default:
      return ScheduleGraph(kind, from, to);
  }
}

// A printed listing takes the next control number of a changed chart.
void NumberListing() {
  NextListingSerial(Schedule().block);
  CondensedOn();
}

const char* const kOptions[] = {
    " 1 - Cronograma de Obra .. (GRAFICO) ",
    " 2 - Ejecucion de Obra ... (GRAFICO) ",
    " 3 - Flujo de Pagos ...... (TABLA)   ",
    " 4 - Flujo de Pagos ...... (GRAFICO) ",
};

// The menu; the chosen option, or 0 for Esc.
int ChooseScheduleListing() {
  return ChooseListingOption(InViewMode() ? " VISTA LISTADOS PARCIALES PROGRAMACION "
                                          : "    LISTADOS PARCIALES PROGRAMACION    ",
                             kOptions, PaymentsOffered() ? 4 : 2);
}

void RunPartial(int option) {
  const int kind = kListingScheduleChart + option - 1;
  if (!PrepareFlow()) return;
  ListingState& l = Listing();
  l.listingContinue = true;
  l.interruptRequested = false;
  EmptyListingFile();
  int from = 1;
  int to = 0;
  if (!InViewMode()) {
    if (!PrintSelection(kind, SelectionFields::Pages)) return;
    from = l.fromPage;
    to = l.toPage;
    NumberListing();
  }
  RunListing(kind, from, to);
  OutputListing(kind == kListingScheduleChart && l.wideListing);
}

// Before the flow listings of a wide total listing: the chart went on wide
// paper, the rest goes on normal paper.
void BackToNormalPaper() {
  if (DotMatrix())
    ShowMessageWindow({".... CAMBIE A PAPEL NORMAL Y OPRIMA [Intro] ..."}, kErrorScheme,
                      "Intro^continuar");
  ShowStatusMessage("Para interrumpir oprima cualquir tecla .. y espere");
}

// The flow listings ticked in the preferences; true when one wrote a page.
bool TickedFlowListings(int from, int to) {
  const auto& parts = Prefs().totalScheduleParts;
  ListingState& l = Listing();
  bool wrote = false;
  if (parts[kPartExecution] && l.listingContinue)
    wrote = ScheduleGraph(kListingExecutionGraph, from, to) || wrote;
  if (!PaymentsOffered()) return wrote;
  if (parts[kPartTable] && l.listingContinue) wrote = PaymentTable(from, to) || wrote;
  if (parts[kPartPaymentGraph] && l.listingContinue)
    wrote = ScheduleGraph(kListingPaymentGraph, from, to) || wrote;
  return wrote;
}

}  // namespace

void TotalScheduleListings() {
  Shell().viewMode = false;
  if (!LoadForListing('O')) return;
  ListingState& l = Listing();
  if (!Schedule().block.Complete()) {
    ShowMessageWindow({"..... LA PROGRAMACION ESTA INCOMPLETA .....", kPressKey});
    FinishListingCommand();
    return;
  }
  EmptyListingFile();
  if (!PrintSelection(kListingTotalSchedule, SelectionFields::ConfirmOnly)) {
    FinishListingCommand();
    return;
  }
  l.listingContinue = true;
  const bool wide = l.wideListing;
  for (int copy = 0; copy < l.copies; ++copy) {
    NumberListing();
    if (Prefs().totalScheduleParts[kPartChart] && l.listingContinue) {
      ScheduleChart(0, 0);
      OutputListing(wide);
    }
  }
  bool wrote = false;
  for (int copy = 0; copy < l.copies && l.listingContinue; ++copy) {
    if (wide) BackToNormalPaper();
    if (!PrepareFlow()) break;
    wrote = TickedFlowListings(0, 0) || wrote;
  }
  if (wrote) {
    OutputListing(false);
  } else {
    EmptyListingFile();
  }
  FinishListingCommand();
}

void PartialScheduleListings() {
  if (!LoadForListing('P')) return;
  for (;;) {
    StartModuleScreen(kAreaPrinting);
    const int option = ChooseScheduleListing();
    if (option == 0) break;
    RunPartial(option);
  }
  FinishListingCommand();
}

ScheduleListingResult WriteScheduleListing(int kind, bool* landscape) {
  if (landscape != nullptr) *landscape = false;
  if (kind < kListingScheduleChart || kind > kListingTotalSchedule)
    return ScheduleListingResult::Nothing;
  if (!LoadForListing('P')) return ScheduleListingResult::Refused;
  ScheduleListingResult result = ScheduleListingResult::Nothing;
  const bool payments = kind == kListingPaymentTable || kind == kListingPaymentGraph;
  ListingState& l = Listing();
  if (!PrepareFlow()) {
    result = ScheduleListingResult::Incomplete;
  } else if (payments && !PaymentsOffered()) {
    result = ScheduleListingResult::NotOffered;
  } else {
    l.listingContinue = true;
    l.interruptRequested = false;
    EmptyListingFile();
    if (!InViewMode()) NumberListing();
    bool wrote = false, chart = false;
    if (kind == kListingTotalSchedule) {
      if (Prefs().totalScheduleParts[kPartChart]) chart = wrote = ScheduleChart(1, 0);
      wrote = TickedFlowListings(1, 0) || wrote;
    } else {
      wrote = RunListing(kind, 1, 0);
      chart = wrote && kind == kListingScheduleChart;
    }
    if (landscape != nullptr) *landscape = chart && l.wideListing;
    CloseListingFile();
    if (wrote) result = ScheduleListingResult::Written;
  }
  FinishListingCommand();
  return result;
}

}  // namespace vantu
