#pragma once
// What the main window's menu entries and close box put into the key queue:
// enough Esc codes to bring the running module back to the main loop, then a
// command letter or the end code. They never run a module themselves.

#include <cstdint>

namespace vantu {

constexpr uint8_t kEndCode = 180;  // the main loop ends on it

// Pushes Esc codes and the letter; nothing when the letter's data-entry
// module is the one already open.
void PushCommand(uint8_t letter);

// Outcome of the quit question.
enum class QuitOutcome { Cancelled, CodesPushed, HaltNow };
// "Salir" and the close box: asks, then pushes the Esc codes and 180, or
// tells the caller to stop at once while the selection holds HaltAtClose.
QuitOutcome AskQuit();

}  // namespace vantu
