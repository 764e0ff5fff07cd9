#include "gui/listing_pdf_writer.h"

#include <QFile>
#include <QPageLayout>
#include <cmath>
#include <cstdio>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "gui/box_character.h"
#include "gui/listing_faces.h"
#include "gui/listing_pdf_fonts.h"
#include "gui/listing_printer.h"
#include "gui/listing_strokes.h"
#include "gui/listing_walk.h"

namespace vantu {

namespace {

// A number as PDF writes it: whole numbers bare, others to six decimals
// without trailing zeros. Page positions are multiples of 1/64 of a
// printer dot, so six decimals hold them exactly.
void Num(QByteArray& out, double v) {
  char buf[48];
  char* p = buf + sizeof buf;
  *--p = ' ';
  const bool negative = v < 0;
  long long micro = std::llround(std::fabs(v) * 1e6);
  long long whole = micro / 1000000;
  int frac = static_cast<int>(micro % 1000000);
  if (frac != 0) {
    int digits = 6;
    while (frac % 10 == 0) {
      frac /= 10;
      --digits;
    }
    for (; digits > 0; --digits, frac /= 10) *--p = static_cast<char>('0' + frac % 10);
    *--p = '.';
  }
  do {
    *--p = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  if (negative && micro != 0) *--p = '-';
  out.append(p, static_cast<qsizetype>(buf + sizeof buf - p));
}

// The PDF file: objects written as they come, their offsets kept for the
// cross-reference table at the end.
class PdfFile {
 public:
  explicit PdfFile(const QString& name) : file_(name) {}
  bool Open() {
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    Write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    return true;
  }
  int Reserve() {
    offsets_.push_back(-1);
    return static_cast<int>(offsets_.size());
  }
  void Object(int number, const QByteArray& body) {
    offsets_[number - 1] = written_;
    Write(QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n");
  }
  void Stream(int number, const QByteArray& dict, const QByteArray& data) {
    const QByteArray packed = qCompress(data).mid(4);  // zlib stream after Qt's length
    offsets_[number - 1] = written_;
    Write(QByteArray::number(number) + " 0 obj\n<< " + dict + " /Length " +
          QByteArray::number(packed.size()) + " /Filter /FlateDecode >>\nstream\n");
    Write(packed);
    Write("\nendstream\nendobj\n");
  }
  bool Finish(int root) {
    const qint64 xref = written_;
    QByteArray table = "xref\n0 " + QByteArray::number(offsets_.size() + 1) + "\n";
    table += "0000000000 65535 f \n";
    char entry[24];
    for (qint64 at : offsets_) {
      std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(at));
      table += entry;
    }
    table += "trailer\n<< /Size " + QByteArray::number(offsets_.size() + 1) + " /Root " +
             QByteArray::number(root) + " 0 R >>\nstartxref\n" + QByteArray::number(xref) +
             "\n%%EOF\n";
    Write(table);
    file_.close();
    return ok_ && file_.error() == QFileDevice::NoError;
  }

 private:
  void Write(const QByteArray& bytes) {
    ok_ = ok_ && file_.write(bytes) == bytes.size();
    written_ += bytes.size();
  }
  QFile file_;
  std::vector<qint64> offsets_;
  qint64 written_ = 0;
  bool ok_ = true;
};

// One size and weight of the face as a PDF font resource.
struct FontResource {
  FaceTable face;
  int points = 7;
  bool bold = false;
  int number = 0;  // the Type0 font object
};

// The pages as the listing file draws them, each page's content written as
// it ends. Text goes out as it comes, a word at a time at the position the
// face's advances give; strokes are gathered and written at a page end, a
// size change or before a fill, as the painted route draws them.
class PdfSink {
 public:
  PdfSink(QPrinter& printer, PdfFile& pdf)
      : printer_(printer), pdf_(pdf), font_(ListingPrinterFont()) {
    const int resolution = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPoints();
    const double scale = 72.0 / resolution;
    QRect paint(0, 0, 0, 0);
    if (layout.mode() != QPageLayout::FullPageMode) paint = layout.paintRectPixels(resolution);
    mediaBox_ =
        "[0 0 " + QByteArray::number(full.width()) + " " + QByteArray::number(full.height()) + "]";
    Num(matrix_, scale);
    matrix_ += "0 0 ";
    Num(matrix_, -scale);
    Num(matrix_, paint.left() * scale);
    Num(matrix_, full.height() - paint.top() * scale);
    matrix_ += "cm\n";
    resourcesNumber_ = pdf_.Reserve();
    pagesNumber_ = pdf_.Reserve();
    StartPage();
  }

  void Text(std::string_view run, int column) {
    const FontResource& f = *current_;
    size_t first = 0, last = run.size();
    while (first < last && !Drawn(f, run[first])) ++first;
    while (last > first && !Drawn(f, run[last - 1])) --last;
    if (first == last) return;
    double x = column * m_.cellW;
    for (size_t k = 0; k < first; ++k) x += f.face.advance[static_cast<unsigned char>(run[k])];
    content_ += "BT /F" + QByteArray::number(f.number) + " ";
    Num(content_, f.face.raw.pixelSize());
    content_ += "Tf 1 0 0 -1 ";
    Num(content_, x);
    Num(content_, y_ + m_.ascent);
    content_ += "Tm (";
    for (size_t k = first; k < last; ++k) {
      const char c = Drawn(f, run[k]) ? run[k] : ' ';
      if (c == '(' || c == ')' || c == '\\') content_ += '\\';
      content_ += c;
    }
    content_ += ") Tj ET\n";
  }
  void Box(uint8_t byte, int column) {
    const int x = column * m_.cellW;
    if (IsBlockByte(byte)) {
      FlushStrokes();
      Fill(byte, x);
      return;
    }
    BoxStroke strokes[4];
    const int n = BoxStrokesOf(byte, x, y_, m_.cellW, m_.lineH, strokes);
    for (int i = 0; i < n; ++i) strokes_.Add(strokes[i]);
  }
  void NewPage() {
    EndPage();
    StartPage();
    y_ = 0;
  }
  void SetSize(int points) {
    FlushStrokes();
    font_.setPointSize(points);
    m_ = MetricsOf(font_, &printer_);
    SelectFont();
  }
  void SetBold(bool bold) {
    font_.setBold(bold);
    SelectFont();
  }
  void EndLine() { y_ += m_.lineH; }

  bool Finish() {
    EndPage();
    WriteFonts();
    QByteArray kids;
    for (int page : pages_) kids += QByteArray::number(page) + " 0 R ";
    pdf_.Object(pagesNumber_, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                  QByteArray::number(pages_.size()) + " >>");
    const int catalog = pdf_.Reserve();
    pdf_.Object(catalog,
                "<< /Type /Catalog /Pages " + QByteArray::number(pagesNumber_) + " 0 R >>");
    return pdf_.Finish(catalog);
  }

 private:
  // Blanks and bytes the face has no glyph for take their cell but draw
  // nothing.
  static bool Drawn(const FontResource& f, char c) {
    return c != ' ' && f.face.glyph[static_cast<unsigned char>(c)] != 0;
  }
  // A block as the painter's fillRect draws it: grey or black.
  void Fill(uint8_t byte, int x) {
    const int w = m_.cellW, h = m_.lineH;
    QRect r(x, y_, w, h);
    if (byte == 220) r = QRect(x, y_ + 2 * h / 3, w, h - 2 * h / 3);
    if (byte == 221) r = QRect(x, y_, w / 3, h);
    if (byte == 222) r = QRect(x + 2 * w / 3, y_, w - 2 * w / 3, h);
    if (byte == 223) r = QRect(x, y_, w, h / 3);
    const bool grey = byte == 176 || byte == 219;
    content_ += grey ? "0.501961 g " : "";
    Rect(r.x(), r.y(), r.width(), r.height());
    content_ += grey ? "f 0 g\n" : "f\n";
  }
  void Rect(double x, double y, double w, double h) {
    Num(content_, x);
    Num(content_, y);
    Num(content_, w);
    Num(content_, h);
    content_ += "re ";
  }
  // Single strokes with a one-unit pen, double strokes with the thick one;
  // square ends, as the painted route strokes them.
  void FlushStrokes() {
    for (bool doubled : {false, true}) {
      const std::vector<QLine>& lines = strokes_.Lines(doubled);
      if (lines.empty()) continue;
      content_ += "q ";
      Num(content_, doubled ? m_.thick : 1);
      content_ += "w 2 J 2 j\n";
      for (const QLine& l : lines) {
        Num(content_, l.x1());
        Num(content_, l.y1());
        content_ += "m ";
        Num(content_, l.x2());
        Num(content_, l.y2());
        content_ += "l\n";
      }
      content_ += "S Q\n";
    }
    strokes_.Clear();
  }
  void StartPage() {
    content_.clear();
    content_ += "/GSa gs ";
    content_ += matrix_;
  }
  void EndPage() {
    FlushStrokes();
    const int stream = pdf_.Reserve();
    pdf_.Stream(stream, "", content_);
    const int page = pdf_.Reserve();
    pdf_.Object(page, "<< /Type /Page /Parent " + QByteArray::number(pagesNumber_) +
                          " 0 R /MediaBox " + mediaBox_ + " /Resources " +
                          QByteArray::number(resourcesNumber_) + " 0 R /Contents " +
                          QByteArray::number(stream) + " 0 R >>");
    pages_.push_back(page);
  }
  void SelectFont() {
    const std::pair<int, bool> key(font_.pointSize(), font_.bold());
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
      FontResource r{MakeFaceTable(QFont(font_, &printer_)), key.first, key.second, pdf_.Reserve()};
      it = fonts_.emplace(key, std::move(r)).first;
    }
    current_ = &it->second;
  }
  // The face programs once per weight; each size its own font, whose
  // glyph widths give the face's advances at that size exactly. The
  // listing bytes are the face's Windows ANSI characters, so the text
  // goes out as it is in the file.
  void WriteFonts();

  QPrinter& printer_;
  PdfFile& pdf_;
  QFont font_;
  CellMetrics m_;
  QByteArray mediaBox_, matrix_, content_;
  int resourcesNumber_ = 0, pagesNumber_ = 0, y_ = 0;
  std::vector<int> pages_;
  std::map<std::pair<int, bool>, FontResource> fonts_;
  const FontResource* current_ = nullptr;
  StrokeBatch strokes_;
};

void PdfSink::WriteFonts() {
  std::map<bool, int> descriptors;
  QByteArray resources = "<< /Font << ";
  for (auto& [key, f] : fonts_) {
    const QRawFont& raw = f.face.raw;
    const QByteArray name = raw.familyName().remove(' ').toLatin1() + (f.bold ? "-Bold" : "");
    if (!descriptors.count(f.bold)) {
      const int program = pdf_.Reserve();
      const QByteArray data = TrueTypeProgram(raw);
      pdf_.Stream(program, "/Length1 " + QByteArray::number(data.size()), data);
      const QRectF box = FontBox(raw);
      const double em = 1000.0 / raw.pixelSize();
      QByteArray d = "<< /Type /FontDescriptor /FontName /" + name + " /Flags 33 /FontBBox [";
      Num(d, box.left());
      Num(d, box.top());
      Num(d, box.right());
      Num(d, box.bottom());
      d += "] /ItalicAngle 0 /Ascent ";
      Num(d, raw.ascent() * em);
      d += "/Descent ";
      Num(d, -raw.descent() * em);
      d += "/CapHeight ";
      Num(d, raw.ascent() * em);
      d += "/StemV 80 /FontFile2 " + QByteArray::number(program) + " 0 R >>";
      descriptors[f.bold] = pdf_.Reserve();
      pdf_.Object(descriptors[f.bold], d);
    }
    QByteArray widths;
    for (int c = 32; c < 256; ++c) Num(widths, f.face.advance[c] * 1000.0 / raw.pixelSize());
    pdf_.Object(f.number, "<< /Type /Font /Subtype /TrueType /BaseFont /" + name +
                              " /FirstChar 32 /LastChar 255 /Widths [" + widths +
                              "] /Encoding /WinAnsiEncoding /FontDescriptor " +
                              QByteArray::number(descriptors[f.bold]) + " 0 R >>");
    resources += "/F" + QByteArray::number(f.number) + " " + QByteArray::number(f.number) + " 0 R ";
  }
  // Strokes adjusted to whole device pixels, as the paint engine asks.
  pdf_.Object(resourcesNumber_, resources +
                                    ">> /ExtGState << /GSa << /Type /ExtGState /SA true /SM 0.02 "
                                    ">> >> /ProcSet [/PDF /Text] >>");
}

}  // namespace

bool CanWriteListingPdf(const std::string& bytes) {
  return bytes.find(static_cast<char>(177)) == std::string::npos &&
         bytes.find(static_cast<char>(178)) == std::string::npos;
}

bool WriteListingPdf(QPrinter& printer, const std::string& bytes) {
  PdfFile pdf(printer.outputFileName());
  if (!pdf.Open()) return false;
  PdfSink sink(printer, pdf);
  sink.SetSize(7);
  WalkListing(bytes, sink);
  return sink.Finish();
}

}  // namespace vantu
