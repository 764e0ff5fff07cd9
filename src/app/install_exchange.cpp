#include "app/install_modules.h"
#include "exchange/export_module.h"
#include "exchange/import_module.h"
#include "exchange/price_update_module.h"
#include "selection/selection_sets.h"
#include "session/selection_state.h"
#include "session/shell_state.h"

namespace vantu {

// The open set is closed and opened again as the selection screen does.
void ImportFile(const std::string& file) {
  RunImport({[] { selection::CloseSelection(); },
             [](const std::string& rama, const std::string& obra) {
               Selection().RamaCode = rama;
               selection::OpenRama();
               Selection().ObraCode = obra;
               selection::FinishSelection();
             }},
            file);
}

namespace {

void ImportCommand() {
  ImportFile({});
}

}  // namespace

void InstallExchange() {
  RegisterCommand('Q', RunExport);
  RegisterCommand('R', ImportCommand);
  RegisterCommand('S', RunPriceUpdate);
}

}  // namespace vantu
