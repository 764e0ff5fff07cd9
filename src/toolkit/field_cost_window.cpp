#include "toolkit/field_cost_window.h"

#include "console/console.h"
#include "console/keys.h"
#include "session/work_area_ids.h"
#include "toolkit/field_format.h"
#include "toolkit/key_reader.h"
#include "toolkit/numbers.h"
#include "toolkit/schemes.h"
#include "toolkit/window_message.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {
CostWindowHooks gCostHooks;
constexpr int kCostWidth = 16;
}  // namespace

CostWindowHooks& CostHooks() {
  return gCostHooks;
}

long double ShownCost(long double directCost, bool withAiu, long double adminPct) {
  return RoundMoney(withAiu ? directCost * (1 + adminPct / 100) : directCost);
}

void ShowCostWindow(int area, bool unsavedChanges) {
  const CostWindowHooks& h = gCostHooks;
  if (!h.computeCost) return;
  if (h.isChapter && h.isChapter(area)) {
    ShowMessageWindow({"...... Los capitulos no tienen costo ......",
                       ".. Para continuar oprima cualquier tecla .."});
    return;
  }
  if (unsavedChanges) {
    ShowMessageWindow({".. Primero termine la entrada en proceso .."});
    return;
  }
  const CostOutcome cost = h.computeCost(area);
  if (cost.directCost <= 0) {
    const char* why = area == kAreaSubcontracts ? "... Faltan datos para calcular el costo ..."
                      : cost.circular           ? ".. Unitarios con error de circularidad .."
                                                : ".. Faltan datos para calcular el costo ..";
    ShowMessageWindow({why, "Si no los localiza use la opcion Calcular"});
    return;
  }
  const bool aiu = h.aiuPerItem && h.aiuPerItem();
  const long double admin = h.adminPct ? h.adminPct() : 0;
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'D';
  w.left = 29, w.right = 52, w.top = 10, w.bottom = 12;
  w.title = aiu ? " COSTO   (Con AIU) " : " COSTO   (Sin AIU) ";
  w.buttons = "Esc^regresa";
  if (!OpenWindow(w)) return;
  GotoXY(2, 1);
  BoldText();
  WriteText("$" + FormatNumber(NumberDisplayWidth(kCostWidth, 2), 2,
                               ShownCost(cost.directCost, aiu, admin)));
  NormalText();
  while (GetKey() != kKeyEsc) Beep();
  CloseWindow();
}

}  // namespace vantu
