#include "gui/glyph_painter.h"

#include <QPolygon>
#include <algorithm>
#include <array>

namespace vantu::gui {

namespace {

// Arms of a box piece: 0 none, 1 single, 2 double.
struct Arms {
  uint8_t up, down, left, right;
};

// Code page 437, codes 179..218; code 224 is the single-down/double-horizontal
// piece the program uses where 209 is taken by the letter Ñ.
constexpr std::array<Arms, 40> kBox = {{
    {1, 1, 0, 0}, {1, 1, 1, 0}, {1, 1, 2, 0}, {2, 2, 1, 0}, {0, 2, 1, 0},  // 179-183
    {0, 1, 2, 0}, {2, 2, 2, 0}, {2, 2, 0, 0}, {0, 2, 2, 0}, {2, 0, 2, 0},  // 184-188
    {2, 0, 1, 0}, {1, 0, 2, 0}, {0, 1, 1, 0}, {1, 0, 0, 1}, {1, 0, 1, 1},  // 189-193
    {0, 1, 1, 1}, {1, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}, {1, 1, 0, 2},  // 194-198
    {2, 2, 0, 1}, {2, 0, 0, 2}, {0, 2, 0, 2}, {2, 0, 2, 2}, {0, 2, 2, 2},  // 199-203
    {2, 2, 0, 2}, {0, 0, 2, 2}, {2, 2, 2, 2}, {1, 0, 2, 2}, {2, 0, 1, 1},  // 204-208
    {0, 1, 2, 2}, {0, 2, 1, 1}, {2, 0, 0, 1}, {1, 0, 0, 2}, {0, 1, 0, 2},  // 209-213
    {0, 2, 0, 1}, {2, 2, 1, 1}, {1, 1, 2, 2}, {1, 0, 1, 0}, {0, 1, 0, 1},  // 214-218
}};

const QColor kSilver(0xC0, 0xC0, 0xC0);

struct Cell {
  QPainter& p;
  const GlyphMetrics& m;
  int x, y;
  const QColor& fg;
  const QColor& bg;
  int W() const { return m.cellWidth; }
  int H() const { return m.cellHeight; }
  int Cx() const { return x + m.cellWidth / 2; }
  int Cy() const { return y + m.cellHeight / 2; }
  void Fill(int l, int t, int w, int h) const { p.fillRect(l, t, w, h, fg); }
  void Line(int x1, int y1, int x2, int y2, int width) const {
    p.setPen(QPen(fg, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(x1, y1, x2, y2);
  }
  void Poly(std::initializer_list<QPoint> pts, const QColor& c) const {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygon(QList<QPoint>(pts)));
    p.setBrush(Qt::NoBrush);
  }
};

int Thickness(const GlyphMetrics& m, uint8_t kind, bool vertical) {
  if (kind == 2) return vertical ? m.doubleWidth : m.lineWidth;
  return kind == 1 ? 1 : 0;
}

void DrawBox(const Cell& c, const Arms& a) {
  const int tv = std::max(Thickness(c.m, a.up, true), Thickness(c.m, a.down, true));
  const int th = std::max(Thickness(c.m, a.left, false), Thickness(c.m, a.right, false));
  const int vx = c.Cx() - tv / 2, hy = c.Cy() - th / 2;
  // Each arm reaches across the centre far enough to close the joint.
  if (a.up) {
    const int t = Thickness(c.m, a.up, true);
    c.Fill(c.Cx() - t / 2, c.y, t, c.Cy() - c.y + std::max(th - th / 2, 1));
  }
  if (a.down) {
    const int t = Thickness(c.m, a.down, true);
    c.Fill(c.Cx() - t / 2, hy, t, c.y + c.H() - hy);
  }
  if (a.left) {
    const int t = Thickness(c.m, a.left, false);
    c.Fill(c.x, c.Cy() - t / 2, c.Cx() - c.x + std::max(tv - tv / 2, 1), t);
  }
  if (a.right) {
    const int t = Thickness(c.m, a.right, false);
    c.Fill(vx, c.Cy() - t / 2, c.x + c.W() - vx, t);
  }
}

void DrawShade(QPainter& p, int x, int y, int w, int h, Qt::BrushStyle style) {
  p.fillRect(x, y, w, h, QBrush(kSilver, style));
}

void DrawHalfBlock(const Cell& c, uint8_t ch) {
  const int w = c.W(), h = c.H();
  switch (ch) {
    case 220:
      c.Fill(c.x, c.y + h / 2, w, h - h / 2);
      break;
    case 221:
      c.Fill(c.x, c.y, w / 2, h);
      break;
    case 222:
      c.Fill(c.x + w / 2, c.y, w - w / 2, h);
      break;
    case 223:
      c.Fill(c.x, c.y, w, h / 2);
      break;
    default:
      break;
  }
}

// Arrows 130-133: a 3-pixel shaft with a head of 2-pixel strokes.
void DrawArrow(const Cell& c, uint8_t ch) {
  const int w = c.W(), h = c.H(), cx = c.Cx(), cy = c.Cy();
  const int ex = std::max(w / 2 - 1, 2), ey = std::max(h / 2 - 3, 3);
  const int head = std::max(std::min(w, h) / 3, 2);
  switch (ch) {
    case 130:  // up
      c.Line(cx, cy - ey + 1, cx, cy + ey, 3);
      c.Line(cx, cy - ey, cx - head, cy - ey + head, 2);
      c.Line(cx, cy - ey, cx + head, cy - ey + head, 2);
      break;
    case 131:  // down
      c.Line(cx, cy - ey, cx, cy + ey - 1, 3);
      c.Line(cx, cy + ey, cx - head, cy + ey - head, 2);
      c.Line(cx, cy + ey, cx + head, cy + ey - head, 2);
      break;
    case 132:  // right
      c.Line(cx - ex, cy, cx + ex - 1, cy, 3);
      c.Line(cx + ex, cy, cx + ex - head, cy - head, 2);
      c.Line(cx + ex, cy, cx + ex - head, cy + head, 2);
      break;
    default:  // 133 left
      c.Line(cx - ex + 1, cy, cx + ex, cy, 3);
      c.Line(cx - ex, cy, cx - ex + head, cy - head, 2);
      c.Line(cx - ex, cy, cx - ex + head, cy + head, 2);
      break;
  }
}

// 134-140: thin black frame pieces on the cell border; 135 and 134 close a
// capsule on the left and on the right.
void DrawFramePiece(const Cell& c, uint8_t ch) {
  QPainter& p = c.p;
  const int r = c.x + c.W() - 1, b = c.y + c.H() - 1;
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  switch (ch) {
    case 134:
      p.drawLine(c.x, c.y, c.Cx(), c.y);
      p.drawLine(c.x, b, c.Cx(), b);
      p.drawArc(QRect(c.x, c.y, c.W() - 1, c.H() - 1), -90 * 16, 180 * 16);
      break;
    case 135:
      p.drawLine(c.Cx(), c.y, r, c.y);
      p.drawLine(c.Cx(), b, r, b);
      p.drawArc(QRect(c.x, c.y, c.W() - 1, c.H() - 1), 90 * 16, 180 * 16);
      break;
    case 136:
      p.drawLine(c.x, c.y, r, c.y);
      break;
    case 137:
      p.drawLine(c.x, b, r, b);
      break;
    case 138:
      p.drawLine(c.x, c.y, c.x, b);
      break;
    case 139:
      p.drawLine(r, c.y, r, b);
      break;
    default:
      p.drawRect(c.x, c.y, c.W() - 1, c.H() - 1);
      break;  // 140
  }
}

// 145-149: a dot and small triangles; 147 sits on a filled cell.
void DrawSmallMark(const Cell& c, uint8_t ch) {
  const int cx = c.Cx(), cy = c.Cy(), s = std::max(std::min(c.W(), c.H()) / 3, 2);
  switch (ch) {
    case 145:
      c.Fill(cx - 1, cy - 1, 3, 3);
      break;
    case 146:
      c.Poly({{cx - s / 2, cy - s}, {cx - s / 2, cy + s}, {cx + s, cy}}, c.fg);
      break;
    case 147:
      c.Fill(c.x, c.y, c.W(), c.H());
      c.Poly({{cx - s, cy - s / 2}, {cx + s, cy - s / 2}, {cx, cy + s}}, c.bg);
      break;
    case 148:
      c.Poly({{cx - s, cy + s / 2}, {cx + s, cy + s / 2}, {cx, cy - s}}, c.fg);
      break;
    default:
      c.Poly({{cx + s / 2, cy - s}, {cx + s / 2, cy + s}, {cx - s, cy}}, c.fg);
      break;
  }
}

// 225-228: halves of a two-cell arrow head, up (225 left, 226 right) and
// down (227 left, 228 right), above and below spin fields.
void DrawSpinHalf(const Cell& c, uint8_t ch) {
  const int t = c.y + 2, b = c.y + c.H() - 3;
  const bool up = ch <= 226, left = ch == 225 || ch == 227;
  const int tip = left ? c.x + c.W() : c.x;
  const int edge = left ? c.x + 2 : c.x + c.W() - 2;
  if (up)
    c.Poly({{tip, t}, {tip, b}, {edge, b}}, c.fg);
  else
    c.Poly({{tip, b}, {tip, t}, {edge, t}}, c.fg);
}

// 229-239: line marks inside the cell.
void DrawLineMark(const Cell& c, uint8_t ch) {
  const int r = c.x + c.W() - 1, b = c.y + c.H() - 1;
  switch (ch) {
    case 229:
      c.Fill(c.x, c.y, c.W(), 1);
      break;
    case 230:
      c.Fill(c.x, c.Cy(), c.W(), 1);
      break;
    case 231:
      c.Fill(c.x, b, c.W(), 1);
      break;
    case 232:
      c.Fill(c.x, c.y, 1, c.H());
      break;
    case 233:
      c.Fill(c.Cx(), c.y, 1, c.H());
      break;
    case 234:
      c.Fill(r, c.y, 1, c.H());
      break;
    case 235:
      c.Line(c.x, c.y, r, b, 1);
      break;
    case 236:
      c.Line(c.x, b, r, c.y, 1);
      break;
    case 237:
      c.Line(c.x + 1, c.y + 2, r - 1, b - 2, 1);
      c.Line(c.x + 1, b - 2, r - 1, c.y + 2, 1);
      break;
    case 238:
      c.Fill(c.x, b - 1, c.W(), 2);
      break;
    default:
      c.Fill(c.x, c.Cy() - 1, c.W(), 3);
      break;  // 239
  }
}

// 242 and 243: the two end marks of a framed run, a pointer to the left and
// one to the right.
void DrawEndMark(const Cell& c, uint8_t ch) {
  const int cx = c.Cx(), cy = c.Cy(), s = std::max(std::min(c.W(), c.H()) / 3, 2);
  if (ch == 242)
    c.Poly({{cx + s / 2, cy - s}, {cx + s / 2, cy + s}, {cx - s, cy}}, c.fg);
  else
    c.Poly({{cx - s / 2, cy - s}, {cx - s / 2, cy + s}, {cx + s, cy}}, c.fg);
}

void DrawOne(const Cell& c, uint8_t ch) {
  if ((ch >= 179 && ch <= 218) || ch == 224) {
    DrawBox(c, ch == 224 ? kBox[209 - 179] : kBox[ch - 179]);
  } else if (ch >= 220 && ch <= 223) {
    DrawHalfBlock(c, ch);
  } else if (ch == 128) {
    c.Fill(c.x, c.y + c.H() - 3, c.W(), 2);
  } else if (ch >= 130 && ch <= 133) {
    DrawArrow(c, ch);
  } else if (ch >= 134 && ch <= 140) {
    DrawFramePiece(c, ch);
  } else if (ch >= 145 && ch <= 149) {
    DrawSmallMark(c, ch);
  } else if (ch >= 225 && ch <= 228) {
    DrawSpinHalf(c, ch);
  } else if (ch >= 229 && ch <= 239) {
    DrawLineMark(c, ch);
  } else if (ch == 242 || ch == 243) {
    DrawEndMark(c, ch);
  }
}

}  // namespace

bool IsRunGlyph(uint8_t ch) {
  return ch == 176 || ch == 177 || ch == 178 || ch == 196 || ch == 205 || ch == 219;
}

void DrawGlyph(QPainter& p, const GlyphMetrics& m, int x, int y, uint8_t ch, int count,
               const QColor& fg, const QColor& bg) {
  const int w = m.cellWidth * count, h = m.cellHeight;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  switch (ch) {
    case 176:
      DrawShade(p, x, y, w, h, Qt::DiagCrossPattern);
      break;
    case 177:
      DrawShade(p, x, y, w, h, Qt::HorPattern);
      break;
    case 178:
      DrawShade(p, x, y, w, h, Qt::CrossPattern);
      break;
    case 219:
      p.fillRect(x, y, w, h, fg);
      break;
    case 196:
      p.fillRect(x, y + h / 2, w, 1, fg);
      break;
    case 205:
      p.fillRect(x, y + h / 2 - m.lineWidth / 2, w, m.lineWidth, fg);
      break;
    default:
      for (int i = 0; i < count; ++i) DrawOne(Cell{p, m, x + i * m.cellWidth, y, fg, bg}, ch);
      break;
  }
  p.restore();
}

}  // namespace vantu::gui
