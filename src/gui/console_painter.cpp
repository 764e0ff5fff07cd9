#include "gui/console_painter.h"

#include <QFontMetrics>
#include <algorithm>

#include "console/letters.h"
#include "gui/dialog_text.h"

namespace vantu::gui {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

bool SameAttrs(const Cell& a, const Cell& b) {
  return a.fg == b.fg && a.bg == b.bg && a.style == b.style && a.flags == b.flags;
}

}  // namespace

QColor ToQColor(uint32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int CapitalsDrop(const QFont& font) {
  // The frame's line is on row 1; the capitals start on row 3 or below.
  constexpr int kCapitalsTop = 3;
  const QFontMetrics fm(font);
  // The drawn capitals, not the font's cap height, which may be less.
  const int capitals = -fm.tightBoundingRect(QStringLiteral("EHMT")).top();
  return std::max(0, kCapitalsTop - (fm.ascent() - capitals));
}

CellFonts::CellFonts(const QFont& font, int cellWidth) {
  const int drop = CapitalsDrop(font);
  for (int style = 0; style < 16; ++style) {
    QFont f = font;
    f.setBold(style & 1);
    f.setItalic(style & 2);
    f.setUnderline(style & 4);
    f.setStrikeOut(style & 8);
    f.setKerning(false);
    // A run is drawn as one string: the advance of every character is made
    // exactly one cell, whatever the rounding of the font's own advance.
    const qreal advance = QFontMetricsF(f).horizontalAdvance(QLatin1Char('M'));
    f.setLetterSpacing(QFont::AbsoluteSpacing, cellWidth - advance);
    fonts_[style] = f;
    ascents_[style] = QFontMetrics(f).ascent() + drop;
  }
}

ConsolePainter::ConsolePainter(QPainter& painter, const CellFonts& fonts,
                               const GlyphMetrics& metrics)
    : p_(painter), fonts_(fonts), m_(metrics) {
  p_.setRenderHint(QPainter::Antialiasing, false);
}

void ConsolePainter::PaintCells(const ScreenState& s, int row, int fromCol, int toCol) {
  fromCol = std::max(fromCol, 1);
  toCol = std::min({toCol, s.columns, kBufferSize});
  int col = fromCol;
  while (col <= toCol) {
    const Cell& first = s.At(col, row);
    std::string text(1, static_cast<char>(first.ch));
    int end = col + 1;
    for (; end <= toCol && SameAttrs(s.At(end, row), first); ++end)
      text += static_cast<char>(s.At(end, row).ch);
    const Cell& upLeft = s.At(std::max(col - 1, 1), std::max(row - 1, 1));
    DrawRun((col - 1) * m_.cellWidth, (row - 1) * m_.cellHeight, first.flags, text, first,
            ToQColor(upLeft.bg));
    col = end;
  }
}

void ConsolePainter::DrawRun(int x, int y, uint16_t flags, const std::string& text,
                             const Cell& attrs, const QColor& upLeftBg) {
  const int n = static_cast<int>(text.size());
  const int w = m_.cellWidth;
  p_.fillRect(x, y, n * w, m_.cellHeight, ToQColor(attrs.bg));
  // A field's accented letter is text; the same byte elsewhere a frame piece.
  const auto isText = [letters = (flags & kLetterCell) != 0](uint8_t c) {
    return IsTextChar(c) || (letters && IsAccentedLetter(c));
  };
  size_t i = 0;
  while (i < text.size()) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    size_t j = i + 1;
    if (isText(c)) {
      while (j < text.size() && isText(static_cast<uint8_t>(text[j]))) ++j;
    } else if (IsRunGlyph(c)) {
      while (j < text.size() && static_cast<uint8_t>(text[j]) == c) ++j;
    }
    const int xs = x + static_cast<int>(i) * w, xe = x + static_cast<int>(j) * w;
    if (isText(c)) {
      DrawTextPiece(xs, y, text.substr(i, j - i), attrs, flags & kEdgeRaised);
      DrawDecorations(x, xs, xe, y, flags, upLeftBg);
    } else {
      DrawGlyph(p_, m_, xs, y, c, static_cast<int>(j - i), ToQColor(attrs.fg), ToQColor(attrs.bg));
    }
    i = j;
  }
}

