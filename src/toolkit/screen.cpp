#include "toolkit/screen.h"

#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "platform/platform.h"
#include "session/shell_state.h"
#include "toolkit/error_review.h"
#include "toolkit/numbers.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/work_area_link.h"

namespace vantu {

const char* const kStandardButtons[kStandardButtonCount] = {
    "AltX^salir",       "Esc^cerrar",     "Esc^regresa",     "CtrlF1^ayuda",    "AltF2^ayuda",
    "AltF1^leame!",     "F1^ver_lista",   "F2^Copiar..",     "F3^mes/sem",      "F3^Cod.Pliegos",
    "F3^regenerar..",   "F4^recodifica",  "F5^duplica",      "F5^avance_obra",  "F6^fecha",
    "F7^salva",         "F8^cap/item",    "F9^inserta_",     "Supr^desinserta", "TAB^elimina",
    "Insert^ver_costo", "F11^borra_dato", "F12^recup._dato", "AltN^consultor",  "TAB^borra_crono"};

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

void ShowButtonLabel(const std::string& label) {
  if (label == "*") return;
  SelectScheme(Shell().openingWork ? kSchemeMainMenu : kSchemeModule);
  NormalText();
  CurrentButtonLabel() = label;
  ShowKeyButtons(0, 25, label, false, 1);
}

void ShowReviewButtons() {
  if (!Review().active) return;
  ShowKeyButtons(80, 25, "CtrlRePag^error/previo CtrlAvPag^error/sigue CtrlFin^error/salir", false,
                 2);
  SetCaret(true);
}

void SetCaret(bool on) {
  Input().caretWanted = on;
  const ScreenState& s = Screen();
  Host().ShowCaret(on, s.left + s.cursorX - 1, s.top + s.cursorY - 1);
}

namespace {

constexpr int kWidth = 80;
constexpr int kBottomRow = 25;

// Box characters in SetBoxChars order.
enum BoxPart {
  kTopLeft,
  kTopTee,
  kTopRight,
  kLeftTee,
  kCross,
  kRightTee,
  kBottomLeft,
  kBottomTee,
  kBottomRight,
  kHorizontal,
  kVertical
};

void BorderRow(int row, BoxPart left, BoxPart right) {
  const auto& box = Schemes().box;
  GotoXY(1, row);
  WriteText(static_cast<char>(box[left]) +
            RepeatChar(static_cast<char>(box[kHorizontal]), kWidth - 2) +
            static_cast<char>(box[right]));
}

}  // namespace

void MarkSpinField(int x, int y, int w) {
  SetTextColors(8, 0);
  GotoXY(x + w - 2, y - 1);
  WriteText("\xE1\xE2");
  GotoXY(x + w - 2, y + 1);
  WriteText("\xE3\xE4");
  TextBackground(Screen().highColour ? 21 : 8);
}

void ScreenTitle(const std::string& title) {
  ShowReviewButtons();
  StatusText(true);
  WriteCentered(1, title);
  NormalText();
  WriteLineAt(2, RepeatChar(static_cast<char>(220), kWidth));
  WriteLineAt(24, RepeatChar(static_cast<char>(223), kWidth));
}

void FrameScreen(bool compact, const std::string& title, const std::string& subtitle) {
  const int top = compact ? 1 : 2;
  const int separator = top + 2;
  if (compact) {
    NormalText();
  } else {
    BoldText();
    WriteCentered(1, title);
  }
  BorderRow(top, kTopLeft, kTopRight);
  BorderRow(separator, kLeftTee, kRightTee);
  BorderRow(kBottomRow, kBottomLeft, kBottomRight);
  const std::string vertical(1, static_cast<char>(Schemes().box[kVertical]));
  for (int row = top + 1; row < kBottomRow; ++row) {
    if (row == separator) continue;
    GotoXY(1, row);
    WriteText(vertical);
    GotoXY(kWidth, row);
    WriteText(vertical);
  }
  WriteCentered(top + 1, subtitle.substr(0, 35));
  ShowReviewButtons();
  NormalText();
}

void StartModuleScreen(int kind) {
  ClrScr();
  ScreenTitle(AreaTitle(kind));
  Shell().windowEscPending = false;
  ShowStandardButtons(AreaButtons(kind));
}

}  // namespace vantu
