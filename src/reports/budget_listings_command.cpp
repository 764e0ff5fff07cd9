#include "reports/budget_listings_command.h"

#include <array>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "reports/budget_listings.h"
#include "reports/listing_engine.h"
#include "reports/listing_menu.h"
#include "reports/listing_output.h"
#include "reports/listing_page.h"
#include "reports/print_selection.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "toolkit/prompts.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/window_message.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

using ListingFn = bool (*)(int from, int to);

bool ListAnalyses(int from, int to) {
  return Prefs().oneAnalysisPerPage ? ListAnalysesOnePerPage(from, to)
                                    : ListAnalysesSeveral(from, to);
}

// The seven listings in the order of the preferences' check boxes; the
// last three need an Obra.
constexpr std::array<ListingFn, 7> kListings = {
    ListBasicInputs,  ListAnalyses,   ListUnitPriceSummary, ListSubcontracts,
    ListRequirements, ListWorkBudget, ListBudgetSummary,
};
constexpr int kRamaListings = 4;

int ListingCount() {
  return Shell().obraSelected ? static_cast<int>(kListings.size()) : kRamaListings;
}

int KindOf(int option) {
  switch (option) {
    case 1:
      return kListingInputs;
    case 2:
      return Prefs().oneAnalysisPerPage ? kListingAnalysesOnePerPage : kListingAnalysesSeveral;
    case 3:
      return kListingUnitPriceSummary;
    case 4:
      return kListingSubcontracts;
    case 5:
      return kListingRequirements;
    case 6:
      return kListingWorkBudget;
    default:
      return kListingBudgetSummary;
  }
}

const char* const kOptions[] = {
    "  1 - Listado Insumos Basicos         ", "  2 - Listado Analisis Unitarios      ",
    "  3 - Resumen Precios Unitarios       ", "  4 - Listado Analisis Subcontratos   ",
    "  5 - Requerimientos Insumos Basicos  ", "  6 - Listado Presupuesto Obra        ",
    "  7 - Listado Resumen Presupuesto     ",
};

// The menu; the chosen option 1..7, or 0 for Esc.
int ChooseListing() {
  return ChooseListingOption(InViewMode() ? "  VISTA LISTADOS PARCIALES PRESUPUESTO "
                                          : "    LISTADOS PARCIALES PRESUPUESTO     ",
                             kOptions, ListingCount());
}

void RunPartial(int option) {
  ListingState& s = Listing();
  s.quietEmpty = false;
  s.emptyListingCount = 0;
  s.listingContinue = true;
  EmptyListingFile();
  int from = 1;
  int to = 0;
  if (!InViewMode()) {
    if (!PrintSelection(KindOf(option), SelectionFields::Pages)) return;
    from = s.fromPage;
    to = s.toPage;
  }
  kListings[static_cast<size_t>(option - 1)](from, to);
  if (s.emptyListingCount == 0) {
    OutputListing(false);
  } else {
    EmptyListingFile();
  }
}

}  // namespace

bool NeedsCalculation() {
  bool stale = false;
  for (int n = kAreaGeneral; n <= kAreaGlobals; ++n) stale = stale || Area(n).SavedChangeMarker;
  if (Shell().obraSelected) {
    stale = stale || Area(kAreaBudget).SavedChangeMarker ||
            Area(kAreaGeneral).SavedSetSerial != Area(kAreaBudget).SavedSetSerial;
  }
  if (stale) {
    ShowMessageWindow({"... PRIMERO DEBE  REALIZAR LOS CALCULOS ...",
                       ".. Para continuar oprima cualquier tecla .."});
  }
  return stale;
}

void TotalBudgetListings() {
  if (NeedsCalculation()) return;
  Shell().viewMode = false;
  EmptyListingFile();
  if (!PrintSelection(kListingTotalBudget, SelectionFields::ConfirmOnly)) return;
  ListingState& s = Listing();
  s.quietEmpty = true;
  s.emptyListingCount = 0;
  s.listingContinue = true;
  int ran = 0;
  for (int copy = 0; copy < s.copies; ++copy) {
    for (int i = 0; i < ListingCount() && s.listingContinue; ++i) {
      if (!Prefs().totalBudgetParts[static_cast<size_t>(i)]) continue;
      ++ran;
      kListings[static_cast<size_t>(i)](0, 0);
    }
  }
  s.quietEmpty = false;
  if (ran > 0 && s.emptyListingCount >= ran) {
    EmptyListingMessage(kEmptyNoData);
    EmptyListingFile();
    return;
  }
  OutputListing(false);
}

void PartialBudgetListings() {
  if (NeedsCalculation()) return;
  for (;;) {
    StartModuleScreen(kAreaPrinting);
    const int option = ChooseListing();
    if (option == 0) return;
    RunPartial(option);
  }
}

}  // namespace vantu
