// The checks made before a code picked from a list goes into an analysis
// line or a budget item, and the search window of the lists.
#include "console/console.h"
#include "console/keys.h"
#include "session/work_area_ids.h"
#include "toolkit/code_list.h"
#include "toolkit/field_editor.h"
#include "toolkit/help_screens.h"
#include "toolkit/message_boxes.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

constexpr char kChapterRefused[] = "Un Capitulo no puede ser componente";
constexpr char kOverwriteCaption[] = "Advertencia sobreescritura";

std::string GroupName(int group) {
  switch (group) {
    case 1:
      return "Equipos";
    case 2:
      return "Materiales";
    case 3:
      return "Transportes";
    case 4:
      return "Mano de Obra";
    default:
      return {};
  }
}

bool Refuse(const std::string& message) {
  FullScreenWindow whole(true);
  ShowError(message);
  return true;
}

bool CheckBudgetItem(const CaptureTarget& t, const std::string& code) {
  CodeListSource* src = ListSource();
  if (IsChapterCode(code)) return Refuse(kChapterRefused);
  if (src && src->BudgetUses(code)) return Refuse("El Presupuesto de Obra ya usa ese Item");
  if (!t.currentCode.empty())
    return ConfirmBox(" Confirma la sobreescritura del Item", kOverwriteCaption) != 'S';
  return false;
}

bool CheckAnalysisLine(const CaptureTarget& t, int kind, const std::string& code) {
  CodeListSource* src = ListSource();
  if (IsChapterCode(code)) return Refuse(kChapterRefused);
  for (const std::string& used : t.lineCodes)
    if (!used.empty() && used == code) return Refuse("El Analisis Unitario ya usa ese Item");
  if (kind == kAreaInputs) {
    const int group = src ? src->InputGroup(code) : 0;
    if (group == 0) return Refuse("Regrese a Insumos Basicos y defina el Grupo");
    if (t.lineGroup != 0 && group != t.lineGroup)
      return Refuse("Ese Item fue clasificado como " + GroupName(group) +
                    " y no puede usarse en ese sitio");
  }
  if (kind == kAreaAnalyses && code == t.ownCode)
    return Refuse("Un Analisis Unitario no puede ser componente de si mismo");
  if (!t.currentCode.empty())
    return ConfirmBox(" Confirma la sobrescritura del Item", kOverwriteCaption) != 'S';
  return false;
}

}  // namespace

bool CheckCapturedCode(const CaptureTarget& target, int kind, const std::string& code) {
  switch (target.area) {
    case 6:
      return CheckBudgetItem(target, code);
    case 3:
      return CheckAnalysisLine(target, kind, code);
    default:
      return false;
  }
}

bool RunSearchWindow(std::string& text) {
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'S';
  w.left = 20, w.right = 60, w.top = 10, w.bottom = 12;
  w.title = " BUSCAR :";
  w.buttons = "Esc^regresa AltF1^ayuda Intro^busca F11^borra_dato F12^recup._dato";
  if (!OpenWindow(w)) return false;
  FieldDescriptor d = MakeField("", kKindText, 35, 1, 1);
  d.upperCase = 1;
  std::string value = text;
  uint8_t key = 0;
  for (;;) {
    EditField(0, value, d, key, KeySet{kKeyEnter, kKeyEsc, kKeyAltF1});
    if (key != kKeyAltF1) break;
    ShowSearchKeysHelp();
  }
  CloseWindow();
  if (key != kKeyEnter || value.empty()) return false;
  text = value;
  return true;
}

}  // namespace vantu
