#pragma once
// The character-cell screen: an 80 x 25 grid (buffer of 200 x 200) of cells,
// an output window, a cursor and current colours, written with
// terminal-style operations. The core only records cells; it tells the host
// which cells to redraw.

#include <array>
#include <cstdint>
#include <string>

namespace vantu {

// Decoration bits of a cell (EdgeFlags).
enum EdgeFlag : uint16_t {
  kEdgeOpen = 0x0001,         // cell left of a field: opening bracket
  kEdgeField = 0x0002,        // field cell: lines above and below
  kEdgeClose = 0x0004,        // cell right of a field: closing bracket
  kEdgeRaisedOpen = 0x0008,   // cell left of a raised field
  kEdgeRaised = 0x0010,       // raised field cell
  kEdgeRaisedClose = 0x0020,  // cell right of a raised field
  kEdgeBoxFirst = 0x0040,
  kEdgeBoxMiddle = 0x0080,
  kEdgeBoxLast = 0x0100,
  kEdgeHeading = 0x0200,
};

// Program glyphs the host draws as arrows (not font characters).
enum ProgramGlyph : uint8_t {
  kGlyphArrowUp = 130,
  kGlyphArrowDown = 131,
  kGlyphArrowRight = 132,
  kGlyphArrowLeft = 133,
};

constexpr int kEdgeInset = 3;  // pixel width of a bracket's strip
constexpr int kBufferSize = 200;

struct Cell {
  uint8_t ch = 32;
  uint32_t fg = 0xC0C0C0;  // 0x00BBGGRR
  uint32_t bg = 0xC0C0C0;
  uint8_t style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  uint16_t flags = 0;
};

struct ImageSlot {
  std::string name;  // empty when the slot is free
  int col = 0, row = 0, width = 0, height = 0;
};

struct ScreenState {
  int columns = 80;
  int rows = 25;
  // Column-major, as the grid is addressed (column, row), both 1-based.
  std::array<std::array<Cell, kBufferSize>, kBufferSize> cells{};
  int left = 1, top = 1, right = 80, bottom = 25;  // output window, absolute
  int cursorX = 1, cursorY = 1;                    // relative to the window
  uint32_t curFg = 0xC0C0C0, curBg = 0xC0C0C0;
  uint8_t curStyle = 0;
  bool highColour = true;  // the display has at least 16 bits per pixel
  bool beepOff = false;    // preference: no beeps
  std::array<ImageSlot, 100> images{};

  Cell& At(int col, int row) { return cells[col - 1][row - 1]; }
  const Cell& At(int col, int row) const { return cells[col - 1][row - 1]; }
};

ScreenState& Screen();
void ResetScreen();

// Text set drawn with the font; every other code is a graphic glyph.
inline bool IsTextChar(uint8_t c) {
  return (c >= 32 && c <= 127) || c == 209 || c == 241;
}

// Colour numbers 0..22 and 32-bit colours.
uint32_t ColourOf(int number);
int NumberOf(uint32_t colour);

void GotoXY(int x, int y);
int WhereX();
int WhereY();
void Window(int x1, int y1, int x2, int y2);
uint16_t WindMin();
uint16_t WindMax();
void TextColor(int n);
void TextBackground(int n);
void SetTextColors(int bg, int fg);
int GetTextBackground();
int TextStyle(int s);
void WriteText(const std::string& s);
void ClrEol();
void ClrScr();
void InsLine();
void DelLine();
void Delay(int ms);
void Beep();
std::string ReadScreenText(int x, int y, int n);
void WriteField(int width, std::string text, int kind, bool raised);
void FrameRun(int x, int y, int n);
void UnframeRun(int x, int y, int n);
void BlankField(int x, int y, int n);
std::string CapsuleText(std::string s);
void SetWindowCaption(const std::string& s);

// Rectangle save and restore: rect = {left, top, right, bottom}, 0-based
// absolute, inclusive. Buffer: 7 bytes per cell, row by row:
//   0  u16 character (low byte)
//   2  u8  foreground colour number, u8 background colour number
//   4  u8  style
//   5  u16 flags
struct ScreenRect {
  int16_t left, top, right, bottom;
};
constexpr int kSavedCellBytes = 7;
std::string SaveScreenRect(const ScreenRect& rect);
void RestoreScreenRect(const ScreenRect& rect, const std::string& buffer);

void ShowImage(int x, int y, int w, const std::string& name, int h);
void RemoveImage(const std::string& name);

}  // namespace vantu
