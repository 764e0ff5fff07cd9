#include "gui/manual/screen_image.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QPainter>

#include "console/console.h"
#include "gui/console_painter.h"
#include "gui/console_widget.h"
#include "gui/dialog_text.h"

namespace vantu::manual {

QImage PaintScreen(int points) {
  const QFont font = gui::ConsoleFont(QStringLiteral("Courier New"), points);
  const QSize cell = gui::CellOf(font);
  constexpr int kColumns = 80, kRows = 25;
  QImage image(kColumns * cell.width(), kRows * cell.height(), QImage::Format_RGB32);
  image.fill(Qt::black);
  const gui::CellFonts fonts(font, cell.width());
  // The window's line widths for the double box lines.
  const gui::GlyphMetrics metrics{cell.width(), cell.height(), 3, 3};
  QPainter p(&image);
  gui::ConsolePainter painter(p, fonts, metrics);
  for (int row = 1; row <= kRows; ++row) painter.PaintCells(Screen(), row, 1, kColumns);
  return image;
}

// The window's message box, laid out as it shows on a wide desktop: its
// icon, the text whole (a path does not wrap) and the Aceptar button.
QImage MessageBoxImage(const QString& caption, const QString& text, bool warning) {
  QWidget box;
  box.setWindowTitle(caption);
  auto* icon = new QLabel(&box);
  icon->setPixmap(box.style()
                      ->standardIcon(warning ? QStyle::SP_MessageBoxWarning
                                             : QStyle::SP_MessageBoxInformation)
                      .pixmap(32, 32));
  auto* label = new QLabel(text, &box);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(label, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(new QPushButton(QStringLiteral("Aceptar"), &box));
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(row);
  layout->addLayout(buttons);
  box.resize(box.sizeHint());
  return box.grab().toImage();
}

QImage WithMessageBox(const QImage& screen, const QString& caption, const QString& text,
                      bool warning) {
  QImage shown = MessageBoxImage(caption, text, warning);
  // A box with long lines is drawn smaller to fit the screen.
  const int room = screen.width() - 16;
  if (shown.width() > room) shown = shown.scaledToWidth(room, Qt::SmoothTransformation);
  QImage out = screen;
  QPainter p(&out);
  // Below the middle, where the main menu's screen has nothing to hide.
  const QPoint at((out.width() - shown.width()) / 2, out.height() * 2 / 3 - shown.height() / 2);
  p.drawImage(at, shown);
  p.setPen(QPen(Qt::darkGray, 2));
  p.drawRect(QRect(at, shown.size()).adjusted(-1, -1, 1, 1));
  return out;
}

}  // namespace vantu::manual
