// Connects the review and calculation to the shell and the toolkit: command
// I, and the cost rules behind the cost window and the lists' detail window.
#include "app/install_modules.h"
#include "calc/run_window.h"
#include "session/shell_state.h"

namespace vantu {

void InstallCalculation() {
  RegisterCommand('I', RunReviewAndCalculation);
}

}  // namespace vantu
