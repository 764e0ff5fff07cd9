#include "toolkit/popup_menu.h"

#include <algorithm>

#include "console/console.h"
#include "console/keys.h"
#include "session/shell_state.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

void DrawEntries(const std::vector<std::string>& entries, int current) {
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    GotoXY(2, i + 1);
    if (i == current)
      FieldBoldText();
    else
      NormalText();
    WriteText(entries[i]);
  }
  NormalText();
}

}  // namespace

int RunPopupMenu(const std::string& title, const std::vector<std::string>& entries, int left,
                 int top, const std::string& buttons) {
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'S';
  w.left = left;
  w.top = top;
  // Wide enough for the entries, and for the title with a border cell
  // showing on each side of it.
  const int titleRoom = static_cast<int>(title.size()) + 4;
  w.right = w.left + std::max(25, titleRoom);
  w.bottom = w.top + static_cast<int>(entries.size()) + 1;
  w.title = title;
  w.buttons = buttons;
  if (!OpenWindow(w)) return -1;
  Shell().windowEscPending = true;
  const int n = static_cast<int>(entries.size());
  int current = 0;
  int chosen = -1;
  for (;;) {
    DrawEntries(entries, current);
    const uint8_t k = GetKey();
    if (k == kKeyUp) {
      current = (current + n - 1) % n;
    } else if (k == kKeyDown) {
      current = (current + 1) % n;
    } else if (k == kKeyEnter) {
      chosen = current;
      break;
    } else if (k == kKeyNoZone && Input().noTypedKey) {
      const int row = Input().mouseRow + 1 - w.top;
      if (row >= 1 && row <= n && Input().mouseCol + 1 > w.left && Input().mouseCol + 1 < w.right) {
        chosen = row - 1;
        break;
      }
    } else if (k == kKeyEsc) {
      break;
    } else {
      Beep();
    }
  }
  CloseWindow();
  Shell().windowEscPending = false;
  return chosen;
}

}  // namespace vantu
