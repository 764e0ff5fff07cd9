// Writes the user's manual from its Markdown chapters and screenshots:
//   vantu_manual_pdf OUTPUT.pdf HTMLDIR IMAGEDIR CHAPTER.md...
// OUTPUT.pdf holds the chapters in the order given, each starting a new
// page, laid out on numbered A4 pages with Qt's own text layout and PDF
// writer.
// HTMLDIR gets one page per chapter, an index page and the pictures the
// chapters show. A picture is written in a chapter as ![caption](name.png)
// and taken from IMAGEDIR; one that is missing there fails the run, so the
// manual never refers to a screen that was not taken.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

// The widest a picture is drawn in the HTML copy, in pixels.
constexpr double kHtmlImageWidth = 620;
// A picture this wide (a screenshot of the 80 x 25 screen) or wider fills
// the text's width; a narrower one keeps its proportion of it.
constexpr double kScreenPixels = 880;

struct Chapter {
  QString file, title, markdown;
};

bool ReadChapter(const QString& path, Chapter& chapter) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "no se puede leer %s\n", qPrintable(path));
    return false;
  }
  chapter.file = QFileInfo(path).completeBaseName();
  chapter.markdown = QString::fromUtf8(file.readAll());
  const QRegularExpressionMatch title =
      QRegularExpression(QStringLiteral("^# (.+)$"), QRegularExpression::MultilineOption)
          .match(chapter.markdown);
  chapter.title = title.hasMatch() ? title.captured(1).trimmed() : chapter.file;
  return true;
}

const QRegularExpression& ImagePattern() {
  static const QRegularExpression pattern(QStringLiteral(R"(!\[([^\]]*)\]\(([^)\s]+)\))"));
  return pattern;
}

// Every picture a chapter names, loaded from the image folder; false (and
// the reason on stderr) when one is missing or unreadable.
bool LoadImages(const std::vector<Chapter>& chapters, const QDir& imageDir,
                std::map<QString, QImage>& images) {
  bool all = true;
  for (const Chapter& c : chapters) {
    for (auto it = ImagePattern().globalMatch(c.markdown); it.hasNext();) {
      const QString name = it.next().captured(2);
      if (images.count(name) != 0) continue;
      QImage image(imageDir.filePath(name));
      if (image.isNull()) {
        std::fprintf(stderr, "%s.md: falta la imagen %s en %s\n", qPrintable(c.file),
                     qPrintable(name), qPrintable(imageDir.path()));
        all = false;
        continue;
      }
      images[name] = image;
    }
  }
  return all;
}

// Each picture followed by its caption, in italics, as a paragraph of its own.
QString WithCaptions(const QString& markdown) {
  QString out = markdown;
  out.replace(ImagePattern(), QStringLiteral("![\\1](\\2)\n\n*\\1*"));
  return out;
}

// The document of some chapters, its pictures drawn at most `imageWidth`
// wide (in the document's units).
void BuildDocument(QTextDocument& doc, const QString& markdown,
                   const std::map<QString, QImage>& images, double imageWidth) {
  doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
  doc.setDefaultStyleSheet(QStringLiteral("th, td { padding: 3px; }"));
  doc.setMarkdown(WithCaptions(markdown));
  // After the text: setting it clears the document's resources.
  for (const auto& [name, image] : images)
    doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (!f.charFormat().isImageFormat()) continue;
      QTextImageFormat format = f.charFormat().toImageFormat();
      const auto found = images.find(format.name());
      if (found == images.end()) continue;
      const double width = imageWidth * std::min(1.0, found->second.width() / kScreenPixels);
      format.setWidth(width);
      format.setHeight(width * found->second.height() / found->second.width());
      QTextCursor c(&doc);
      c.setPosition(f.position());
      c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
      c.setCharFormat(format);
    }
  }
}

// Draws one chapter's pages from page `number` + 1 on. Each chapter is a
// document of its own: Qt loses the text of a document laid out taller
// than 32,767 device pixels (about eleven pages at 300 dots per inch).
int DrawChapter(QPainter& p, QPdfWriter& pdf, const Chapter& chapter,
                const std::map<QString, QImage>& images, int number) {
  const QRect body = pdf.pageLayout().paintRectPixels(pdf.resolution());
  const int footer = pdf.resolution() / 2;  // half an inch for the page number
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&pdf);
  doc.setPageSize(QSizeF(body.width(), body.height() - footer));
  // Qt's layout scales a picture's width by the device's resolution over
  // the 96 dots per inch of a screen; a screenshot fills the text's width.
  BuildDocument(doc, chapter.markdown, images, body.width() * 96.0 / pdf.resolution());
  const double pageHeight = doc.pageSize().height();
  for (int page = 0; page < doc.pageCount(); ++page, ++number) {
    if (number > 0) pdf.newPage();
    p.save();
    p.translate(0, -page * pageHeight);
    const QRectF onPage(0, page * pageHeight, body.width(), pageHeight);
    p.setClipRect(onPage);
    doc.drawContents(&p, onPage);
    p.restore();
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    p.drawText(QRect(0, body.height() - footer, body.width(), footer),
               Qt::AlignRight | Qt::AlignBottom, QString::number(number + 1));
  }
  return number;
}

