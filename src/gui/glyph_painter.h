#pragma once
// Graphic characters of the console drawn as lines and fills: the code page
// 437 box pieces, shades and half blocks, and the program's own marks.

#include <QColor>
#include <QPainter>
#include <cstdint>

namespace vantu::gui {

struct GlyphMetrics {
  int cellWidth = 8;
  int cellHeight = 16;
  int lineWidth = 3;    // horizontal parts of double lines (GlyphLineWidth)
  int doubleWidth = 3;  // vertical parts of double lines (GlyphDoubleWidth)
};

// Characters that draw as one piece over a run of equal characters.
bool IsRunGlyph(uint8_t ch);

// Draws `count` copies of graphic character `ch` from pixel (x, y) in the
// foreground colour over an already filled background. Codes without a
// shape draw nothing.
void DrawGlyph(QPainter& p, const GlyphMetrics& m, int x, int y, uint8_t ch, int count,
               const QColor& fg, const QColor& bg);

}  // namespace vantu::gui
