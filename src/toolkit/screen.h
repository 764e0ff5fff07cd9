#pragma once
// Screen building blocks: standard key buttons, the caret, titled and
// framed screens.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace vantu {

// A set of standard button indexes 0..24, one bit each.
using ButtonSet = uint32_t;
constexpr ButtonSet ButtonsOf(std::initializer_list<int> indexes) {
  ButtonSet set = 0;
  for (int i : indexes) set |= ButtonSet{1} << i;
  return set;
}

constexpr int kStandardButtonCount = 25;
extern const char* const kStandardButtons[kStandardButtonCount];

// The label last shown in key-button row 1 by the toolkit.
std::string& CurrentButtonLabel();

// The labels of the set's members, in index order, in key-button row 1.
void ShowStandardButtons(ButtonSet set);
// A label of its own in key-button row 1, unless it is "*".
void ShowButtonLabel(const std::string& label);
// The review's buttons in row 2 while the error review runs.
void ShowReviewButtons();
void SetCaret(bool on);

// Up/down arrows above and below the right end of a field at column x,
// row y, w cells wide.
void MarkSpinField(int x, int y, int w);

// Title centred on row 1 in status colours, rows 2 and 24 as rules.
void ScreenTitle(const std::string& title);
// A frame around the whole screen in the current box characters, with a
// separator under the title (compact: subtitle only, in row 2).
void FrameScreen(bool compact, const std::string& title, const std::string& subtitle);
// A module's screen for work area `kind`: its title and its buttons.
void StartModuleScreen(int kind);

}  // namespace vantu
