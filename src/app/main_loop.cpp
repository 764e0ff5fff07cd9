// The main command loop: waits at the main menu for a command letter and
// runs its module.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/main_program.h"
#include "app/menu_commands.h"
#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "console/letters.h"
#include "platform/platform.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "toolkit/error_review.h"
#include "toolkit/key_reader.h"
#include "toolkit/message_boxes.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"

namespace vantu {

namespace {

bool NeedsObra(uint8_t code) {
  return std::strchr("HNOP", code) != nullptr;
}

void RunSelectionCommand(const CommandModule& module) {
  ShellState& sh = Shell();
  SelectScheme(kSchemeModule);
  if (Buttons().rows[1].shown) RemoveKeyButtons(2);
  Host().SetMenusEnabled(false);
  module();
  Host().UpdateMenusForSelection(sh.obraSelected);
  Host().SetMenusEnabled(true);
  if (sh.generalDataNext) {
    if (const CommandModule* d = FindCommand('D')) {
      SetCaret(true);
      SelectScheme(kSchemeModule);
      (*d)();
    }
  }
}

void Centred(int row, const std::string& text) {
  GotoXY(std::max(1, (80 - static_cast<int>(text.size())) / 2 + 1), row);
  WriteLetters(text);
}

// The open Rama and Obra, centred on the main menu's empty screen.
void ShowOpenSet() {
  const SelectionState& sel = Selection();
  if (sel.RamaCode.empty()) return;
  Centred(11, RamaTitleLine(sel.RamaCode, sel.RamaName));
  if (Shell().obraSelected) Centred(13, ObraTitleLine(sel.ObraCode, sel.ObraName));
}

// The error review waits at the main menu for its keys: the menu says which.
void ShowReviewKeys() {
  if (!Review().active) return;
  BoldText();
  Centred(17, "... REVISION DE ERRORES: " + std::to_string(Review().errorCount) + " ...");
  NormalText();
  Centred(19, "CtrlAvPag: error siguiente   CtrlRePag: error previo   CtrlFin: salir");
}

void AskExit() {
  ShellState& sh = Shell();
  SetCaret(true);
  BoldText();
  char answer = ConfirmBox("Desea abandonar ahora ?", "Salir del Programa");
  if (answer != 'S') sh.commandKey = sh.lastAnswer;
}

}  // namespace

void RunCommand(uint8_t code) {
  ShellState& sh = Shell();
  if (code == kKeyAltX) {
    AskExit();
    return;
  }
  const CommandModule* module = FindCommand(code);
  if (module == nullptr) return;
  if (NeedsObra(code) && !sh.obraSelected) return;
  switch (code) {
    case 'A':
      RunSelectionCommand(*module);
      return;
    case 'B':
    case 'C':
      SetCaret(true);
      break;
    case 'D':
    case 'E':
    case 'F':
    case 'G':
    case 'H':
      SetCaret(true);
      SelectScheme(kSchemeModule);
      break;
    case 'N':
      SelectScheme(kSchemeSchedule);
      break;
    default:
      break;
  }
  (*module)();
}

void MainLoop() {
  ShellState& sh = Shell();
  for (;;) {
    SetCaret(false);
    SelectScheme(kSchemeMainMenu);
    sh.atMainMenu = true;
    ClrScr();
    ShowOpenSet();
    ShowReviewKeys();
    ShowStandardButtons(ButtonsOf({0}));
    do {
      Input().noTypedKey = true;
      sh.commandKey = GetKey();
    } while (!((Input().noTypedKey && sh.commandKey != kKeyEsc) || sh.commandKey == kKeyAltX));
    sh.atMainMenu = false;
    sh.menuCommandQueued = false;
    sh.commandFlag = false;
    sh.currentCommand = sh.commandKey;
    RunCommand(sh.commandKey);
    // A key typed during the command is dropped; a menu's command is not.
    if (std::strchr("BCIJKLMOP", sh.commandKey) != nullptr && sh.commandKey != 0 &&
        !sh.menuCommandQueued && KeyPressed())
      GetKey();
    SelectScheme(kSchemeMainMenu);
    if (sh.commandKey == kKeyAltX || sh.commandKey == kEndCode) break;
  }
  if (Hooks().clearSetInUse) Hooks().clearSetInUse();
}

}  // namespace vantu
