#include "exchange/price_update_module.h"

#include <filesystem>

#include "exchange/import_module.h"
#include "exchange/price_update.h"
#include "platform/platform.h"
#include "session/selection_state.h"
#include "toolkit/message_boxes.h"

namespace vantu {

namespace {

constexpr const char* kCaption = "Actualizar precios";
constexpr int kFileDialogOpen = 0;

}  // namespace

void RunPriceUpdate() {
  const SelectionState& s = Selection();
  if (!s.RamaOpen) {
    Host().MessageBox("Seleccione primero la Rama cuyos precios se actualizan", kCaption,
                      BoxIcon::Warning, BoxButtons::Ok);
    return;
  }
  const std::string dir = s.DataDirectory, rama = s.RamaCode;
  std::string path;
  if (!ChooseFile(dir, kCaption, kImportFilter, kFileDialogOpen, path)) return;
  if (ConfirmBox("Se actualizaran los precios de la Rama " + rama + " con " +
                     std::filesystem::path(path).filename().string() + ". Desea continuar ?",
                 kCaption) != 'S')
    return;
  PriceUpdateRequest request;
  request.file = path;
  request.dir = dir;
  request.rama = rama;
  const PriceUpdateResult r = UpdateRamaPrices(request);
  if (!r.refused.empty()) {
    Host().MessageBox("No se actualizo:\r" + r.refused, kCaption, BoxIcon::Warning, BoxButtons::Ok);
    return;
  }
  if (!r.failure.empty()) {
    Host().MessageBox(r.failure, kCaption, BoxIcon::Error, BoxButtons::Ok);
    return;
  }
  std::string text = "Precios de la Rama " + rama + " actualizados.";
  for (const std::string& line : PriceUpdateSummary(r.plan)) text += "\r" + line;
  text += "\rInforme en " + r.reportPath + ".\rCalcule antes de imprimir.";
  Host().MessageBox(text, kCaption, BoxIcon::Information, BoxButtons::Ok);
}

}  // namespace vantu
