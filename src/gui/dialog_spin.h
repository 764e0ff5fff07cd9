#pragma once
// An up-down beside a read-only edit: the value changes only through the
// arrows (or the arrow keys), and may be shown as a name.

#include <QSpinBox>
#include <functional>

namespace vantu {

class ReadOnlySpinBox : public QSpinBox {
 public:
  using Namer = std::function<QString(int)>;

  ReadOnlySpinBox(int minimum, int maximum, QWidget* parent = nullptr, Namer namer = nullptr);

 protected:
  QString textFromValue(int value) const override;
  QValidator::State validate(QString& text, int& pos) const override;
  int valueFromText(const QString& text) const override;

 private:
  Namer namer_;
};

}  // namespace vantu
