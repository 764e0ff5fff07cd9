#include "reports/listing_menu.h"

#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "toolkit/prompts.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

int ChooseListingOption(const char* heading, const char* const* options, int count) {
  WindowDesc desc;
  desc.scheme = kSchemeModule;
  desc.left = 20;
  desc.top = 6;
  desc.right = 61;
  desc.bottom = 8 + count + 3;
  if (!OpenWindow(desc)) return 0;
  GotoXY(2, 1);
  WriteText(heading);
  for (int i = 0; i < count; ++i) {
    GotoXY(2, 3 + i);
    WriteText(options[i]);
  }
  std::string keys;
  for (int i = 1; i <= count; ++i) keys += static_cast<char>('0' + i);
  keys += static_cast<char>(kKeyEsc);
  const uint8_t key = AskKey(count + 4, "Opcion :", keys, 0);
  CloseWindow();
  return key == kKeyEsc ? 0 : key - '0';
}

}  // namespace vantu
