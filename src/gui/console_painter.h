#pragma once
// Turns console cells into pixels: runs of equal attributes drawn as text,
// one call per run, with their decoration flags (brackets, boxes, raised
// fields); graphic characters through the glyph painter.

#include <QFont>
#include <QPainter>
#include <array>
#include <cstdint>
#include <string>

#include "console/console.h"
#include "gui/glyph_painter.h"

namespace vantu::gui {

QColor ToQColor(uint32_t bgr);

// The console font in its 16 cell styles (bold, italic, underline,
// strike-out), each spaced so that one character takes exactly one cell,
// with its ascent. Built once per font size and kept across frames.
// Pixels the text of a cell is moved down (and the cell made taller) so
// that the line a field's frame draws across the cell's second pixel row
// leaves a blank row above the capitals: small sizes of a font put their
// capitals right under the cell's top.
int CapitalsDrop(const QFont& font);

class CellFonts {
 public:
  CellFonts() = default;
  CellFonts(const QFont& font, int cellWidth);
  const QFont& Font(uint8_t style) const { return fonts_[style & 15]; }
  int Ascent(uint8_t style) const { return ascents_[style & 15]; }

 private:
  std::array<QFont, 16> fonts_;
  std::array<int, 16> ascents_{};
};

class ConsolePainter {
 public:
  ConsolePainter(QPainter& painter, const CellFonts& fonts, const GlyphMetrics& metrics);

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
  // Sets the pen (solid, one pixel) or the font unless the painter holds
  // it already: most runs of a screen share them, and each change costs
  // QPainter a state update. DrawGlyph restores the state it changes.
  void UsePen(const QColor& colour);
  void UseFont(uint8_t style);

  QPainter& p_;
  const CellFonts& fonts_;
  GlyphMetrics m_;
  QString text_;        // reused for every piece
  int fontStyle_ = -1;  // the style of the font set last; -1 none
  QRgb pen_ = 0;        // the colour of the pen set last, when penKnown_
  bool penKnown_ = false;
};

}  // namespace vantu::gui
