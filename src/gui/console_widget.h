#pragma once
// TConsole: the control that shows the console grid. It picks its font size
// from the desktop, keeps the painted cells in an image, shows the caret and
// turns keys and clicks into key codes. Changed cells are only marked; they
// are painted into the image when the host next processes its events, so a
// run that rewrites a progress line per record costs no painting per record.

#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "gui/console_painter.h"
#include "gui/glyph_painter.h"
#include "gui/key_button_bar.h"

namespace vantu::gui {

class TWinConsole;

// Geometry settings the main window gives before the console is created.
struct ConsoleGeometry {
  int gridColumns = 80;
  int gridRows = 28;
  int marginColumns = 0;
  int marginRows = 0;
  bool fixedFont = false;
  int maxFontSize = 14;
  QString fontName = QStringLiteral("Courier New");
  double reducedScale = 0.65;
  int glyphLineWidth = 3;
  int glyphDoubleWidth = 3;
};

// The console font: fixed pitch, bold.
QFont ConsoleFont(const QString& family, int points);
// Cell size (width and height of a blank) of a font.
QSize CellOf(const QFont& font);
// Steps down from 30 points (29 is the first size tried) until the grid
// fits the desktop less three rows, then caps the size at maxFontSize.
int ChooseFontSize(const std::function<QSize(int)>& cellAt, const ConsoleGeometry& g,
                   QSize desktop);

class TConsole : public QWidget {
  Q_OBJECT

 public:
  TConsole(TWinConsole* panel, const ConsoleGeometry& geometry, QSize desktop);

  // Applies a font size; layoutState 2 is the full layout, 0 the reduced.
  void SetFontSize(int points, int layoutState);
  int BaseFontSize() const { return baseFontSize_; }
  int LayoutState() const { return layoutState_; }
  double ReducedScale() const { return geometry_.reducedScale; }
  bool FixedFont() const { return geometry_.fixedFont; }
  int CellWidth() const { return w_; }
  int CellHeight() const { return h_; }
  const QFont& ConsoleFontNow() const { return font_; }

  // Cells to draw again (1-based absolute), the whole grid: marked now,
  // painted by FlushCells. A run frame is drawn at once, over the cells
  // marked before it.
  void RedrawCells(int col, int row, int count);
  void RedrawAll();
  void DrawRunFrame(int col, int row, int count, uint32_t colour);
  // Paints the marked cells into the image and asks for their repaint.
  void FlushCells();
  // The caret in cell (col, row); drawn only while the window is active.
  void SetCaret(bool shown, int col, int row);
  bool CaretVisible() const;
  void RebuildButtons(int row);
  KeyButtonBar& ButtonBar() { return buttons_; }

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  QRect CellRect(int col, int row, int count) const;
  void MarkDirty(int row, int first, int last);
  // Paints the marked cells into the image; the area they cover.
  QRegion PaintDirty();
  GlyphMetrics Metrics() const;
  void RepeatTick();
  void MemoryTick();

  TWinConsole* panel_;
  ConsoleGeometry geometry_;
  QFont font_;
  CellFonts cellFonts_;  // the font in every cell style, for painting
  int w_ = 8, h_ = 16;
  int baseFontSize_ = 14;
  int layoutState_ = 2;
  QImage image_;
  // Per row (1-based) the first and last marked column; first > last when
  // the row is clean.
  std::vector<std::pair<int, int>> dirty_;
  bool anyDirty_ = false;
  bool flushPosted_ = false;
  bool caretShown_ = false;
  int caretCol_ = 1, caretRow_ = 1;
  QTimer repeatTimer_, memoryTimer_;
  KeyButtonBar buttons_;
};

}  // namespace vantu::gui
