#include "toolkit/prompts.h"

#include "console/console.h"
#include "console/keys.h"
#include "toolkit/key_reader.h"
#include "toolkit/numbers.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"

namespace vantu {

namespace {

constexpr int kStatusRow = 25;

bool InKeys(const std::string& keys, uint8_t code) {
  return code != 0 && keys.find(static_cast<char>(code)) != std::string::npos;
}

}  // namespace

uint8_t AskKey(int row, const std::string& prompt, const std::string& keys, uint8_t def) {
  std::string text = prompt.substr(0, 80) + " ";
  if (def != 0) text += static_cast<char>(def);
  WriteCentered(row, text);
  if (def != 0) GotoXY(WhereX() - 1, WhereY());
  SetCaret(true);
  for (;;) {
    uint8_t code = UpperChar(GetKey());
    if (code == kKeyEnter && def != 0) code = def;
    if (IsReviewKey(code)) return code;
    if (InKeys(keys, code)) {
      if (code > 32) WriteText(std::string(1, static_cast<char>(code)));
      return code;
    }
    Beep();
  }
}

uint8_t AskKeyOnLine(int row, const std::string& prompt, const std::string& keys, uint8_t def) {
  if (row == kStatusRow) {
    SaveStatusLine();
  } else {
    GotoXY(1, row);
    ClrEol();
  }
  return AskKey(row, prompt, keys, def);
}

uint8_t WaitKeyIn(const std::string& keys) {
  for (;;) {
    uint8_t code = GetKey();
    if (InKeys(keys, code) || IsReviewKey(code)) return code;
    Beep();
  }
}

}  // namespace vantu
