#include "gui/win_console.h"

#include <QFontMetrics>
#include <cmath>

namespace vantu::gui {

int RoundToCells(int pixels, int cell) {
  if (cell <= 0) return 0;
  const int whole = pixels / cell;
  const int rest = pixels % cell;
  return 2 * rest > cell ? whole + 1 : whole;
}

TWinConsole::TWinConsole(QWidget* parent) : QWidget(parent) {
  setFont(QFont(QStringLiteral("Courier New")));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  if (parent != nullptr) resize(parent->size());
  nCol_ = width() / CellWidth();
  nRow_ = height() / (CellHeight() + lineGap_);
}

int TWinConsole::CellWidth() const {
  return std::max(QFontMetrics(font()).horizontalAdvance(QLatin1Char(' ')), 1);
}
int TWinConsole::CellHeight() const {
  return std::max(QFontMetrics(font()).height(), 1);
}

int TWinConsole::ButtonAreaRows() const {
  return static_cast<int>(std::lround(nBtnRow_ * 1.51));
}

void TWinConsole::SetNCol(int n) {
  if (n < 0 || n > 1000) return;
  nCol_ = n;
  resize(nCol_ * CellWidth(), height());
}

void TWinConsole::SetNRow(int n) {
  if (n < 0 || n > 1000) return;
  nRow_ = n;
  resize(width(), (CellHeight() + lineGap_) * (nRow_ + ButtonAreaRows()));
}

void TWinConsole::SetLineGap(int gap) {
  if (gap < 0 || gap > 10) return;
  lineGap_ = gap;
  resize(width(), (CellHeight() + lineGap_) * nRow_);
}

void TWinConsole::SetNBtnRow(int n) {
  if (n < 0 || n > 1000) return;
  nBtnRow_ = n;
  resize(width(), (CellHeight() + lineGap_) * (nRow_ + ButtonAreaRows()));
}

void TWinConsole::SetBounds(const QRect& r) {
  const int rowHeight = CellHeight() + lineGap_;
  const int buttonArea = ButtonAreaRows() * rowHeight;
  nCol_ = RoundToCells(r.width(), CellWidth());
  nRow_ = RoundToCells(std::max(r.height() - buttonArea, 0), rowHeight);
  setGeometry(r.x(), r.y(), nCol_ * CellWidth(), nRow_ * rowHeight + buttonArea);
}

void TWinConsole::ApplyFont(const QFont& f) {
  setFont(f);
  SetNCol(nCol_);
  SetNRow(nRow_);
  update();
}

}  // namespace vantu::gui
