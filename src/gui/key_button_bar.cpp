#include "gui/key_button_bar.h"

#include "console/key_buttons.h"
#include "gui/dialog_text.h"

namespace vantu::gui {

namespace {

// Caption colours of key-button rows 1 (black) and 2 (maroon).
const QColor kRowColour[3] = {QColor(0, 0, 0), QColor(0, 0, 0), QColor(0x80, 0, 0)};

QPushButton* MakeButton(QWidget* parent, const std::string& caption, const std::string& hint,
                        uint8_t code, QFont font, const QColor& colour) {
  auto* b = new QPushButton(CoreToQt(caption), parent);
  b->setFont(font);
  b->setToolTip(CoreToQt(hint));
  b->setFocusPolicy(Qt::NoFocus);
  QPalette pal = b->palette();
  pal.setColor(QPalette::ButtonText, colour);
  b->setPalette(pal);
  QObject::connect(b, &QPushButton::clicked, [code] { PressButtonCode(code); });
  return b;
}

}  // namespace

int ButtonPointSize(const QFont& font) {
  return std::max(font.pointSize() * 9 / 12, 1);
}

void KeyButtonBar::Clear(int row) {
  for (auto& b : rows_[row])
    if (b) {
      b->hide();
      b->deleteLater();
    }
  rows_[row].clear();
}

void KeyButtonBar::Rebuild(int row, const QFont& font) {
  if (row < 0 || row > 2) return;
  Clear(row);
  if (row == 0)
    BuildFree(font);
  else
    BuildKeyRow(row, font);
}

void KeyButtonBar::BuildKeyRow(int row, const QFont& consoleFont) {
  const KeyButtonRow& model = Buttons().rows[row - 1];
  if (!model.shown) return;
  QFont f = consoleFont;
  f.setBold(false);
  f.setItalic(false);
  f.setPointSize(ButtonPointSize(consoleFont));
  for (const KeyButton& k : model.buttons) {
    QPushButton* b = MakeButton(panel_, k.caption, k.hint, k.code, f, kRowColour[row]);
    b->setGeometry(k.left, k.top, k.width, k.height);
    b->show();
    rows_[row].push_back(b);
  }
}

void KeyButtonBar::BuildFree(const QFont& consoleFont) {
  for (const FreeButtonSlot& s : Buttons().free) {
    if (!s.used) {
      rows_[0].push_back(nullptr);
      continue;
    }
    QFont f = consoleFont;
    f.setBold(s.bold);
    f.setPointSize(ButtonPointSize(consoleFont));
    QPushButton* b = MakeButton(console_, s.caption, s.hint, s.code, f, Qt::black);
    b->setGeometry(s.left, s.top, s.width, s.height);
    b->setEnabled(s.enabled);
    b->setVisible(s.visible);
    rows_[0].push_back(b);
  }
}

}  // namespace vantu::gui
