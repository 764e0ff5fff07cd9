#include "toolkit/schemes.h"

#include "console/console.h"

namespace vantu {

namespace {

SchemeState gSchemes;

constexpr std::array<Scheme, 17> kHigh = {{
    {21, 0, 4, 21, 4, 1, 4, 15},
    {16, 0, 0, 16, 15, 9, 15, 0},
    {19, 0, 0, 19, 15, 11, 15, 0},
    {20, 0, 0, 20, 9, 2, 3, 15},
    {18, 0, 0, 18, 11, 0, 8, 0},
    {15, 0, 3, 15, 0, 0, 3, 15},
    {15, 0, 1, 15, 0, 15, 8, 1},
    {20, 0, 0, 1, 15, 11, 4, 15},
    {18, 0, 3, 18, 15, 0, 3, 15},
    {15, 0, 4, 4, 0, 4, 8, 4},
    {20, 7, 7, 20, 1, 0, 8, 0},
    {21, 0, 0, 21, 4, 4, 4, 15},
    {7, 15, 15, 8, 0, 0, 8, 0},
    {17, 0, 0, 17, 15, 11, 15, 0},
    {8, 0, 0, 8, 17, 9, 8, 0},
    {22, 0, 0, 16, 15, 9, 15, 0},
    {21, 0, 0, 8, 0, 12, 4, 15},
}};

constexpr std::array<Scheme, 17> kLow = {{
    {8, 0, 4, 8, 9, 1, 4, 15},
    {11, 0, 4, 8, 0, 12, 15, 0},
    {6, 15, 11, 6, 15, 11, 15, 0},
    {15, 0, 0, 15, 9, 2, 8, 0},
    {3, 15, 11, 3, 11, 11, 8, 0},
    {3, 15, 11, 3, 15, 11, 8, 0},
    {15, 0, 1, 15, 0, 15, 8, 1},
    {1, 15, 11, 1, 15, 11, 4, 15},
    {8, 0, 4, 8, 15, 12, 4, 15},
    {15, 0, 4, 6, 0, 4, 4, 15},
    {1, 15, 11, 5, 0, 0, 8, 0},
    {8, 0, 0, 8, 4, 4, 4, 15},
    {7, 15, 4, 8, 0, 0, 8, 4},
    {2, 15, 11, 2, 15, 11, 15, 0},
    {8, 0, 0, 8, 10, 9, 8, 0},
    {8, 0, 4, 8, 0, 12, 15, 0},
    {8, 0, 4, 8, 10, 9, 4, 15},
}};

constexpr std::array<uint8_t, 11> kDouble{201, 203, 187, 204, 206, 185, 200, 202, 188, 205, 186};
constexpr std::array<uint8_t, 11> kSingle{218, 194, 191, 195, 197, 180, 192, 193, 217, 196, 179};

void Apply(int bg, int fg, int style) {
  SetTextColors(bg, fg);
  TextStyle(style);
}

}  // namespace

SchemeState& Schemes() {
  return gSchemes;
}
void ResetSchemes() {
  gSchemes = SchemeState{};
}

const Scheme& SchemeTable(int n, bool highColour) {
  if (n < 1 || n > 17) n = 1;
  return highColour ? kHigh[n - 1] : kLow[n - 1];
}

void SelectScheme(int n) {
  if (n < 1 || n > 17) return;
  gSchemes.colours = SchemeTable(n, Screen().highColour);
  gSchemes.current = n;
  TextColor(gSchemes.colours[1]);
  TextBackground(gSchemes.colours[0]);
}

int CurrentScheme() {
  return gSchemes.current;
}

void NormalText() {
  Apply(gSchemes.colours[0], gSchemes.colours[1], 0);
}
void BoldText() {
  Apply(gSchemes.colours[0], gSchemes.colours[2], 1);
}
void FieldText() {
  Apply(gSchemes.colours[3], gSchemes.colours[4], 0);
}
void FieldBoldText() {
  Apply(gSchemes.colours[3], gSchemes.colours[5], 1);
}
void StatusText(bool bold) {
  Apply(gSchemes.colours[6], gSchemes.colours[7], bold ? 1 : 0);
}

void SetBoxChars(char c) {
  if (c == 'D') gSchemes.box = kDouble;
  if (c == 'S') gSchemes.box = kSingle;
}

}  // namespace vantu
