// Connects the review and calculation to the shell and the toolkit: command
// I, and the cost rules behind the lists' detail window. The cost window is
// connected with the analysis and subcontract screens, which write what
// they show before it is priced.
#include "app/install_modules.h"
#include "calc/priced_list_source.h"
#include "calc/run_window.h"
#include "session/shell_state.h"
#include "toolkit/code_list_source.h"

namespace vantu {

void InstallCalculation() {
  RegisterCommand('I', RunReviewAndCalculation);
  if (CodeListSource* records = ListSource()) SetListSource(&PricedListSource(*records));
}

}  // namespace vantu
