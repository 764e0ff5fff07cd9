#pragma once
// Pop-up windows: a stack of up to 4 nested windows, each saving the screen
// and the key-button row under it and restoring them when it closes.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "console/console.h"
#include "console/key_buttons.h"

namespace vantu {

constexpr int kMaxWindows = 4;

struct WindowDesc {
  int scheme = 1;    // colour scheme of the window
  char frame = 'D';  // 'D' double, 'S' single, 'H' double in colour, a block otherwise
  int left = 1, top = 1, right = 80, bottom = 25;  // absolute, frame included
  std::string title;                               // centred on the top border; may be empty
  std::string buttons;  // key-button row while open; "Esc^regresa" when empty
  // "SIMPLE", "Wind", or tabs: "Tabs|n|" followed by "|label|scheme" per tab.
  std::string style = "SIMPLE";
  std::string header;  // a line written on the first inside row
};

// One tab of a tabbed window.
struct WindowTab {
  std::string label;
  int scheme = 0;
};
// The tabs of a style text; empty for a style without tabs.
std::vector<WindowTab> ParseWindowTabs(const std::string& style);
// Cells the tabs take on the top border, from its third column.
int TabsWidth(const std::vector<WindowTab>& tabs);

struct WindowLevel {
  int left = 0, top = 0, right = 0, bottom = 0, scheme = 1;
  std::string savedCells;        // the screen under the window
  KeyButtonRow savedButtons;     // key-button row 1 under the window
  std::string savedButtonLabel;  // CurrentButtonLabel under the window
  int winLeft = 1, winTop = 1, winRight = 80, winBottom = 25, cursorX = 1, cursorY = 1;
  int savedScheme = 1;
  bool hadTabs = false;
  // Pictures the window covers, with their slot numbers; they lie above the
  // cells, so they are taken off while the window is open.
  std::vector<std::pair<int, ImageSlot>> hiddenImages;
  bool caretWanted = false;  // the caret under the window
};

struct WindowStackState {
  std::array<WindowLevel, kMaxWindows> levels;
  int depth = 0;
};

WindowStackState& WindowStack();
void ResetWindowStack();
int WindowDepth();

// Saves the screen under the rectangle, pushes a level, draws frame, title,
// tabs and button row, takes off the pictures it covers, and restricts
// output to the inside. The caret stays off inside the window until a
// field or a question there asks for it. False, with
// nothing drawn or changed, when 4 windows are already open or the
// rectangle does not fit the screen.
bool OpenWindow(const WindowDesc& desc);
// Restores the screen, button row, output window, scheme and covered
// pictures of the top level and pops it; nothing when no window is open.
void CloseWindow();

}  // namespace vantu
