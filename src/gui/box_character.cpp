#include "gui/box_character.h"

namespace vantu {

namespace {

enum Stroke { kNone = 0, kThin = 1, kDouble = 2 };

// Strokes from the cell's centre to its four edges: up, down, left, right.
struct BoxPiece {
  Stroke up, down, left, right;
};

bool PieceOf(uint8_t b, BoxPiece& p) {
  const Stroke T = kThin, D = kDouble, N = kNone;
  switch (b) {
    case 179:
      p = {T, T, N, N};
      return true;
    case 186:
      p = {D, D, N, N};
      return true;
    case 196:
      p = {N, N, T, T};
      return true;
    case 205:
      p = {N, N, D, D};
      return true;
    case 180:
      p = {T, T, T, N};
      return true;
    case 181:
      p = {T, T, D, N};
      return true;
    case 182:
      p = {D, D, T, N};
      return true;
    case 185:
      p = {D, D, D, N};
      return true;
    case 183:
      p = {N, D, T, N};
      return true;
    case 184:
      p = {N, T, D, N};
      return true;
    case 187:
      p = {N, D, D, N};
      return true;
    case 191:
      p = {N, T, T, N};
      return true;
    case 188:
      p = {D, N, D, N};
      return true;
    case 189:
      p = {D, N, T, N};
      return true;
    case 190:
      p = {T, N, D, N};
      return true;
    case 217:
      p = {T, N, T, N};
      return true;
    case 192:
      p = {T, N, N, T};
      return true;
    case 200:
      p = {D, N, N, D};
      return true;
    case 211:
      p = {D, N, N, T};
      return true;
    case 212:
      p = {T, N, N, D};
      return true;
    case 193:
      p = {T, N, T, T};
      return true;
    case 202:
      p = {D, N, D, D};
      return true;
    case 207:
      p = {T, N, D, D};
      return true;
    case 208:
      p = {D, N, T, T};
      return true;
    case 194:
      p = {N, T, T, T};
      return true;
    case 203:
      p = {N, D, D, D};
      return true;
    case 210:
      p = {N, D, T, T};
      return true;
    case 224:
      p = {N, T, D, D};
      return true;
    case 195:
      p = {T, T, N, T};
      return true;
    case 198:
      p = {T, T, N, D};
      return true;
    case 199:
      p = {D, D, N, T};
      return true;
    case 204:
      p = {D, D, N, D};
      return true;
    case 197:
      p = {T, T, T, T};
      return true;
    case 206:
      p = {D, D, D, D};
      return true;
    case 215:
      p = {D, D, T, T};
      return true;
    case 216:
      p = {T, T, D, D};
      return true;
    case 201:
      p = {N, D, N, D};
      return true;
    case 213:
      p = {N, T, N, D};
      return true;
    case 214:
      p = {N, D, N, T};
      return true;
    case 218:
      p = {N, T, N, T};
      return true;
    default:
      return false;
  }
}

void Add(BoxStroke out[4], int& n, Stroke s, int x1, int y1, int x2, int y2) {
  if (s == kNone) return;
  out[n++] = BoxStroke{s == kDouble, x1, y1, x2, y2};
}

}  // namespace

int BoxStrokesOf(uint8_t byte, int x, int y, int w, int h, BoxStroke out[4]) {
  BoxPiece p{};
  if (!PieceOf(byte, p)) return 0;
  const int cx = x + w / 2;
  const int cy = y + h / 2;
  const bool across = p.left == p.right && p.left != kNone;
  const bool through = p.up == p.down && p.up != kNone;
  int n = 0;
  if (through) Add(out, n, p.up, cx, y, cx, y + h);
  if (across) Add(out, n, p.left, x, cy, x + w, cy);
  if (!through) {
    Add(out, n, p.up, cx, y, cx, cy);
    Add(out, n, p.down, cx, cy, cx, y + h);
  }
  if (!across) {
    Add(out, n, p.left, x, cy, cx, cy);
    Add(out, n, p.right, cx, cy, x + w, cy);
  }
  return n;
}

bool IsBlockByte(uint8_t byte) {
  return byte == 176 || byte == 177 || byte == 178 || (byte >= 219 && byte <= 223);
}

void FillBlock(QPainter& painter, int x, int y, uint8_t byte, int w, int h) {
  switch (byte) {
    case 176:
    case 219:
      painter.fillRect(x, y, w, h, QColor(128, 128, 128));
      break;
    case 177:
      painter.fillRect(x, y, w, h, QBrush(Qt::black, Qt::CrossPattern));
      break;
    case 178:
      painter.fillRect(x, y, w, h, QBrush(Qt::black, Qt::DiagCrossPattern));
      break;
    case 220:
      painter.fillRect(x, y + 2 * h / 3, w, h - 2 * h / 3, Qt::black);
      break;
    case 221:
      painter.fillRect(x, y, w / 3, h, Qt::black);
      break;
    case 222:
      painter.fillRect(x + 2 * w / 3, y, w - 2 * w / 3, h, Qt::black);
      break;
    case 223:
      painter.fillRect(x, y, w, h / 3, Qt::black);
      break;
    default:
      break;
  }
}

void DrawBoxCharacter(QPainter& painter, int x, int y, uint8_t byte, int w, int h, int thick) {
  BoxStroke strokes[4];
  const int n = BoxStrokesOf(byte, x, y, w, h, strokes);
  QPen pen(Qt::black);
  for (int i = 0; i < n; ++i) {
    pen.setWidth(strokes[i].doubled ? thick : 1);
    painter.setPen(pen);
    painter.drawLine(strokes[i].x1, strokes[i].y1, strokes[i].x2, strokes[i].y2);
  }
  FillBlock(painter, x, y, byte, w, h);
  pen.setWidth(1);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
}

}  // namespace vantu
