#include "gui/save_dialog.h"

#include <QFileDialog>
#include <QRegularExpression>

#include "gui/file_columns.h"
#include "gui/open_dialog.h"

namespace vantu::gui {

namespace {

// "bc3" of "Presupuesto FIEBDC-3 (.bc3) (*.bc3)"; empty without a pattern.
QString SuffixOf(const QString& nameFilter) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("\\*\\.([A-Za-z0-9]+)")).match(nameFilter);
  return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& dir,
                       const std::string& filter) {
  QFileDialog dialog(parent, title, dir);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QString filters = QtFileFilter(filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters.split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(SuffixOf(dialog.nameFilters().first()));
  }
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& f) { dialog.setDefaultSuffix(SuffixOf(f)); });
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Guardar en:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre:"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Guardar"));
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
  dialog.resize(820, 480);
  UseSpanishFileColumns(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace vantu::gui
