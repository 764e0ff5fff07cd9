#include "console/console.h"

#include <algorithm>

#include "console/letters.h"
#include "platform/platform.h"

namespace vantu {

namespace {

ScreenState gScreen;

constexpr std::array<uint32_t, 23> kHighColours = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    0xE0E0FF, 0xC0FFC0, 0xC0E0FF, 0xFFE0C0, 0xC0FFFF, 0xE0E0E0, 0xFFE0E0};

int WindowWidth() {
  return gScreen.right - gScreen.left + 1;
}
int WindowHeight() {
  return gScreen.bottom - gScreen.top + 1;
}
int AbsCol() {
  return gScreen.left + gScreen.cursorX - 1;
}
int AbsRow() {
  return gScreen.top + gScreen.cursorY - 1;
}
bool InGrid(int col, int row) {
  return col >= 1 && row >= 1 && col <= kBufferSize && row <= kBufferSize;
}

Cell BlankCell() {
  Cell c;
  c.ch = 32;
  c.fg = gScreen.curFg;
  c.bg = gScreen.curBg;
  c.style = gScreen.curStyle;
  c.flags = 0;
  return c;
}

void BlankRow(int row, int fromCol, int toCol) {
  if (row < 1 || row > kBufferSize) return;
  fromCol = std::max(fromCol, 1);
  toCol = std::min(toCol, kBufferSize);
  for (int c = fromCol; c <= toCol; ++c) gScreen.At(c, row) = BlankCell();
  if (toCol >= fromCol) Host().RedrawCells(fromCol, row, toCol - fromCol + 1);
}

}  // namespace

ScreenState& Screen() {
  return gScreen;
}

void ResetScreen() {
  int cols = gScreen.columns, rows = gScreen.rows;
  gScreen = ScreenState{};
  gScreen.columns = cols;
  gScreen.rows = rows;
  gScreen.right = cols;
  gScreen.bottom = rows;
}

uint32_t ColourOf(int n) {
  if (gScreen.highColour) {
    return (n >= 0 && n < static_cast<int>(kHighColours.size())) ? kHighColours[n] : 0;
  }
  if (n == 8) return 0xC0C0C0;
  uint32_t part = n >= 9 ? 0xFF : 0x80;
  uint32_t colour = 0;
  if (n & 1) colour |= part;
  if (n & 2) colour |= part << 8;
  if (n & 4) colour |= part << 16;
  return colour;
}

int NumberOf(uint32_t colour) {
  if (gScreen.highColour) {
    for (size_t i = 0; i < kHighColours.size(); ++i)
      if (kHighColours[i] == colour) return static_cast<int>(i);
    return 0;
  }
  if (colour == 0xC0C0C0) return 8;
  int n = 0;
  bool full = false;
  for (int bit = 0; bit < 3; ++bit) {
    uint32_t part = (colour >> (8 * bit)) & 0xFF;
    if (part == 0xFF || (part & 0x80)) n |= 1 << bit;
    if (part == 0xFF) full = true;
  }
  return full ? n + 8 : n;
}

void GotoXY(int x, int y) {
  if (x <= 0 || y <= 0 || x > WindowWidth() || y > WindowHeight()) return;
  gScreen.cursorX = x;
  gScreen.cursorY = y;
}

int WhereX() {
  return gScreen.cursorX;
}
int WhereY() {
  return gScreen.cursorY;
}

void Window(int x1, int y1, int x2, int y2) {
  gScreen.left = x1;
  gScreen.top = y1;
  gScreen.right = x2;
  gScreen.bottom = y2;
}

uint16_t WindMin() {
  return static_cast<uint16_t>((gScreen.left - 1) + 256 * (gScreen.top - 1));
}
uint16_t WindMax() {
  return static_cast<uint16_t>((gScreen.right - 1) + 256 * (gScreen.bottom - 1));
}

void TextColor(int n) {
  gScreen.curFg = ColourOf(n);
}
void TextBackground(int n) {
  gScreen.curBg = ColourOf(n);
}
void SetTextColors(int bg, int fg) {
  TextBackground(bg);
  TextColor(fg);
}
int GetTextBackground() {
  return NumberOf(gScreen.curBg);
}
int TextStyle(int s) {
  gScreen.curStyle = static_cast<uint8_t>(s);
  return s;
}

namespace {

// Text output at the cursor; with `letters`, the accented letters of the
// text are marked to be shown as letters.
void WriteCells(const std::string& s, bool letters) {
  if (AbsRow() > gScreen.bottom || !InGrid(AbsCol(), AbsRow())) return;
  const int row = AbsRow();
  const int first = AbsCol();
  int k = 0;
  const int n = static_cast<int>(std::min<size_t>(s.size(), 255));
  while (k < n && first + k <= gScreen.right && first + k <= kBufferSize) {
    Cell c = BlankCell();
    c.ch = static_cast<uint8_t>(s[k]);
    if (letters && IsAccentedLetter(c.ch)) c.flags = kLetterCell;
    gScreen.At(first + k, row) = c;
    ++k;
  }
  if (k > 0) Host().RedrawCells(first, row, k);
  GotoXY(gScreen.cursorX + k, gScreen.cursorY);
}

}  // namespace

void WriteText(const std::string& s) {
  WriteCells(s, false);
}

void WriteLetters(const std::string& s) {
  WriteCells(s, true);
}

void ClrEol() {
  BlankRow(AbsRow(), AbsCol(), gScreen.right);
}

void ClrScr() {
  for (int r = gScreen.top; r <= gScreen.bottom; ++r) BlankRow(r, gScreen.left, gScreen.right);
  GotoXY(1, 1);
}

void InsLine() {
  const int row = AbsRow();
  for (int r = gScreen.bottom; r > row; --r)
    for (int c = gScreen.left; c <= gScreen.right; ++c)
      if (InGrid(c, r)) gScreen.At(c, r) = gScreen.At(c, r - 1);
  for (int c = gScreen.left; c <= gScreen.right; ++c)
    if (InGrid(c, row)) gScreen.At(c, row) = BlankCell();
  Host().RedrawAll();
}

void DelLine() {
  const int row = AbsRow();
  for (int r = row; r < gScreen.bottom; ++r)
    for (int c = gScreen.left; c <= gScreen.right; ++c)
      if (InGrid(c, r + 1)) gScreen.At(c, r) = gScreen.At(c, r + 1);
  for (int c = gScreen.left; c <= gScreen.right; ++c)
    if (InGrid(c, gScreen.bottom)) gScreen.At(c, gScreen.bottom) = BlankCell();
  Host().RedrawAll();
}

void Delay(int ms) {
  if (ms > 0) Host().Sleep(ms);
}

void Beep() {
  if (!gScreen.beepOff) Host().Beep();
}

std::string ReadScreenText(int x, int y, int n) {
  std::string s;
  for (int i = 0; i < n; ++i)
    if (InGrid(x + i, y)) s += static_cast<char>(gScreen.At(x + i, y).ch);
  return s;
}

std::string CapsuleText(std::string s) {
  if (s.empty()) return s;
  s.front() = static_cast<char>(135);
  s.back() = static_cast<char>(134);
  return s;
}

void SetWindowCaption(const std::string& s) {
  Host().SetWindowCaption(s);
}

}  // namespace vantu
