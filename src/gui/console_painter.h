#pragma once
// Turns console cells into pixels: runs of equal attributes drawn as text
// with their decoration flags (brackets, boxes, raised fields), graphic
// characters through the glyph painter.

#include <QFont>
#include <QPainter>
#include <cstdint>
#include <string>

#include "console/console.h"
#include "gui/glyph_painter.h"

namespace vantu::gui {

QColor ToQColor(uint32_t bgr);

class ConsolePainter {
 public:
  // `font` is the console font; the cell style picks bold, italic,
  // underline and strike-out.
  ConsolePainter(QPainter& painter, const QFont& font, const GlyphMetrics& metrics);

  // Draws cells [fromCol, toCol] of `row` (1-based), split into runs of
  // equal foreground, background, style and flags.
  void PaintCells(const ScreenState& screen, int row, int fromCol, int toCol);

  // One run of cells with equal attributes at pixel (x, y). `upLeftBg` is
  // the background of the cell one column left of and one row above the
  // first cell (the top edge of a raised field takes it).
  void DrawRun(int x, int y, uint16_t flags, const std::string& text, const Cell& attrs,
               const QColor& upLeftBg);

  // The one-pixel closed frame around a run of n cells (not kept in cells).
  void DrawRunFrame(int col, int row, int n, const QColor& colour);

 private:
  void DrawTextPiece(int xs, int y, const std::string& piece, const Cell& attrs, bool raised);
  void DrawDecorations(int x, int xs, int xe, int y, uint16_t flags, const QColor& upLeftBg);
  void Line(int x1, int y1, int x2, int y2, const QColor& colour);
  void OpenBracket(int x, int y, uint16_t flags);
  void CloseBracket(int x, int y, uint16_t flags);
  QFont StyledFont(uint8_t style) const;

  QPainter& p_;
  QFont font_;
  GlyphMetrics m_;
};

}  // namespace vantu::gui
