#pragma once
// The key-button rows under the grid and the free-standing buttons on the
// console, shown as push buttons from the console's button model.

#include <QFont>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <vector>

namespace vantu::gui {

class KeyButtonBar {
 public:
  // Key-button rows go on `panel`, free-standing buttons on `console`.
  KeyButtonBar(QWidget* panel, QWidget* console) : panel_(panel), console_(console) {}

  // Rebuilds key-button row 1 or 2, or the free-standing buttons (row 0),
  // from the model, with `font` as the console font.
  void Rebuild(int row, const QFont& font);

  const std::vector<QPointer<QPushButton>>& Row(int row) const { return rows_[row]; }

 private:
  void Clear(int row);
  void BuildKeyRow(int row, const QFont& font);
  void BuildFree(const QFont& font);

  QWidget* panel_;
  QWidget* console_;
  std::array<std::vector<QPointer<QPushButton>>, 3> rows_;  // 0 free, 1 and 2 key rows
};

// 9/12 of a font's size, as the buttons use it.
int ButtonPointSize(const QFont& font);

}  // namespace vantu::gui
