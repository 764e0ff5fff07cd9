#include "gui/dialog_consultant.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/dialog_text.h"
#include "gui/settings_store.h"
#include "platform/halt.h"
#include "session/paths.h"
#include "session/shell_state.h"

namespace vantu {

TConsultor::TConsultor(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Nombre del Consultor");
  auto* label = new QLabel("Nombre del Consultor", this);
  edit_ = new QLineEdit(this);
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  edit_->setFont(font);
  edit_->setMaxLength(kMaxName);
  edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QString(kMaxName + 2, 'M')));
  name_ = ReadSettingFile(kSettingsKey, "sConsultor").substr(0, kMaxName);
  edit_->setText(CoreToQt(name_));

  accept_ = new QPushButton("Aceptar", this);
  accept_->setDefault(true);
  clear_ = new QPushButton("Borrar", this);
  clear_->setAutoDefault(false);
  restore_ = new QPushButton("Recuperar", this);
  restore_->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(accept_);
  buttons->addWidget(clear_);
  buttons->addWidget(restore_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(edit_);
  layout->addLayout(buttons);

  // What the console cannot show is mapped or left out as it is typed.
  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& typed) {
    const QString shown = ConsoleDisplayable(typed);
    if (shown == typed) return;
    const int cursor = edit_->cursorPosition() - static_cast<int>(typed.size() - shown.size());
    edit_->setText(shown);
    edit_->setCursorPosition(std::max(cursor, 0));
  });
  connect(accept_, &QPushButton::clicked, this, [this] { OnAccept(); });
  connect(clear_, &QPushButton::clicked, this, [this] { OnClear(); });
  connect(restore_, &QPushButton::clicked, this, [this] { OnRestore(); });
  edit_->setFocus();
}

void TConsultor::OnAccept() {
  name_ = QtToCore(ConsoleDisplayable(edit_->text())).substr(0, kMaxName);
  accepted_ = true;
  accept();
}

void TConsultor::OnClear() {
  undoName_ = edit_->text();
  edit_->clear();
  edit_->setFocus();
}

void TConsultor::OnRestore() {
  if (!undoName_.isEmpty()) edit_->setText(undoName_);
  edit_->setFocus();
}

void AskConsultant(QWidget* parent) {
  TConsultor dialog(parent);
  dialog.exec();
  // Thrown here, outside the dialog's event loop.
  if (!dialog.Accepted()) DoHalt(0);
  Shell().consultantName = dialog.Name();
  WriteSettingFile(kSettingsKey, "sConsultor", dialog.Name());
}

}  // namespace vantu
