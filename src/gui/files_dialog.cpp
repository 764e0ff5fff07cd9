#include "gui/files_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_text.h"

namespace vantu {

namespace {

bool AskYesNo(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QStringLiteral("Archivos"), text,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

FilesDialog::FilesDialog(QWidget* parent, const QString& title, FileGroups& groups)
    : QDialog(parent), model_(groups) {
  setWindowTitle(title.trimmed());
  groups_ = new QListWidget(this);
  for (int g = 0; g < model_.Count(); ++g) groups_->addItem(CoreToQt(model_.Name(g)));
  files_ = new QListWidget(this);
  files_->setSelectionMode(QAbstractItemView::NoSelection);
  report_ = new QLabel(this);
  report_->setWordWrap(true);
  copy_ = new QPushButton(QStringLiteral("Copiar a..."), this);
  move_ = new QPushButton(QStringLiteral("Mover a..."), this);
  delete_ = new QPushButton(QStringLiteral("Borrar"), this);
  auto* close = new QPushButton(QStringLiteral("Cerrar"), this);

  auto* lists = new QHBoxLayout;
  lists->addWidget(groups_, 1);
  lists->addWidget(files_, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {copy_, move_, delete_}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(QStringLiteral("Directorio: ") + CoreToQt(model_.Directory()), this));
  layout->addLayout(lists);
  layout->addWidget(report_);
  layout->addLayout(buttons);
  resize(720, 360);

  chooseTarget = [this] {
    return QFileDialog::getExistingDirectory(
        this, QStringLiteral("Directorio destino"), CoreToQt(model_.Directory()),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  };
  ask = [this](const QString& text) { return AskYesNo(this, text); };
  connect(groups_, &QListWidget::currentRowChanged, this, [this] { ShowFiles(); });
  connect(copy_, &QPushButton::clicked, this, [this] { CopySelected(false); });
  connect(move_, &QPushButton::clicked, this, [this] { CopySelected(true); });
  connect(delete_, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  groups_->setCurrentRow(0);
}

int FilesDialog::Group() const {
  return groups_->currentRow();
}

void FilesDialog::ShowFiles() {
  files_->clear();
  const auto names = model_.Files(Group());
  for (const std::string& n : names) files_->addItem(CoreToQt(n));
  const bool any = !names.empty();
  for (QPushButton* b : {copy_, move_, delete_}) b->setEnabled(any);
}

void FilesDialog::CopySelected(bool move) {
  if (model_.Files(Group()).empty()) return;
  const QString target = chooseTarget ? chooseTarget() : QString();
  if (target.isEmpty()) return;
  const std::string report =
      model_.CopyTo(Group(), QtToCore(target), move, [this](const std::string& name) {
        return ask(QStringLiteral("Ya existe ") + CoreToQt(name) +
                   QStringLiteral(" en el destino.\nDesea reemplazarlo ?"));
      });
  report_->setText(CoreToQt(report));
  ShowFiles();
}

void FilesDialog::DeleteSelected() {
  const auto names = model_.Files(Group());
  if (names.empty()) return;
  const QString question = QStringLiteral("Desea borrar los %1 archivos de\n%2 ?")
                               .arg(names.size())
                               .arg(groups_->currentItem()->text());
  if (!ask(question)) return;
  report_->setText(CoreToQt(model_.Delete(Group())));
  ShowFiles();
}

void ManageFilesDialog(QWidget* parent, const std::string& title, FileGroups& groups) {
  FilesDialog dialog(parent, CoreToQt(title), groups);
  dialog.exec();
}

}  // namespace vantu
