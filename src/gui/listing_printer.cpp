#include "gui/listing_printer.h"

#include <QFontMetrics>

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

void Line(QPainter& painter, Stroke s, int thick, int x1, int y1, int x2, int y2) {
  if (s == kNone) return;
  QPen pen(Qt::black);
  pen.setWidth(s == kDouble ? thick : 1);
  painter.setPen(pen);
  painter.drawLine(x1, y1, x2, y2);
}

QString Run(const std::string& bytes) {
  QString text;
  for (unsigned char c : bytes) text += c == 128 ? QChar(0x20AC) : QChar(c);
  return text;
}

struct Canvas {
  QPainter& painter;
  QFont font;
  int cellW = 1, lineH = 1, thick = 1;

  void SetSize(int points) {
    font.setPointSize(points);
    painter.setFont(font);
    const QFontMetrics m(font, painter.device());
    cellW = std::max(1, m.horizontalAdvance(QLatin1Char(' ')));
    lineH = std::max(1, m.height());
    thick = std::max(1, lineH / 8);
  }
  void SetBold(bool bold) {
    font.setBold(bold);
    painter.setFont(font);
  }
};

}  // namespace

void DrawBoxCharacter(QPainter& painter, int x, int y, uint8_t byte, int w, int h, int thick) {
  const int cx = x + w / 2;
  const int cy = y + h / 2;
  BoxPiece p{};
  if (PieceOf(byte, p)) {
    const bool across = p.left == p.right && p.left != kNone;
    const bool through = p.up == p.down && p.up != kNone;
    if (through) Line(painter, p.up, thick, cx, y, cx, y + h);
    if (across) Line(painter, p.left, thick, x, cy, x + w, cy);
    if (!through) {
      Line(painter, p.up, thick, cx, y, cx, cy);
      Line(painter, p.down, thick, cx, cy, cx, y + h);
    }
    if (!across) {
      Line(painter, p.left, thick, x, cy, cx, cy);
      Line(painter, p.right, thick, cx, cy, x + w, cy);
    }
  } else {
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
  QPen pen(Qt::black);
  pen.setWidth(1);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
}

bool DrawListingFile(QPrinter& printer, const std::string& bytes, bool landscape) {
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QFont font(kListingPrinterFace);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  Canvas canvas{painter, font};
  canvas.SetSize(7);
  int y = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t end = bytes.find("\r\n", i);
    const std::string line =
        bytes.substr(i, end == std::string::npos ? std::string::npos : end - i);
    i = end == std::string::npos ? bytes.size() : end + 2;
    int column = 0;
    std::string run;
    auto flush = [&] {
      if (run.empty()) return;
      painter.setPen(Qt::black);
      const QFontMetrics m(canvas.font, painter.device());
      painter.drawText(column * canvas.cellW, y + m.ascent(), Run(run));
      column += static_cast<int>(run.size());
      run.clear();
    };
    for (size_t k = 0; k < line.size(); ++k) {
      const auto b = static_cast<unsigned char>(line[k]);
      if ((b >= 32 && b <= 128) || b == 209 || b == 241) {
        run += static_cast<char>(b);
        continue;
      }
      flush();
      if (b < 32) {
        if (b == 12) {
          printer.newPage();
          y = 0;
        } else if (b == 15) {
          canvas.SetSize(7);
        } else if (b == 18) {
          canvas.SetSize(9);
        } else if (b == 27 && k + 1 < line.size()) {
          canvas.SetBold(line[++k] == 'G');
        }
        continue;
      }
      DrawBoxCharacter(painter, column * canvas.cellW, y, b, canvas.cellW, canvas.lineH,
                       canvas.thick);
      ++column;
    }
    flush();
    y += canvas.lineH;
  }
  return painter.end();
}

}  // namespace vantu
