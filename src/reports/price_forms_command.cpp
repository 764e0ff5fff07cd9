#include "reports/price_forms_command.h"

#include <array>
#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "reports/budget_listings_command.h"
#include "reports/listing_engine.h"
#include "reports/listing_menu.h"
#include "reports/listing_output.h"
#include "reports/listing_page.h"
#include "reports/price_forms.h"
#include "reports/print_selection.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "toolkit/prompts.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

using FormFn = bool (*)(int from, int to);

// The forms in the order of the preferences' check boxes and of the menu.
constexpr std::array<FormFn, 3> kForms = {FormBasicInputs, FormGlobalPrices, FormSubcontracts};
constexpr std::array<int, 3> kFormKinds = {kListingFormInputs, kListingFormGlobals,
                                           kListingFormSubcontracts};

const char* const kOptions[] = {
    "   1 - Formulario Insumos Basicos    ",
    "   2 - Formulario Precios Globales   ",
    "   3 - Formulario Subcontratos       ",
};

// The menu; the chosen option 1..3, or 0 for Esc.
int ChooseForm() {
  return ChooseListingOption(InViewMode() ? "  VISTA LISTADOS PARCIALES FORMULARIOS "
                                          : "    LISTADOS PARCIALES FORMULARIOS     ",
                             kOptions, static_cast<int>(kForms.size()));
}

void StartCommand(bool quiet) {
  ListingState& s = Listing();
  s.quietEmpty = quiet;
  s.emptyListingCount = 0;
  s.listingContinue = true;
}

void RunPartial(int option) {
  StartCommand(false);
  EmptyListingFile();
  int from = 1;
  int to = 0;
  const auto index = static_cast<size_t>(option - 1);
  if (!InViewMode()) {
    if (!PrintSelection(kFormKinds[index], SelectionFields::PricesAndPages)) return;
    from = Listing().fromPage;
    to = Listing().toPage;
  }
  kForms[index](from, to);
  if (Listing().emptyListingCount == 0) {
    OutputListing(false);
  } else {
    EmptyListingFile();
  }
}

}  // namespace

void TotalPriceForms() {
  if (NeedsCalculation()) return;
  const GlobalPriceOrder order;
  Shell().viewMode = false;
  EmptyListingFile();
  if (!PrintSelection(kListingTotalForms, SelectionFields::PricesOnly)) return;
  StartCommand(true);
  ListingState& s = Listing();
  int ran = 0;
  for (int copy = 0; copy < s.copies; ++copy) {
    for (size_t i = 0; i < kForms.size() && s.listingContinue; ++i) {
      if (!Prefs().totalFormParts[i]) continue;
      ++ran;
      kForms[i](0, 0);
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

void PartialPriceForms() {
  if (NeedsCalculation()) return;
  const GlobalPriceOrder order;
  for (;;) {
    StartModuleScreen(kAreaPrinting);
    const int option = ChooseForm();
    if (option == 0) return;
    RunPartial(option);
  }
}

}  // namespace vantu
