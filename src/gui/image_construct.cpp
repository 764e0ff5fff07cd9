#include "gui/image_construct.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

#include "console/console.h"

namespace vantu::gui {

namespace {

constexpr char kImageProperty[] = "vantuImage";

// A tower crane lifting a beam over a half-built block, on a sky panel.
void PaintConstruct(QPainter& p, double w, double h) {
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, QColor(120, 170, 225));
  sky.setColorAt(1, QColor(205, 225, 245));
  p.fillRect(QRectF(0, 0, w, h), sky);
  p.fillRect(QRectF(0, h * 0.88, w, h * 0.12), QColor(120, 95, 60));

  // The building: finished floors below, a bare frame on top.
  const QRectF block(w * 0.42, h * 0.45, w * 0.46, h * 0.43);
  p.fillRect(block, QColor(190, 120, 80));
  p.setPen(Qt::NoPen);
  for (int floor = 0; floor < 3; ++floor)
    for (int col = 0; col < 4; ++col)
      p.fillRect(QRectF(block.left() + w * (0.03 + col * 0.11),
                        block.top() + h * (0.05 + floor * 0.13), w * 0.06, h * 0.07),
                 QColor(250, 235, 160));
  p.setPen(QPen(QColor(90, 90, 90), std::max(1.0, w * 0.012)));
  const double top = h * 0.33;
  for (int col = 0; col <= 3; ++col) {
    const double x = block.left() + col * block.width() / 3;
    p.drawLine(QPointF(x, block.top()), QPointF(x, top));
  }
  p.drawLine(QPointF(block.left(), top), QPointF(block.right(), top));

  // The crane: mast, jib, counter-jib, cab, cable and load.
  const QColor yellow(240, 190, 20);
  const double mastX = w * 0.22, mastW = w * 0.06, jibY = h * 0.14;
  p.setPen(QPen(yellow, std::max(1.0, w * 0.015)));
  p.drawLine(QPointF(mastX, h * 0.88), QPointF(mastX, jibY));
  p.drawLine(QPointF(mastX + mastW, h * 0.88), QPointF(mastX + mastW, jibY));
  for (double y = h * 0.88; y > jibY + h * 0.05; y -= h * 0.08) {
    p.drawLine(QPointF(mastX, y), QPointF(mastX + mastW, y - h * 0.08));
    p.drawLine(QPointF(mastX, y - h * 0.08), QPointF(mastX + mastW, y - h * 0.08));
  }
  p.drawLine(QPointF(w * 0.05, jibY), QPointF(w * 0.95, jibY));
  p.drawLine(QPointF(mastX + mastW / 2, jibY - h * 0.08), QPointF(w * 0.95, jibY));
  p.drawLine(QPointF(mastX + mastW / 2, jibY - h * 0.08), QPointF(w * 0.05, jibY));
  p.fillRect(QRectF(w * 0.04, jibY, w * 0.08, h * 0.06), QColor(80, 80, 80));
  p.fillRect(QRectF(mastX + mastW, jibY, w * 0.07, h * 0.06), QColor(220, 60, 40));
  const double hookX = w * 0.74;
  p.setPen(QPen(QColor(40, 40, 40), std::max(1.0, w * 0.008)));
  p.drawLine(QPointF(hookX, jibY), QPointF(hookX, h * 0.26));
  p.fillRect(QRectF(hookX - w * 0.12, h * 0.26, w * 0.24, h * 0.035), QColor(70, 70, 70));
}

QLabel* FindLabel(QWidget* console, const QString& name) {
  for (QLabel* label : console->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
    if (label->property(kImageProperty).toString() == name) return label;
  return nullptr;
}

}  // namespace

QImage PaintConsoleImage(const QString& name, int width, int height) {
  if (name != QStringLiteral("CONSTRUCT") || width <= 0 || height <= 0) return {};
  QImage image(width, height, QImage::Format_RGB32);
  QPainter p(&image);
  PaintConstruct(p, width, height);
  return image;
}

void SyncConsoleImages(QWidget* console, int cellWidth, int cellHeight) {
  if (console == nullptr) return;
  QStringList shown;
  for (const ImageSlot& slot : Screen().images) {
    if (slot.name.empty()) continue;
    const QString name = QString::fromLatin1(slot.name.c_str());
    const QRect rect((slot.col - 1) * cellWidth, (slot.row - 1) * cellHeight,
                     slot.width * cellWidth, slot.height * cellHeight);
    const QImage image = PaintConsoleImage(name, rect.width(), rect.height());
    if (image.isNull()) continue;
    QLabel* label = FindLabel(console, name);
    if (label == nullptr) {
      label = new QLabel(console);
      label->setProperty(kImageProperty, name);
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (label->geometry() != rect || label->pixmap().isNull()) {
      label->setGeometry(rect);
      label->setPixmap(QPixmap::fromImage(image));
    }
    label->show();
    shown << name;
  }
  for (QLabel* label : console->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
    const QVariant name = label->property(kImageProperty);
    if (name.isValid() && !shown.contains(name.toString())) delete label;
  }
}

}  // namespace vantu::gui
