#include "gui/listing_printer.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QRawFont>
#include <array>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "gui/box_character.h"

namespace vantu {

namespace {

QChar CharOf(unsigned char c) {
  return c == 128 ? QChar(0x20AC) : QChar(c);
}

// The glyph and advance of every byte in one size and weight of the face,
// looked up once: a listing of thousands of pages draws the same hundred
// characters over and over, so no text is laid out while drawing.
struct FaceTable {
  QRawFont raw;
  std::array<quint32, 256> glyph{};
  std::array<qreal, 256> advance{};
};

FaceTable MakeFaceTable(const QFont& deviceFont) {
  FaceTable t;
  t.raw = QRawFont::fromFont(deviceFont);
  for (int c = 0; c < 256; ++c) {
    const QList<quint32> g = t.raw.glyphIndexesForString(QString(CharOf(c)));
    if (g.size() != 1) continue;
    t.glyph[c] = g[0];
    t.advance[c] = t.raw.advancesForGlyphIndexes(g)[0].x();
  }
  return t;
}

// Glyphs waiting to be drawn, all of one face, at their page positions.
// Blanks take their place but are not drawn.
class GlyphBatch {
 public:
  void Add(const FaceTable& face, std::string_view run, qreal x, qreal baseline) {
    for (unsigned char c : run) {
      if (c != ' ' && face.glyph[c] != 0) {
        glyphs_.append(face.glyph[c]);
        positions_.append(QPointF(x, baseline));
      }
      x += face.advance[c];
    }
  }
  void Flush(QPainter& painter, const QRawFont& raw) {
    if (glyphs_.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter.drawGlyphRun(QPointF(0, 0), run);
    glyphs_.clear();
    positions_.clear();
  }

 private:
  QList<quint32> glyphs_;
  QList<QPointF> positions_;
};

// Box strokes waiting to be drawn, single and double apart. A horizontal
// stroke that continues the last one of its kind lengthens it, so a rule
// of many cells is one line.
class StrokeBatch {
 public:
  void Add(const BoxStroke& s) {
    std::vector<QLine>& lines = lines_[s.doubled];
    int& last = lastHorizontal_[s.doubled];
    if (s.y1 == s.y2) {
      if (last >= 0 && lines[last].y1() == s.y1 && lines[last].x2() == s.x1) {
        lines[last].setP2(QPoint(s.x2, s.y2));
        return;
      }
      last = static_cast<int>(lines.size());
    }
    lines.emplace_back(s.x1, s.y1, s.x2, s.y2);
  }
  void Flush(QPainter& painter, int thick) {
    QPen pen(Qt::black);
    for (int doubled = 0; doubled < 2; ++doubled) {
      if (lines_[doubled].empty()) continue;
      pen.setWidth(doubled ? thick : 1);
      painter.setPen(pen);
      painter.drawLines(lines_[doubled].data(), static_cast<int>(lines_[doubled].size()));
      lines_[doubled].clear();
      lastHorizontal_[doubled] = -1;
    }
    pen.setWidth(1);
    painter.setPen(pen);
  }

 private:
  std::vector<QLine> lines_[2];
  int lastHorizontal_[2] = {-1, -1};
};

// The printer's page as the listing file draws it: cells of the width of
// a blank and the height of a line in the current size, text and strokes
// gathered and drawn a page (or a size or weight) at a time. All is black
// but the grey blocks, so only those need the drawing order kept.
class ListingCanvas {
 public:
  ListingCanvas(QPainter& painter, const QFont& font) : painter_(painter), font_(font) {}

  int LineHeight() const { return lineH_; }

  void SetSize(int points) {
    Flush();
    font_.setPointSize(points);
    const QFontMetrics m(font_, painter_.device());
    cellW_ = std::max(1, m.horizontalAdvance(QLatin1Char(' ')));
    lineH_ = std::max(1, m.height());
    thick_ = std::max(1, lineH_ / 8);
    ascent_ = m.ascent();
    SelectFace();
  }
  void SetBold(bool bold) {
    if (bold == font_.bold()) return;
    FlushText();
    font_.setBold(bold);
    SelectFace();
  }
  void Text(std::string_view run, int column, int y) {
    text_.Add(*face_, run, column * cellW_, y + ascent_);
  }
  void Box(uint8_t byte, int column, int y) {
    const int x = column * cellW_;
    if (IsBlockByte(byte)) {
      Flush();
      FillBlock(painter_, x, y, byte, cellW_, lineH_);
      return;
    }
    BoxStroke strokes[4];
    const int n = BoxStrokesOf(byte, x, y, cellW_, lineH_, strokes);
    for (int i = 0; i < n; ++i) strokes_.Add(strokes[i]);
  }
  void Flush() {
    FlushText();
    strokes_.Flush(painter_, thick_);
  }

 private:
  void FlushText() {
    if (face_ != nullptr) text_.Flush(painter_, face_->raw);
  }
  void SelectFace() {
    const std::pair<int, bool> key(font_.pointSize(), font_.bold());
    auto it = faces_.find(key);
    if (it == faces_.end())
      it = faces_.emplace(key, MakeFaceTable(QFont(font_, painter_.device()))).first;
    face_ = &it->second;
  }

  QPainter& painter_;
  QFont font_;
  int cellW_ = 1, lineH_ = 1, thick_ = 1, ascent_ = 0;
  std::map<std::pair<int, bool>, FaceTable> faces_;
  const FaceTable* face_ = nullptr;
  GlyphBatch text_;
  StrokeBatch strokes_;
};

bool IsTextByte(unsigned char b) {
  return (b >= 32 && b <= 128) || b == 209 || b == 241;
}

}  // namespace

bool DrawListingFile(QPrinter& printer, const std::string& bytes, bool landscape) {
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setPen(Qt::black);
  QFont font(kListingPrinterFace);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  ListingCanvas canvas(painter, font);
  canvas.SetSize(7);
  const std::string_view all(bytes);
  int y = 0;
  size_t i = 0;
  while (i < all.size()) {
    const size_t end = all.find("\r\n", i);
    const std::string_view line = all.substr(i, end == std::string_view::npos ? end : end - i);
    i = end == std::string_view::npos ? all.size() : end + 2;
    int column = 0;
    size_t k = 0;
    while (k < line.size()) {
      size_t runEnd = k;
      while (runEnd < line.size() && IsTextByte(static_cast<unsigned char>(line[runEnd]))) ++runEnd;
      if (runEnd > k) {
        canvas.Text(line.substr(k, runEnd - k), column, y);
        column += static_cast<int>(runEnd - k);
        k = runEnd;
        continue;
      }
      const auto b = static_cast<unsigned char>(line[k++]);
      if (b >= 32) {
        canvas.Box(b, column++, y);
      } else if (b == 12) {
        canvas.Flush();
        printer.newPage();
        y = 0;
      } else if (b == 15) {
        canvas.SetSize(7);
      } else if (b == 18) {
        canvas.SetSize(9);
      } else if (b == 27 && k < line.size()) {
        canvas.SetBold(line[k++] == 'G');
      }
    }
    y += canvas.LineHeight();
  }
  canvas.Flush();
  return painter.end();
}

}  // namespace vantu
