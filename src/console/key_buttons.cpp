#include "console/key_buttons.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "console/keys.h"
#include "platform/platform.h"

namespace vantu {

namespace {

ButtonState gButtons;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> SplitBlanks(const std::string& s) {
  std::vector<std::string> items;
  std::string cur;
  for (char c : s) {
    if (c == ' ') {
      if (!cur.empty()) items.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) items.push_back(std::move(cur));
  return items;
}

void LayoutRow(KeyButtonRow& row) {
  const PixelSize cell = Host().CellSize();
  const int w = cell.width, h = cell.height;
  const int n = 80;
  const int perLine = n / 11;
  const int margin = ((n % 11) * w) / 2;
  auto slotLeft = [&](int k) {
    int left = (k - 1) * (11 * w + 2) + margin;
    if (left + 10 * w > n * w) left = n * w - 10 * w + 2;
    return left;
  };
  const int count = static_cast<int>(row.buttons.size());
  for (int k = 1; k <= count; ++k) {
    KeyButton& b = row.buttons[k - 1];
    b.width = 10 * w;
    b.height = h;
    bool firstLine = k <= perLine && row.x < n;
    int slot = row.x >= n ? perLine + k - count : (k <= perLine ? k : k - perLine);
    b.top = firstLine ? row.y * h + h / 2 : (row.y + 2) * h;
    b.left = slotLeft(std::max(slot, 1));
  }
}

void LayoutFree(FreeButtonSlot& b) {
  const PixelSize cell = Host().CellSize();
  b.left = (b.col - 1) * cell.width;
  b.top = (b.row - 1) * cell.height + 1;
  b.height = cell.height - 2;
  b.bold = b.caption == "X";
  b.width = b.bold ? cell.height : static_cast<int>(b.caption.size()) * cell.width - 4;
}

void ErrorBox(const std::string& text) {
  Host().MessageBox(text, "Error Aplicativo", BoxIcon::Warning, BoxButtons::Ok);
}

}  // namespace

ButtonState& Buttons() {
  return gButtons;
}
void ResetButtons() {
  gButtons = ButtonState{};
}

uint8_t KeyName(const std::string& name) {
  static const std::pair<const char*, uint8_t> kNames[] = {
      {"TAB", 9},       {"INTRO", 13},      {"ESC", 27},        {"FIN", 172},     {"INICIO", 171},
      {"INSERT", 181},  {"F1", 133},        {"F2", 134},        {"F3", 135},      {"F4", 136},
      {"F5", 137},      {"F6", 138},        {"F7", 139},        {"F8", 140},      {"F9", 141},
      {"SUPR", 132},    {"F11", 175},       {"F12", 176},       {"CTRLF1", 179},  {"CTRLF2", 180},
      {"CTRLF12", 183}, {"CTRLREPAG", 173}, {"CTRLAVPAG", 174}, {"CTRLFIN", 178}, {"ALTF1", 182},
      {"ALTF2", 184},   {"ALTX", 168},      {"ALTV", 166},      {"ALTN", 158}};
  const std::string up = Upper(name);
  for (const auto& [n, code] : kNames)
    if (up == n) return code;
  return 255;
}

void ShowKeyButtons(int x, int y, const std::string& label, bool force, int rowNo) {
  if (rowNo < 1 || rowNo > 2) return;
  const std::string text = label.substr(0, 255);
  if (!force) {
    if (text == gButtons.lastUnforcedLabel) return;
    gButtons.lastUnforcedLabel = text;
  }
  KeyButtonRow& row = gButtons.rows[rowNo - 1];
  row = KeyButtonRow{true, x, y, text, {}};
  for (std::string item : SplitBlanks(text)) {
    if (row.buttons.size() == kMaxButtons) break;
    std::replace(item.begin(), item.end(), '_', ' ');
    const size_t caret = item.find('^');
    const std::string key = item.substr(0, caret);
    const std::string caption = caret == std::string::npos ? "" : item.substr(caret + 1);
    KeyButton b;
    b.caption = Upper(caption);
    b.hint = "Tecla: " + key;
    b.code = KeyName(key.substr(0, key.find('/')));
    row.buttons.push_back(std::move(b));
  }
  LayoutRow(row);
  Host().ButtonsChanged(rowNo);
}

void RemoveKeyButtons(int rowNo) {
  if (rowNo < 1 || rowNo > 2) return;
  KeyButtonRow& row = gButtons.rows[rowNo - 1];
  row.buttons.clear();
  row.shown = false;
  Host().ButtonsChanged(rowNo);
}

void RelayoutKeyButtons() {
  for (int r = 1; r <= 2; ++r) {
    if (gButtons.rows[r - 1].shown) LayoutRow(gButtons.rows[r - 1]);
    Host().ButtonsChanged(r);
  }
  for (auto& b : gButtons.free)
    if (b.used) LayoutFree(b);
  Host().ButtonsChanged(0);
}

void AddButton(int group, int col, int row, uint8_t code, const std::string& hint,
               const std::string& caption) {
  auto slot = std::find_if(gButtons.free.begin(), gButtons.free.end(),
                           [](const FreeButtonSlot& b) { return !b.used; });
  if (slot == gButtons.free.end()) {
    ErrorBox("No hay Botones disponibles");
    return;
  }
  FreeButtonSlot& b = *slot;
  b = {};
  b.used = true;
  b.group = static_cast<uint8_t>(group);
  b.col = static_cast<uint8_t>(col);
  b.row = static_cast<uint8_t>(row);
  b.code = code;
  b.hint = hint;
  b.caption = caption;
  LayoutFree(b);
  Host().ButtonsChanged(0);
}

void FreeButton(int index) {
  if (index < 1 || index > kMaxButtons || !gButtons.free[index - 1].used) {
    ErrorBox("Boton no existe");
    return;
  }
  gButtons.free[index - 1] = {};
  Host().ButtonsChanged(0);
}

namespace {
template <typename F>
void ForGroup(int group, F f) {
  for (auto& b : gButtons.free)
    if (b.used && b.group == group) f(b);
  Host().ButtonsChanged(0);
}
}  // namespace

void ShowButtonGroup(int group) {
  ForGroup(group, [](FreeButtonSlot& b) { b.visible = b.enabled = true; });
}
void HideButtonGroup(int group) {
  ForGroup(group, [](FreeButtonSlot& b) { b.visible = b.enabled = false; });
}
void FreeButtonGroup(int group) {
  ForGroup(group, [](FreeButtonSlot& b) { b = {}; });
}
void RepaintButtonGroup(int group) {
  ForGroup(group, [](FreeButtonSlot&) {});
}

void PressButtonCode(uint8_t code) {
  Host().FocusConsole();
  Input().clickedField = 0;
  PushKey(code);
}

}  // namespace vantu
