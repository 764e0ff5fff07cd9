#include "toolkit/window_stack.h"

#include <algorithm>

#include "console/console.h"
#include "console/keys.h"
#include "platform/platform.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"

namespace vantu {

namespace {

WindowStackState gStack;

constexpr uint8_t kBlock = 219;
constexpr int kTabButtonGroup = 9;

// Frame characters: corners, horizontal, vertical.
struct FrameChars {
  uint8_t tl, tr, bl, br, h, v;
};

FrameChars FrameFor(char kind) {
  const bool dbl = kind == 'D' || (kind == 'H' && Screen().highColour);
  if (kind == 'H' && !Screen().highColour) return {kBlock, kBlock, kBlock, kBlock, kBlock, kBlock};
  if (dbl) return {201, 187, 200, 188, 205, 186};
  return {218, 191, 192, 217, 196, 179};
}

ScreenRect RectOf(const WindowLevel& lv) {
  return {static_cast<int16_t>(lv.left - 1), static_cast<int16_t>(lv.top - 1),
          static_cast<int16_t>(lv.right - 1), static_cast<int16_t>(lv.bottom - 1)};
}

void PutAt(int col, int row, const std::string& s) {
  GotoXY(col, row);
  WriteText(s);
}

// The title goes centred on the top border, or after the tabs when there
// are tabs (`tabsWidth` cells from the third column).
void DrawFrame(const WindowDesc& w, int tabsWidth) {
  const FrameChars f = FrameFor(w.frame);
  const int inner = w.right - w.left - 1;
  const std::string h(inner, static_cast<char>(f.h));
  PutAt(w.left, w.top, std::string(1, f.tl) + h + std::string(1, f.tr));
  for (int r = w.top + 1; r < w.bottom; ++r)
    PutAt(w.left, r, std::string(1, f.v) + std::string(inner, ' ') + std::string(1, f.v));
  PutAt(w.left, w.bottom, std::string(1, f.bl) + h + std::string(1, f.br));
  if (!w.title.empty()) {
    const int room = tabsWidth ? inner - tabsWidth - 2 : inner;
    const std::string t = w.title.substr(0, std::max(room, 0));
    const int free = room - static_cast<int>(t.size());
    BoldText();
    PutAt(w.right - static_cast<int>(t.size()) - free / 2 - 1, w.top, t);
    NormalText();
  }
}

// Tabs on the top border, left to right; the tab of the window's own scheme
// is shown bold. The on-screen buttons sit on the bottom border.
void DrawTabs(const WindowDesc& w, const std::vector<WindowTab>& tabs) {
  int col = w.left + 2;
  for (const WindowTab& tab : tabs) {
    SelectScheme(tab.scheme);
    if (tab.scheme == w.scheme)
      FieldBoldText();
    else
      FieldText();
    PutAt(col, w.top, tab.label);
    col += static_cast<int>(tab.label.size()) + 1;
  }
  SelectScheme(w.scheme);
  const int row = w.bottom;
  AddButton(kTabButtonGroup, w.left, row, kKeyInsert, "Tecla: Insert", "VER DETALLE");
  AddButton(kTabButtonGroup, w.left + 14, row, kKeyF2, "Tecla: F2", " CAP/ITEM ");
  AddButton(kTabButtonGroup, w.left + 27, row, kKeyEsc, "Tecla: Esc", "Cerrar");
  ShowButtonGroup(kTabButtonGroup);
}

bool Covers(const WindowLevel& lv, const ImageSlot& img) {
  return img.col <= lv.right && img.col + img.width - 1 >= lv.left && img.row <= lv.bottom &&
         img.row + img.height - 1 >= lv.top;
}

void HideCoveredImages(WindowLevel& lv) {
  auto& images = Screen().images;
  for (size_t i = 0; i < images.size(); ++i) {
    if (images[i].name.empty() || !Covers(lv, images[i])) continue;
    lv.hiddenImages.emplace_back(static_cast<int>(i), images[i]);
    images[i] = ImageSlot{};
  }
  if (!lv.hiddenImages.empty()) Host().ImagesChanged();
}

void ShowHiddenImages(WindowLevel& lv) {
  if (lv.hiddenImages.empty()) return;
  auto& images = Screen().images;
  for (const auto& [i, img] : lv.hiddenImages)
    if (images[static_cast<size_t>(i)].name.empty()) images[static_cast<size_t>(i)] = img;
  Host().ImagesChanged();
}

}  // namespace

int TabsWidth(const std::vector<WindowTab>& tabs) {
  int width = 0;
  for (const WindowTab& t : tabs) width += static_cast<int>(t.label.size()) + 1;
  return width;
}

WindowStackState& WindowStack() {
  return gStack;
}

void ResetWindowStack() {
  gStack = WindowStackState{};
}
int WindowDepth() {
  return gStack.depth;
}

std::vector<WindowTab> ParseWindowTabs(const std::string& style) {
  std::vector<WindowTab> tabs;
  if (style.rfind("Tabs|", 0) != 0) return tabs;
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar; (bar = style.find('|', start)) != std::string::npos; start = bar + 1)
    parts.push_back(style.substr(start, bar - start));
  parts.push_back(style.substr(start));
  // parts: "Tabs", count, "", then label and scheme pairs.
  for (size_t i = 3; i + 1 < parts.size(); i += 2) {
    int scheme = 0;
    for (char c : parts[i + 1])
      if (c >= '0' && c <= '9') scheme = scheme * 10 + (c - '0');
    tabs.push_back({parts[i], scheme});
  }
  return tabs;
}

