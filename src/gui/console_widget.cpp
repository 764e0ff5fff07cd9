#include "gui/console_widget.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "console/console.h"
#include "console/key_buttons.h"
#include "console/zones.h"
#include "gui/console_painter.h"
#include "gui/image_construct.h"
#include "gui/key_translate.h"
#include "gui/win_console.h"

namespace vantu::gui {

QFont ConsoleFont(const QString& family, int points) {
  QFont f(family);
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setBold(true);
  f.setPointSize(std::max(points, 1));
  return f;
}

QSize CellOf(const QFont& font) {
  const QFontMetrics fm(font);
  return {std::max(fm.horizontalAdvance(QLatin1Char(' ')), 1),
          std::max(fm.height() + CapitalsDrop(font), 1)};
}

int ChooseFontSize(const std::function<QSize(int)>& cellAt, const ConsoleGeometry& g,
                   QSize desktop) {
  int size = 30;
  for (;;) {
    --size;
    const QSize cell = cellAt(size);
    const bool fits =
        (g.gridColumns + g.marginColumns) * cell.width() <= desktop.width() &&
        (g.gridRows + g.marginRows) * cell.height() <= desktop.height() - 3 * cell.height();
    if (fits || size <= 1) break;
  }
  return std::min(size, g.maxFontSize);
}

TConsole::TConsole(TWinConsole* panel, const ConsoleGeometry& geometry, QSize desktop)
    : QWidget(panel), panel_(panel), geometry_(geometry), buttons_(panel, this) {
  panel->AttachConsole(this);
  ScreenState& s = Screen();
  s.columns = panel->NCol();
  s.rows = panel->NRow();
  if (geometry_.fixedFont) {
    font_ = panel->font();
    baseFontSize_ = font_.pointSize();
  } else {
    const QString family = geometry_.fontName;
    baseFontSize_ =
        ChooseFontSize([&](int pt) { return CellOf(ConsoleFont(family, pt)); }, geometry_, desktop);
  }
  if (desktop.width() < 800) geometry_.reducedScale = 1.0;
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (QTimer* t : {&repeatTimer_, &memoryTimer_}) t->setInterval(100);
  connect(&repeatTimer_, &QTimer::timeout, this, &TConsole::RepeatTick);
  connect(&memoryTimer_, &QTimer::timeout, this, &TConsole::MemoryTick);
  SetFontSize(baseFontSize_, 2);
  GotoXY(1, 1);
}

void TConsole::SetFontSize(int points, int layoutState) {
  if (!geometry_.fixedFont) font_ = ConsoleFont(geometry_.fontName, points);
  const QSize cell = CellOf(font_);
  w_ = cell.width();
  h_ = cell.height();
  cellFonts_ = CellFonts(font_, w_);
  const ScreenState& s = Screen();
  resize(s.columns * w_, s.rows * h_);
  image_ = QImage(size(), QImage::Format_RGB32);
  layoutState_ = layoutState;
  panel_->ApplyFont(font_);
  if (!geometry_.fixedFont) {
    panel_->move(geometry_.marginColumns * w_ / 2, geometry_.marginRows * h_ / 2);
    move(0, 0);
  }
  RedrawAll();
  RelayoutKeyButtons();
  // Pictures follow their cells.
  SyncConsoleImages(this, w_, h_);
}

GlyphMetrics TConsole::Metrics() const {
  return {w_, h_, geometry_.glyphLineWidth, geometry_.glyphDoubleWidth};
}

QRect TConsole::CellRect(int col, int row, int count) const {
  return QRect((col - 1) * w_, (row - 1) * h_, count * w_, h_);
}

void TConsole::MarkDirty(int row, int first, int last) {
  if (dirty_.size() <= static_cast<size_t>(row)) dirty_.resize(row + 1, {1, 0});
  auto& span = dirty_[static_cast<size_t>(row)];
  if (span.first > span.second) {
    span = {first, last};
  } else {
    span.first = std::min(span.first, first);
    span.second = std::max(span.second, last);
  }
  anyDirty_ = true;
  // Any event loop paints them, a dialog's own as well as the host's.
  if (!flushPosted_) {
    flushPosted_ = true;
    QMetaObject::invokeMethod(this, &TConsole::FlushCells, Qt::QueuedConnection);
  }
}

void TConsole::RedrawCells(int col, int row, int count) {
  const ScreenState& s = Screen();
  if (row < 1 || row > s.rows || count <= 0) return;
  MarkDirty(row, col, col + count - 1);
}

void TConsole::RedrawAll() {
  const ScreenState& s = Screen();
  for (int row = 1; row <= s.rows; ++row) MarkDirty(row, 1, s.columns);
}

QRegion TConsole::PaintDirty() {
  QRegion painted;
  if (!anyDirty_) return painted;
  anyDirty_ = false;
  const ScreenState& s = Screen();
  QPainter p(&image_);
  ConsolePainter painter(p, cellFonts_, Metrics());
  for (size_t row = 1; row < dirty_.size(); ++row) {
    auto& span = dirty_[row];
    if (span.first > span.second) continue;
    const int r = static_cast<int>(row);
    if (r <= s.rows) painter.PaintCells(s, r, span.first, span.second);
    // Brackets reach one pixel into the neighbouring cells.
    painted += CellRect(span.first, r, span.second - span.first + 1).adjusted(-w_, 0, w_, 0);
    span = {1, 0};
  }
  return painted;
}

void TConsole::FlushCells() {
  flushPosted_ = false;
  const QRegion painted = PaintDirty();
  if (!painted.isEmpty()) update(painted);
}

void TConsole::DrawRunFrame(int col, int row, int count, uint32_t colour) {
  FlushCells();
  QPainter p(&image_);
  ConsolePainter(p, cellFonts_, Metrics()).DrawRunFrame(col, row, count, ToQColor(colour));
  update(CellRect(col, row, count).adjusted(-w_, 0, w_, 0));
}

void TConsole::SetCaret(bool shown, int col, int row) {
  update(CellRect(caretCol_, caretRow_, 1));
  caretShown_ = shown;
  if (shown) {
    caretCol_ = col;
    caretRow_ = row;
  }
  update(CellRect(caretCol_, caretRow_, 1));
}

bool TConsole::CaretVisible() const {
  return caretShown_ && isActiveWindow();
}

void TConsole::RebuildButtons(int row) {
  buttons_.Rebuild(row, font_);
}

void TConsole::paintEvent(QPaintEvent* e) {
  // A paint that comes before the flush (an expose, a grab) shows the
  // cells as they are now.
  const QRegion late = PaintDirty() - e->region();
  if (!late.isEmpty()) update(late);
  QPainter p(this);
  p.drawImage(e->rect(), image_, e->rect());
  if (CaretVisible()) {
    // One pixel wide, H - 5 high, inverting what lies under it.
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    p.fillRect((caretCol_ - 1) * w_, (caretRow_ - 1) * h_ + 3, 1, h_ - 5, Qt::white);
  }
}

bool TConsole::event(QEvent* e) {
  // Tab would move the focus; the console takes it as a key.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QWidget::event(e);
}

void TConsole::keyPressEvent(QKeyEvent* e) {
  DeliverKey(*e);
}

void TConsole::mousePressEvent(QMouseEvent* e) {
  const MouseBtn b = e->button() == Qt::LeftButton    ? MouseBtn::Left
                     : e->button() == Qt::RightButton ? MouseBtn::Right
                                                      : MouseBtn::Other;
  const QPoint pos = e->position().toPoint();
  MouseDown(pos.x(), pos.y(), b, w_, h_);
  if (RepeatTimerRunning() && !repeatTimer_.isActive()) repeatTimer_.start();
  if (MemoryTimerRunning() && !memoryTimer_.isActive()) memoryTimer_.start();
}

void TConsole::mouseReleaseEvent(QMouseEvent*) {
  MouseUp();
}

void TConsole::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  MouseMove(pos.x(), pos.y(), w_, h_);
}

void TConsole::RepeatTick() {
  if (RepeatTimerTick()) RepeatLastClick();
  if (!RepeatTimerRunning()) repeatTimer_.stop();
}

void TConsole::MemoryTick() {
  MemoryTimerTick();
  if (!MemoryTimerRunning()) memoryTimer_.stop();
}

void TConsole::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange) update(CellRect(caretCol_, caretRow_, 1));
  QWidget::changeEvent(e);
}

}  // namespace vantu::gui
