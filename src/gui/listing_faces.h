#pragma once
// The listing face as the printer draws it: the glyph and advance of every
// byte of the listing file in one size and weight, and the cell metrics.

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>
#include <array>

namespace vantu {

// The glyph and advance of every byte, looked up once: a listing of
// thousands of pages draws the same hundred characters over and over, so
// no text is laid out while drawing. Bytes without a glyph in the face
// (control bytes) have glyph 0 and are not drawn.
struct FaceTable {
  QRawFont raw;
  std::array<quint32, 256> glyph{};
  std::array<qreal, 256> advance{};
};

inline QChar ListingChar(unsigned char c) {
  return c == 128 ? QChar(0x20AC) : QChar(c);
}

// The table of the font as resolved for the device that is drawn on.
inline FaceTable MakeFaceTable(const QFont& deviceFont) {
  FaceTable t;
  t.raw = QRawFont::fromFont(deviceFont);
  for (int c = 0; c < 256; ++c) {
    const QList<quint32> g = t.raw.glyphIndexesForString(QString(ListingChar(c)));
    if (g.size() != 1) continue;
    t.glyph[c] = g[0];
    t.advance[c] = t.raw.advancesForGlyphIndexes(g)[0].x();
  }
  return t;
}

// A cell is the width of a blank and the height of a line; double strokes
// are an eighth of the line high.
struct CellMetrics {
  int cellW = 1, lineH = 1, thick = 1, ascent = 0;
};

inline CellMetrics MetricsOf(const QFont& font, QPaintDevice* device) {
  const QFontMetrics m(font, device);
  CellMetrics c;
  c.cellW = std::max(1, m.horizontalAdvance(QLatin1Char(' ')));
  c.lineH = std::max(1, m.height());
  c.thick = std::max(1, c.lineH / 8);
  c.ascent = m.ascent();
  return c;
}

}  // namespace vantu