void ConsolePainter::DrawTextPiece(int xs, int y, const std::string& piece, const Cell& attrs,
                                   bool raised) {
  const int n = static_cast<int>(piece.size());
  if (raised) p_.fillRect(xs, y, n * m_.cellWidth, m_.cellHeight, kWhite);
  // Trailing blanks need no drawing (a run of blanks, none at all).
  size_t end = piece.find_last_not_of(' ');
  if (end == std::string::npos) return;
  text_.resize(static_cast<qsizetype>(end + 1));
  for (size_t k = 0; k <= end; ++k)
    text_[static_cast<qsizetype>(k)] = QChar(Cp1252ToUnicode(static_cast<uint8_t>(piece[k])));
  UseFont(attrs.style);
  UsePen(ToQColor(attrs.fg));
  p_.drawText(QPoint(xs, y + fonts_.Ascent(attrs.style)), text_);
}

// A line from (x1, y1) towards (x2, y2) without its end point, as the
// platform's line drawing does; only horizontal and vertical lines occur.
void ConsolePainter::Line(int x1, int y1, int x2, int y2, const QColor& colour) {
  const int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
  if (dx == 0 && dy == 0) return;
  UsePen(colour);
  p_.drawLine(x1, y1, x2 - dx, y2 - dy);
}

void ConsolePainter::OpenBracket(int x, int y, uint16_t flags) {
  const int w = m_.cellWidth, h = m_.cellHeight;
  const bool box = flags & kEdgeBoxFirst;
  const int t = box ? 0 : 1, e = box ? w : kEdgeInset;
  if (flags & kEdgeRaisedOpen) p_.fillRect(x + w - e, y + t, e, h - 1 - t, kWhite);
  Line(x + w, y + t, x + w - e, y + t, kBlack);
  Line(x + w - e, y + t, x + w - e, y + h - 1, kBlack);
  Line(x + w - e, y + h - 1, x + w + 1, y + h - 1, kBlack);
}

void ConsolePainter::CloseBracket(int x, int y, uint16_t flags) {
  const int h = m_.cellHeight;
  const bool box = flags & kEdgeBoxLast;
  const int t = box ? 0 : 1, e = box ? m_.cellWidth - 1 : kEdgeInset;
  if (flags & kEdgeRaisedClose) p_.fillRect(x, y + t, e, h - 1 - t, kWhite);
  Line(x, y + t, x + e, y + t, kBlack);
  Line(x + e, y + t, x + e, y + h - 1, kBlack);
  Line(x + e, y + h - 1, x - 1, y + h - 1, kBlack);
}

void ConsolePainter::DrawDecorations(int x, int xs, int xe, int y, uint16_t flags,
                                     const QColor& upLeftBg) {
  const int h = m_.cellHeight;
  if (flags & (kEdgeOpen | kEdgeRaisedOpen | kEdgeBoxFirst)) OpenBracket(x, y, flags);
  if (flags & (kEdgeField | kEdgeRaised | kEdgeBoxMiddle)) {
    const int t = (flags & kEdgeBoxMiddle) ? 0 : 1;
    Line(xs, y + t, xe, y + t, kBlack);
    Line(xs, y + h - 1, xe, y + h - 1, kBlack);
    if (flags & kEdgeRaised) Line(xs, y, xe, y, upLeftBg);
  }
  if (flags & (kEdgeClose | kEdgeRaisedClose | kEdgeBoxLast)) CloseBracket(x, y, flags);
  if (flags & kEdgeHeading) Line(xs, y, xe, y, kBlack);
}

void ConsolePainter::DrawRunFrame(int col, int row, int n, const QColor& colour) {
  const int w = m_.cellWidth, h = m_.cellHeight;
  const int px = (col - 1) * w, py = (row - 1) * h;
  const QPoint pts[5] = {{px - kEdgeInset, py + 1},
                         {px - kEdgeInset, py + h - 1},
                         {px + kEdgeInset + n * w, py + h - 1},
                         {px + kEdgeInset + n * w, py + 1},
                         {px - kEdgeInset, py + 1}};
  UsePen(colour);
  p_.drawPolyline(pts, 5);
}

void ConsolePainter::UsePen(const QColor& colour) {
  if (penKnown_ && pen_ == colour.rgba()) return;
  p_.setPen(QPen(colour, 1));
  pen_ = colour.rgba();
  penKnown_ = true;
}

void ConsolePainter::UseFont(uint8_t style) {
  if (fontStyle_ == (style & 15)) return;
  p_.setFont(fonts_.Font(style));
  fontStyle_ = style & 15;
}

}  // namespace vantu::gui
