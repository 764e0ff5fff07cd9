#pragma once
// TWinConsole: the panel that holds the console grid and, below it, the two
// rows of key buttons. It sizes itself to whole cells of its font.

#include <QWidget>

namespace vantu::gui {

class TConsole;

// Whole cells in `pixels`; a remainder above half a cell counts as one more.
int RoundToCells(int pixels, int cell);

class TWinConsole : public QWidget {
  Q_OBJECT

 public:
  // Takes the parent's size, and the grid size that fits in it.
  explicit TWinConsole(QWidget* parent);

  int NCol() const { return nCol_; }
  int NRow() const { return nRow_; }
  int LineGap() const { return lineGap_; }
  int NBtnRow() const { return nBtnRow_; }
  // Values out of range (above 1000, or above 10 for the gap) are ignored.
  void SetNCol(int n);
  void SetNRow(int n);
  void SetLineGap(int gap);
  void SetNBtnRow(int n);
  // Rows of the key-button area: round(NBtnRow x 1.51).
  int ButtonAreaRows() const;

  // New bounds: width and height snap to whole cells, NCol and NRow follow.
  void SetBounds(const QRect& r);
  // A new font: NCol and NRow are applied again.
  void ApplyFont(const QFont& font);

  int CellWidth() const;
  int CellHeight() const;

  TConsole* Console() const { return console_; }
  void AttachConsole(TConsole* console) { console_ = console; }

  QSize sizeHint() const override { return size(); }
  QSize minimumSizeHint() const override { return size(); }

 private:
  int nCol_ = 0, nRow_ = 0, lineGap_ = 0, nBtnRow_ = 0;
  TConsole* console_ = nullptr;
};

}  // namespace vantu::gui
