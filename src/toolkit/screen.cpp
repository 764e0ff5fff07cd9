#include "toolkit/screen.h"

#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "platform/platform.h"
#include "toolkit/schemes.h"

namespace vantu {

const char* const kStandardButtons[kStandardButtonCount] = {
    "AltX^salir",      "Esc^cerrar",       "Esc^regresa",     "CtrlF1^ayuda",
    "AltF2^ayuda",     "AltF1^leame!",     "F1^ver_lista",    "F2^Copiar..",
    "F3^mes/sem",      "F3^Cod.Pliegos",   "F3^regenerar..",  "F4^recodifica",
    "F5^duplica",      "F5^avance_obra",   "F6^fecha",        "F7^salva",
    "F8^cap/item",     "F9^inserta_",      "Supr^desinserta", "TAB^elimina",
    "Insert^ver_costo", "F11^borra_dato",  "F12^recup._dato", "AltN^consultor",
    "TAB^borra_crono"};

std::string& CurrentButtonLabel() {
  static std::string label;
  return label;
}

void ShowStandardButtons(ButtonSet set) {
  BoldText();
  if (set == 0) return;
  std::string label;
  for (int i = 0; i < kStandardButtonCount; ++i) {
    if (!(set & (ButtonSet{1} << i))) continue;
    if (!label.empty()) label += ' ';
    label += kStandardButtons[i];
  }
  CurrentButtonLabel() = label;
  NormalText();
  ShowKeyButtons(0, 25, label, false, 1);
}

void SetCaret(bool on) {
  Input().caretWanted = on;
  const ScreenState& s = Screen();
  Host().ShowCaret(on, s.left + s.cursorX - 1, s.top + s.cursorY - 1);
}

}  // namespace vantu
