// Writes the user's manual "Vantu.pdf" from its Markdown chapters:
//   vantu_manual_pdf OUTPUT.pdf CHAPTER.md...
// The chapters are joined in the order given, each starting a new page, and
// laid out on A4 pages with Qt's own text layout and PDF writer.
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

namespace {

bool ReadChapter(const QString& path, QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "no se puede leer %s\n", qPrintable(path));
    return false;
  }
  text = QString::fromUtf8(file.readAll());
  return true;
}

// Every chapter's first heading starts a new page.
void BreakBeforeChapters(QTextDocument& doc) {
  bool first = true;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b.blockFormat().headingLevel() != 1) continue;
    if (!first) {
      QTextCursor c(b);
      QTextBlockFormat f = b.blockFormat();
      f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      c.setBlockFormat(f);
    }
    first = false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "uso: %s SALIDA.pdf CAPITULO.md...\n", argv[0]);
    return 2;
  }
  QString markdown;
  for (int i = 2; i < argc; ++i) {
    QString chapter;
    if (!ReadChapter(QString::fromLocal8Bit(argv[i]), chapter)) return 2;
    markdown += chapter + QStringLiteral("\n\n");
  }

  QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
  pdf.setTitle(QStringLiteral("Vantu - Manual del usuario"));
  pdf.setCreator(QStringLiteral("Vantu"));
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
  pdf.setResolution(300);

  QTextDocument doc;
  doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
  doc.setDefaultStyleSheet(QStringLiteral("th, td { padding: 3px; }"));
  doc.setMarkdown(markdown);
  BreakBeforeChapters(doc);
  doc.print(&pdf);
  if (QFile(QString::fromLocal8Bit(argv[1])).size() == 0) {
    std::fprintf(stderr, "no se pudo escribir %s\n", argv[1]);
    return 2;
  }
  return 0;
}
