#include "gui/dialog_spin.h"

#include <QLineEdit>

namespace vantu {

ReadOnlySpinBox::ReadOnlySpinBox(int minimum, int maximum, QWidget* parent, Namer namer)
    : QSpinBox(parent), namer_(std::move(namer)) {
  setRange(minimum, maximum);
  lineEdit()->setReadOnly(true);
}

QString ReadOnlySpinBox::textFromValue(int value) const {
  return namer_ ? namer_(value) : QSpinBox::textFromValue(value);
}

QValidator::State ReadOnlySpinBox::validate(QString& text, int& pos) const {
  if (!namer_) return QSpinBox::validate(text, pos);
  return text == namer_(value()) ? QValidator::Acceptable : QValidator::Invalid;
}

int ReadOnlySpinBox::valueFromText(const QString& text) const {
  if (!namer_) return QSpinBox::valueFromText(text);
  for (int v = minimum(); v <= maximum(); ++v)
    if (namer_(v) == text) return v;
  return value();
}

}  // namespace vantu
