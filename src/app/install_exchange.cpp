#include "app/install_modules.h"
#include "exchange/export_module.h"
#include "session/shell_state.h"

namespace vantu {

void InstallExchange() {
  RegisterCommand('Q', RunExport);
}

}  // namespace vantu
