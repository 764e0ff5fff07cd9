#pragma once
// TConsultor: asks for the consultant's name at start when none is stored.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace vantu {

// Shows the dialog modally with the stored "sConsultor". "Aceptar" keeps the
// name (Shell().consultantName and the settings file); closing the dialog in
// any other way ends the program by throwing Halt once the dialog is gone.
void AskConsultant(QWidget* parent);

class TConsultor : public QDialog {
 public:
  static constexpr int kMaxName = 35;

  explicit TConsultor(QWidget* parent = nullptr);

  bool Accepted() const { return accepted_; }
  // The accepted name, Windows-1252 bytes.
  std::string Name() const { return name_; }

  QLineEdit* NameEdit() const { return edit_; }
  QPushButton* AcceptButton() const { return accept_; }
  QPushButton* ClearButton() const { return clear_; }
  QPushButton* RestoreButton() const { return restore_; }

 private:
  void OnAccept();
  void OnClear();
  void OnRestore();

  QLineEdit* edit_ = nullptr;
  QPushButton* accept_ = nullptr;
  QPushButton* clear_ = nullptr;
  QPushButton* restore_ = nullptr;
  std::string name_;
  QString undoName_;
  bool accepted_ = false;
};

}  // namespace vantu
