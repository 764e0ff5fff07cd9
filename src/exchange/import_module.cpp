#include "exchange/import_module.h"

#include <filesystem>

#include "exchange/import_run.h"
#include "platform/platform.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "toolkit/message_boxes.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCaption = "Importar";
constexpr int kFileDialogOpen = 0;

// Files of any set of Rama `code` in dir: "Apr??dat.<code>..." and the
// like, in any letter case.
bool RamaHasFiles(const std::string& dir, char code) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    const std::string name = e.path().filename().string();
    if (name.size() < 10 || name.compare(0, 3, "Apr") != 0 || name[8] != '.') continue;
    if (std::toupper(static_cast<unsigned char>(name[9])) == code) return true;
  }
  return false;
}

std::string Shown(const ImportResult& r, const std::string& rama) {
  std::string text = "Importado en la Rama " + rama + ", Obra " + kImportedObra + ".\rCodigos en " +
                     r.mapWritten + ".";
  for (const std::string& note : r.notes) text += "\r" + note;
  return text;
}

}  // namespace

std::string FreeRamaCode(const std::string& dir) {
  for (const char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"))
    if (!RamaHasFiles(dir, c)) return std::string(1, c);
  return "";
}

void RunImport(const OpenSetSteps& steps, const std::string& file) {
  const std::string dir = Selection().DataDirectory;
  std::string path = file;
  if (path.empty() && !ChooseFile(dir, kCaption, kImportFilter, kFileDialogOpen, path)) return;
  const std::string rama = FreeRamaCode(dir);
  if (rama.empty()) {
    Host().MessageBox("No queda codigo libre de Rama en " + dir, kCaption, BoxIcon::Warning,
                      BoxButtons::Ok);
    return;
  }
  if (ConfirmBox("Se importara " + fs::path(path).filename().string() + " en la Rama " + rama +
                     ", Obra " + kImportedObra + ". Desea continuar ?",
                 kCaption) != 'S')
    return;
  const SelectionState was = Selection();
  const bool open = was.RamaOpen;
  if (open) steps.close();
  ImportRequest request;
  request.file = path;
  request.dir = dir;
  request.rama = rama;
  request.obra = kImportedObra;
  request.toPeso = Prefs().roundToPeso;
  const ImportResult r = ImportBc3(request);
  if (open) steps.reopen(was.RamaCode, was.ObraCode);
  if (r.Ok())
    Host().MessageBox(Shown(r, rama), kCaption, BoxIcon::Information, BoxButtons::Ok);
  else if (!r.refused.empty())
    Host().MessageBox("No se importo:\r" + r.refused, kCaption, BoxIcon::Warning, BoxButtons::Ok);
  else
    Host().MessageBox(r.failure, kCaption, BoxIcon::Error, BoxButtons::Ok);
}

}  // namespace vantu
