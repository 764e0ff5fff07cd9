#include "toolkit/window_message.h"

#include <algorithm>

#include "console/console.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/window_stack.h"

namespace vantu {

uint8_t ShowMessageWindow(const std::vector<std::string>& lines, int scheme,
                          const std::string& buttons) {
  size_t longest = 0;
  for (const std::string& l : lines) longest = std::max(longest, l.size());
  const int width = std::min<int>(static_cast<int>(longest) + 4, 78);
  const int height = static_cast<int>(lines.size()) + 2;
  WindowDesc w;
  w.scheme = scheme;
  w.frame = 'D';
  w.buttons = buttons;
  w.left = (80 - width) / 2 + 1;
  w.right = w.left + width - 1;
  w.top = (25 - height) / 2 + 1;
  w.bottom = w.top + height - 1;
  if (!OpenWindow(w)) {
    FullScreenWindow whole(true);
    ShowError(lines.empty() ? std::string() : lines.front());
    return GetKey();
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    GotoXY(2, static_cast<int>(i) + 1);
    WriteText(lines[i]);
  }
  Beep();
  const uint8_t key = GetKey();
  CloseWindow();
  return key;
}

}  // namespace vantu
