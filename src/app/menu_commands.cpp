#include "app/menu_commands.h"

#include "console/keys.h"
#include "session/shell_state.h"
#include "toolkit/message_boxes.h"

namespace vantu {

namespace {

// One Esc for an inner input, one for a message or an inner window, and one
// per nested level plus one.
void PushBackOutCodes() {
  const ShellState& sh = Shell();
  if (sh.editEscPending) PushKey(kKeyEsc);
  if (sh.messageShown || sh.windowEscPending) PushKey(kKeyEsc);
  for (int i = 0; i <= sh.escDepth; ++i) PushKey(kKeyEsc);
}

bool AlreadyOpen(uint8_t letter) {
  const ShellState& sh = Shell();
  const bool dataEntry = letter >= 'D' && letter <= 'H';
  const bool schedule = letter == 'N' && !sh.scheduleMenuOpen;
  return (dataEntry || schedule) && letter == sh.currentCommand && !sh.atMainMenu;
}

}  // namespace

void PushCommand(uint8_t letter) {
  InputState& in = Input();
  in.mouseCol = 0;
  if (AlreadyOpen(letter)) return;
  in.mouseButton = -1;
  if (!Shell().atMainMenu) PushBackOutCodes();
  PushKey(letter);
  Shell().menuCommandQueued = true;
}

QuitOutcome AskQuit() {
  if (ConfirmBox("Desea abandonar ahora ?", "Salir del Programa") != 'S')
    return QuitOutcome::Cancelled;
  if (Shell().haltAtClose) return QuitOutcome::HaltNow;
  PushBackOutCodes();
  PushKey(kEndCode);
  return QuitOutcome::CodesPushed;
}

}  // namespace vantu