bool WritePdf(const QString& path, const std::vector<Chapter>& chapters,
              const std::map<QString, QImage>& images) {
  QPdfWriter pdf(path);
  pdf.setTitle(QStringLiteral("Vantu - Manual del usuario"));
  pdf.setCreator(QStringLiteral("Vantu"));
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
  pdf.setResolution(300);
  QPainter p;
  if (!p.begin(&pdf)) return false;
  int pages = 0;
  for (const Chapter& c : chapters) pages = DrawChapter(p, pdf, c, images, pages);
  p.end();
  return QFile(path).size() > 0;
}

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(text.toUtf8()) >= 0;
}

QString HtmlPage(const QString& title, const QString& body) {
  return QStringLiteral(
             "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n"
             "<title>%1</title>\n<style>body { max-width: 50em; margin: auto; "
             "font-family: 'DejaVu Sans', sans-serif; } img { max-width: 100%; height: auto; } "
             "th, td { padding: 3px; }</style>\n</head>\n<body>\n%2\n</body>\n</html>\n")
      .arg(title.toHtmlEscaped(), body);
}

// The body of a chapter's page: Qt's HTML of the document, from <body> in.
QString ChapterBody(const Chapter& c, const std::map<QString, QImage>& images) {
  QTextDocument doc;
  BuildDocument(doc, c.markdown, images, kHtmlImageWidth);
  const QString html = doc.toHtml();
  const qsizetype from = html.indexOf(QStringLiteral("<body"));
  const qsizetype open = html.indexOf(QLatin1Char('>'), from);
  const qsizetype to = html.lastIndexOf(QStringLiteral("</body>"));
  return from < 0 || to < 0 ? html : html.mid(open + 1, to - open - 1);
}

bool WriteHtml(const QDir& dir, const std::vector<Chapter>& chapters,
               const std::map<QString, QImage>& images) {
  if (!dir.mkpath(QStringLiteral("."))) return false;
  QString index = QStringLiteral("<h1>Vantu &mdash; Manual del usuario</h1>\n<ol>\n");
  for (size_t i = 0; i < chapters.size(); ++i) {
    const Chapter& c = chapters[i];
    QString nav = QStringLiteral("<p><a href=\"index.html\">Índice</a>");
    if (i > 0) nav += QStringLiteral(" | <a href=\"%1.html\">Anterior</a>").arg(chapters[i - 1].file);
    if (i + 1 < chapters.size())
      nav += QStringLiteral(" | <a href=\"%1.html\">Siguiente</a>").arg(chapters[i + 1].file);
    nav += QStringLiteral("</p>\n");
    if (!WriteText(dir.filePath(c.file + QStringLiteral(".html")),
                   HtmlPage(c.title, nav + ChapterBody(c, images) + nav)))
      return false;
    index += QStringLiteral("<li><a href=\"%1.html\">%2</a></li>\n").arg(c.file, c.title.toHtmlEscaped());
  }
  for (const auto& [name, image] : images)
    if (!image.save(dir.filePath(name), "PNG")) return false;
  return WriteText(dir.filePath(QStringLiteral("index.html")),
                   HtmlPage(QStringLiteral("Vantu - Manual del usuario"), index + "</ol>"));
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  if (argc < 5) {
    std::fprintf(stderr, "uso: %s SALIDA.pdf CARPETA_HTML CARPETA_IMAGENES CAPITULO.md...\n",
                 argv[0]);
    return 2;
  }
  std::vector<Chapter> chapters;
  for (int i = 4; i < argc; ++i) {
    Chapter c;
    if (!ReadChapter(QString::fromLocal8Bit(argv[i]), c)) return 2;
    chapters.push_back(c);
  }
  std::map<QString, QImage> images;
  if (!LoadImages(chapters, QDir(QString::fromLocal8Bit(argv[3])), images)) return 2;
  if (!WritePdf(QString::fromLocal8Bit(argv[1]), chapters, images)) {
    std::fprintf(stderr, "no se pudo escribir %s\n", argv[1]);
    return 2;
  }
  if (!WriteHtml(QDir(QString::fromLocal8Bit(argv[2])), chapters, images)) {
    std::fprintf(stderr, "no se pudo escribir la copia HTML en %s\n", argv[2]);
    return 2;
  }
  return 0;
}
