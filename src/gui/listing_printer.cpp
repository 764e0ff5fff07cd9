#include "gui/listing_printer.h"

#include <QGlyphRun>
#include <QPainter>
#include <map>
#include <string_view>
#include <utility>

#include "gui/listing_faces.h"
#include "gui/listing_pdf_writer.h"
#include "gui/listing_strokes.h"
#include "gui/listing_walk.h"

namespace vantu {

namespace {

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

// The printer's page as the listing file draws it, text and strokes
// gathered and drawn a page (or a size or weight) at a time. All is black
// but the grey blocks, so only those need the drawing order kept.
class PainterSink {
 public:
  PainterSink(QPrinter& printer, QPainter& painter, const QFont& font)
      : printer_(printer), painter_(painter), font_(font) {}

  void Text(std::string_view run, int column) {
    text_.Add(*face_, run, column * m_.cellW, y_ + m_.ascent);
  }
  void Box(uint8_t byte, int column) {
    const int x = column * m_.cellW;
    if (IsBlockByte(byte)) {
      Flush();
      FillBlock(painter_, x, y_, byte, m_.cellW, m_.lineH);
      return;
    }
    BoxStroke strokes[4];
    const int n = BoxStrokesOf(byte, x, y_, m_.cellW, m_.lineH, strokes);
    for (int i = 0; i < n; ++i) strokes_.Add(strokes[i]);
  }
  void NewPage() {
    Flush();
    printer_.newPage();
    y_ = 0;
  }
  void SetSize(int points) {
    Flush();
    font_.setPointSize(points);
    m_ = MetricsOf(font_, painter_.device());
    SelectFace();
  }
  void SetBold(bool bold) {
    if (bold == font_.bold()) return;
    FlushText();
    font_.setBold(bold);
    SelectFace();
  }
  void EndLine() { y_ += m_.lineH; }
  void Flush() {
    FlushText();
    QPen pen(Qt::black);
    for (bool doubled : {false, true}) {
      const std::vector<QLine>& lines = strokes_.Lines(doubled);
      if (lines.empty()) continue;
      pen.setWidth(doubled ? m_.thick : 1);
      painter_.setPen(pen);
      painter_.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
    strokes_.Clear();
    pen.setWidth(1);
    painter_.setPen(pen);
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

  QPrinter& printer_;
  QPainter& painter_;
  QFont font_;
  CellMetrics m_;
  int y_ = 0;
  std::map<std::pair<int, bool>, FaceTable> faces_;
  const FaceTable* face_ = nullptr;
  GlyphBatch text_;
  StrokeBatch strokes_;
};

QPageLayout::Orientation Orientation(bool landscape) {
  return landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool PaintListingParts(QPrinter& printer, const std::vector<ListingPart>& parts) {
  printer.setPageOrientation(Orientation(parts.front().landscape));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // A pen set anew, so that the paint engine strokes the one-unit rules as
  // lines of that width (with the pen it begins with, it draws them as
  // hairlines a tenth as wide).
  painter.setPen(QPen(Qt::black, 2));
  painter.setPen(QPen(Qt::black, 1));
  PainterSink sink(printer, painter, ListingPrinterFont());
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      sink.Flush();
      // The PDF engine takes a new orientation from the next page on.
      printer.setPageOrientation(Orientation(parts[i].landscape));
      sink.NewPage();
    }
    sink.SetSize(7);
    WalkListing(parts[i].bytes, sink);
  }
  sink.Flush();
  return painter.end();
}

}  // namespace

QFont ListingPrinterFont() {
  QFont font(kListingPrinterFace);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

bool PaintListingFile(QPrinter& printer, const std::string& bytes, bool landscape) {
  return PaintListingParts(printer, {{bytes, landscape}});
}

bool DrawListingParts(QPrinter& printer, const std::vector<ListingPart>& parts) {
  if (parts.empty()) return true;
  bool sameOrientation = true;
  std::string joined;
  for (const ListingPart& part : parts) {
    sameOrientation = sameOrientation && part.landscape == parts.front().landscape;
    if (!joined.empty()) joined += '\f';
    joined += part.bytes;
  }
  if (sameOrientation) return DrawListingFile(printer, joined, parts.front().landscape);
  return PaintListingParts(printer, parts);
}

bool DrawListingFile(QPrinter& printer, const std::string& bytes, bool landscape) {
  if (printer.outputFormat() == QPrinter::PdfFormat && CanWriteListingPdf(bytes)) {
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return WriteListingPdf(printer, bytes);
  }
  return PaintListingFile(printer, bytes, landscape);
}

}  // namespace vantu