bool OpenWindow(const WindowDesc& w) {
  const ScreenState& s = Screen();
  if (gStack.depth >= kMaxWindows) return false;
  if (w.left < 1 || w.top < 1 || w.right > s.columns || w.bottom > s.rows || w.right - w.left < 2 ||
      w.bottom - w.top < 2)
    return false;
  WindowLevel& lv = gStack.levels[gStack.depth];
  lv = WindowLevel{};
  lv.left = w.left, lv.top = w.top, lv.right = w.right, lv.bottom = w.bottom;
  lv.scheme = w.scheme;
  lv.winLeft = s.left, lv.winTop = s.top, lv.winRight = s.right, lv.winBottom = s.bottom;
  lv.cursorX = s.cursorX, lv.cursorY = s.cursorY;
  lv.savedScheme = CurrentScheme();
  lv.savedButtons = Buttons().rows[0];
  lv.savedButtonLabel = CurrentButtonLabel();
  const std::vector<WindowTab> tabs = ParseWindowTabs(w.style);
  lv.hadTabs = !tabs.empty();
  lv.savedCells = SaveScreenRect(RectOf(lv));
  HideCoveredImages(lv);
  lv.caretWanted = Input().caretWanted;
  Input().caretWanted = false;
  ++gStack.depth;

  Window(1, 1, s.columns, s.rows);
  SelectScheme(w.scheme);
  DrawFrame(w, TabsWidth(tabs));
  if (lv.hadTabs) DrawTabs(w, tabs);
  const std::string label = w.buttons.empty() ? "Esc^regresa" : w.buttons;
  CurrentButtonLabel() = label;
  ShowKeyButtons(0, 25, label, true, 1);
  Window(w.left + 1, w.top + 1, w.right - 1, w.bottom - 1);
  if (!w.header.empty()) {
    GotoXY(1, 1);
    BoldText();
    WriteText(w.header.substr(0, w.right - w.left - 1));
    NormalText();
  }
  GotoXY(1, 1);
  return true;
}

void CloseWindow() {
  if (gStack.depth == 0) return;
  WindowLevel& lv = gStack.levels[--gStack.depth];
  RestoreScreenRect(RectOf(lv), lv.savedCells);
  ShowHiddenImages(lv);
  Input().caretWanted = lv.caretWanted;
  if (lv.hadTabs) FreeButtonGroup(kTabButtonGroup);
  const KeyButtonRow& row = lv.savedButtons;
  if (row.shown)
    ShowKeyButtons(row.x, row.y, row.label, true, 1);
  else
    RemoveKeyButtons(1);
  CurrentButtonLabel() = lv.savedButtonLabel;
  SelectScheme(lv.savedScheme);
  Window(lv.winLeft, lv.winTop, lv.winRight, lv.winBottom);
  GotoXY(lv.cursorX, lv.cursorY);
  lv = WindowLevel{};
}

}  // namespace vantu
