#pragma once
// The box and block bytes of the listing files as the printer draws them:
// single and double strokes through the cell's centre, and fills of the
// whole cell or of one of its thirds.

#include <QPainter>
#include <cstdint>

namespace vantu {

// One stroke of a box byte; `doubled` strokes use the thick pen.
struct BoxStroke {
  bool doubled = false;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The strokes of a box byte (179-218 and 224) in the cell at (x, y) of
// width w and height h, in drawing order; at most four. Zero for any other
// byte.
int BoxStrokesOf(uint8_t byte, int x, int y, int w, int h, BoxStroke out[4]);

// True for the block bytes, which fill the cell or a third of it.
bool IsBlockByte(uint8_t byte);

// Fills the cell for a block byte; any other byte draws nothing.
void FillBlock(QPainter& painter, int x, int y, uint8_t byte, int w, int h);

// One box or block byte in the cell at (x, y) of width w and height h;
// double strokes use the pen width `thick`. Bytes without a drawing leave
// the cell blank. The pen is black and one unit wide afterwards.
void DrawBoxCharacter(QPainter& painter, int x, int y, uint8_t byte, int w, int h, int thick);

}  // namespace vantu
