#include "exchange/export_module.h"

#include "calc/run_window.h"
#include "exchange/export_model.h"
#include "exchange/export_run.h"
#include "platform/platform.h"
#include "platform/save_dialog.h"
#include "session/selection_state.h"
#include "toolkit/message_boxes.h"

namespace vantu {

namespace {

constexpr const char* kCaption = "Exportar";

// True when the stored prices are current, after the calculation the user
// accepted if they were not.
bool CalculatedOrOffered() {
  if (!SetNeedsCalculation()) return true;
  if (ConfirmBox("Los datos cambiaron desde el ultimo calculo. Desea calcular ahora ?", kCaption) !=
      'S')
    return false;
  RunReviewAndCalculation();
  return !SetNeedsCalculation();
}

}  // namespace

void RunExport() {
  if (!Selection().RamaOpen) return;
  if (!CalculatedOrOffered()) return;
  std::string path;
  if (!ChooseFile(Selection().DataDirectory, "Exportar", kExportFilter, kFileDialogSave, path))
    return;
  std::optional<ExportFormat> format = ExportFormatOfPath(path);
  if (!format) {
    // A name without a known type gets the exchange file's.
    path += ".bc3";
    format = ExportFormat::kBc3;
  }
  const ExportResult r = ExportOpenSet(*format, path);
  if (r.Ok()) {
    Host().MessageBox("Exportado en " + r.writtenTo, kCaption, BoxIcon::Information,
                      BoxButtons::Ok);
  } else if (r.needsCalculation) {
    Host().MessageBox("... PRIMERO DEBE  REALIZAR LOS CALCULOS ...", kCaption, BoxIcon::Warning,
                      BoxButtons::Ok);
  } else {
    Host().MessageBox(r.error, kCaption, BoxIcon::Error, BoxButtons::Ok);
  }
}

}  // namespace vantu
