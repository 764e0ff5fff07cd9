#pragma once
// TViewForm: the listing viewer, a modal window with a read-only text, a
// search field and a font-size toggle.

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vantu {

// Shows the listing file modally; returns when the viewer is closed. A file
// that cannot be read gets a message box instead of the viewer.
void ShowListing(QWidget* parent, const std::string& fileName);

// The search text, kept between openings of the viewer.
QString& LastSearchText();

class TViewForm : public QDialog {
 public:
  explicit TViewForm(QWidget* parent = nullptr);

  // Loads the listing; false when the file cannot be read.
  bool LoadListing(const QString& path);
  // Window width for the first lines, height from the desktop, centred.
  void FitToDesktop();

  // "Buscar": the next match from the selection, or the not-found notice.
  void Search();
  // "Reducir" / "Ampliar": 8 and 7 points.
  void ToggleFontSize();
  int FontSize() const { return fontSize_; }

  QLineEdit* SearchEdit() const { return edit_; }
  QPlainTextEdit* Text() const { return text_; }
  QPushButton* SizeButton() const { return sizeButton_; }
  // Shows "Texto no encontrado"; replaceable so that tests need no box.
  std::function<void()> notFoundNotice;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void ApplyFont();
  void ShowNotFound();

  QLineEdit* edit_ = nullptr;
  QPushButton* sizeButton_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
  QString plain_;  // the loaded text, searched as shown
  int fontSize_ = 8;
  int lastHit_ = -1;  // position of the last match; -1 = none
};

}  // namespace vantu
