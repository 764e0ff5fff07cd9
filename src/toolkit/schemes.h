#pragma once
// Colour schemes (17, for high and low colour), the text colours derived
// from the current scheme, and the box-drawing characters.

#include <array>
#include <cstdint>

namespace vantu {

// b0 main background, b1 normal text, b2 bold text, b3 field background,
// b4 field text, b5 bold field text, b6 status background, b7 status text.
using Scheme = std::array<uint8_t, 8>;

struct SchemeState {
  Scheme colours{21, 0, 4, 21, 4, 1, 4, 15};  // SchemeColours
  int current = 1;                            // CurrentScheme
  // top-left, top tee, top-right, left tee, cross, right tee, bottom-left,
  // bottom tee, bottom-right, horizontal, vertical
  std::array<uint8_t, 11> box{201, 203, 187, 204, 206, 185, 200, 202, 188, 205, 186};
};

SchemeState& Schemes();
void ResetSchemes();

// The schemes the program selects by name.
enum SchemeId : int {
  kSchemeModule = 1,     // data-entry modules, selection, listings
  kSchemeMainMenu = 9,   // the main menu and the selection at start-up
  kSchemeSchedule = 12,  // the schedule
};

const Scheme& SchemeTable(int n, bool highColour);
void SelectScheme(int n);
int CurrentScheme();

void NormalText();
void BoldText();
void FieldText();
void FieldBoldText();
void StatusText(bool bold);

// 'D' double lines, 'S' single lines; anything else leaves them.
void SetBoxChars(char c);

}  // namespace vantu
