// Decorated output: entry fields, framed runs, blanked fields, saved
// rectangles and image slots.
#include <algorithm>

#include "console/console.h"
#include "console/letters.h"
#include "platform/platform.h"

namespace vantu {

namespace {

bool InGrid(int col, int row) {
  return col >= 1 && row >= 1 && col <= kBufferSize && row <= kBufferSize;
}

void SetFlags(int col, int row, uint16_t bits) {
  if (InGrid(col, row)) Screen().At(col, row).flags |= bits;
}

void ClearFlags(int col, int row, uint16_t bits) {
  if (!InGrid(col, row)) return;
  Screen().At(col, row).flags &= static_cast<uint16_t>(~bits);
  Host().RedrawCells(col, row, 1);
}

bool BracketedKind(int kind) {
  return kind == 0 || kind == 4 || kind > 4;
}

uint16_t FieldCellFlags(int kind, bool raised, int i, int width) {
  if (raised) return kEdgeRaised;
  switch (kind) {
    case 0:
    case 4:
      return kEdgeField;
    case 2:
      return kEdgeHeading;
    case 3:
      return i == 1 ? kEdgeBoxFirst : (i == width ? kEdgeBoxLast : kEdgeBoxMiddle);
    default:
      return 0;
  }
}

}  // namespace

void WriteField(int width, std::string text, int kind, bool raised) {
  ScreenState& s = Screen();
  if (width == 0 && kind != 2) {
    width = 2;
    text = "OK";
    BlankField(s.cursorX, s.cursorY, 2);
    Host().ShowCaret(false, 0, 0);
  }
  if (text.empty()) text = " ";
  const int col = s.left + s.cursorX - 1;
  const int row = s.top + s.cursorY - 1;
  if (row > s.bottom || !InGrid(col, row)) return;

  if (BracketedKind(kind) && col > 1) {
    if (raised)
      SetFlags(col - 1, row, kEdgeRaisedOpen);
    else if (kind == 0 || kind == 4)
      SetFlags(col - 1, row, kEdgeOpen);
  }
  int i = 1;
  for (; col + i - 1 <= s.right && col + i - 1 <= kBufferSize && i <= width; ++i) {
    Cell& c = s.At(col + i - 1, row);
    c.ch = i <= static_cast<int>(text.size()) ? static_cast<uint8_t>(text[i - 1]) : 32;
    c.fg = s.curFg;
    c.bg = s.curBg;
    c.style = s.curStyle;
    c.flags &= static_cast<uint16_t>(~kLetterCell);
    c.flags |= FieldCellFlags(kind, raised, i, width);
    if (IsAccentedLetter(c.ch)) c.flags |= kLetterCell;
  }
  const int written = i - 1;
  if (i > width && col + width <= s.right && BracketedKind(kind)) {
    if (raised && kind != 4)
      SetFlags(col + width, row, kEdgeRaisedClose);
    else if (!raised && kind == 0)
      SetFlags(col + width, row, kEdgeClose);
  }
  const int from = std::max(col - 1, 1);
  const int to = std::min({col + written, s.columns, kBufferSize});
  if (to >= from) Host().RedrawCells(from, row, to - from + 1);
  GotoXY(s.cursorX + width, s.cursorY);
}

void FrameRun(int x, int y, int n) {
  if (x > 1) SetFlags(x - 1, y, kEdgeOpen);
  for (int i = 0; i < n; ++i) SetFlags(x + i, y, kEdgeField);
  if (x + n <= Screen().columns) SetFlags(x + n, y, kEdgeClose);
  Host().DrawRunFrame(x, y, n, 0x000000);
}

void UnframeRun(int x, int y, int n) {
  ScreenState& s = Screen();
  auto clear = [](int col, int row) {
    if (InGrid(col, row)) Screen().At(col, row).flags = 0;
  };
  if (x > 1) clear(x - 1, y);
  for (int i = 0; i < n; ++i) clear(x + i, y);
  if (x + n <= s.columns) clear(x + n, y);
  const uint32_t white = ColourOf(15);
  const int marks[2][2] = {{x + n - 2, 242}, {x + n - 1, 243}};
  for (const auto& m : marks) {
    int col = s.left + m[0] - 1;
    if (!InGrid(col, y)) continue;
    Cell& c = s.At(col, y);
    if (c.ch == m[1] && c.fg == white) {
      c.ch = 32;
      c.fg = 0x000000;
      c.bg = s.curBg;
      Host().RedrawCells(col, y, 1);
    }
  }
  Host().DrawRunFrame(x, y, n, s.curBg);
}

void BlankField(int x, int y, int n) {
  ScreenState& s = Screen();
  GotoXY(x, y);
  const int col = s.left + x - 1;
  const int row = s.top + y - 1;
  if (!InGrid(col, row)) return;
  constexpr uint16_t kFieldBits = kEdgeField | kEdgeRaised;
  if ((s.At(col, row).flags & kFieldBits) && x > 1)
    ClearFlags(col - 1, row, kEdgeOpen | kEdgeRaisedOpen);
  const int last = col + n - 1;
  const bool lastWasField = InGrid(last, row) && (s.At(last, row).flags & kFieldBits);
  WriteText(std::string(static_cast<size_t>(std::max(n, 0)), ' '));
  if (lastWasField && x + n <= s.right - s.left + 1)
    ClearFlags(last + 1, row, kEdgeClose | kEdgeRaisedClose);
  GotoXY(x, y);
}

std::string SaveScreenRect(const ScreenRect& r) {
  std::string buf;
  for (int row = r.top; row <= r.bottom; ++row) {
    for (int col = r.left; col <= r.right; ++col) {
      Cell c;
      if (InGrid(col + 1, row + 1)) c = Screen().At(col + 1, row + 1);
      const char bytes[kSavedCellBytes] = {
          static_cast<char>(c.ch),           0,
          static_cast<char>(NumberOf(c.fg)), static_cast<char>(NumberOf(c.bg)),
          static_cast<char>(c.style),        static_cast<char>(c.flags & 0xFF),
          static_cast<char>(c.flags >> 8)};
      buf.append(bytes, kSavedCellBytes);
    }
  }
  return buf;
}

void RestoreScreenRect(const ScreenRect& r, const std::string& buf) {
  size_t pos = 0;
  auto byte = [&](size_t i) { return static_cast<uint8_t>(buf[pos + i]); };
  for (int row = r.top; row <= r.bottom; ++row) {
    for (int col = r.left; col <= r.right; ++col) {
      if (pos + kSavedCellBytes > buf.size()) break;
      if (InGrid(col + 1, row + 1)) {
        Cell& c = Screen().At(col + 1, row + 1);
        c.ch = byte(0);
        c.fg = ColourOf(byte(2));
        c.bg = ColourOf(byte(3));
        c.style = byte(4);
        c.flags = static_cast<uint16_t>(byte(5) | (byte(6) << 8));
      }
      pos += kSavedCellBytes;
    }
  }
  Host().RedrawAll();
}

void ShowImage(int x, int y, int w, const std::string& name, int h) {
  ScreenState& s = Screen();
  GotoXY(x, y);
  for (ImageSlot& slot : s.images) {
    if (!slot.name.empty()) continue;
    slot = {name, s.left + s.cursorX - 1, s.top + s.cursorY - 1, w, h};
    Host().ImagesChanged();
    break;
  }
  Host().ProcessEvents();
}

void RemoveImage(const std::string& name) {
  for (ImageSlot& slot : Screen().images) {
    if (!slot.name.empty() && slot.name == name) {
      slot = ImageSlot{};
      Host().ImagesChanged();
      break;
    }
  }
  Host().ProcessEvents();
}

}  // namespace vantu
