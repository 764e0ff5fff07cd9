#include "app/install_modules.h"
#include "reports/budget_listings_command.h"
#include "reports/price_forms_command.h"
#include "reports/schedule_listings.h"
#include "session/shell_state.h"

namespace vantu {

void InstallReports() {
  RegisterCommand('J', TotalBudgetListings);
  RegisterCommand('K', PartialBudgetListings);
  RegisterCommand('L', TotalPriceForms);
  RegisterCommand('M', PartialPriceForms);
  RegisterCommand('O', TotalScheduleListings);
  RegisterCommand('P', PartialScheduleListings);
}

}  // namespace vantu
