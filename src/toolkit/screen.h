#pragma once
// Standard key buttons and the caret.

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

void ShowStandardButtons(ButtonSet set);
void SetCaret(bool on);

}  // namespace vantu
