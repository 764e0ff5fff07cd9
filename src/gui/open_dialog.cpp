#include "gui/open_dialog.h"

#include <QFileInfo>

#include "gui/dialog_text.h"
#include "gui/file_columns.h"

namespace vantu::gui {

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = CoreToQt(filter).split(QChar('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2)
    filters << parts[i] + QStringLiteral(" (") +
                   QString(parts[i + 1]).replace(QChar(';'), QChar(' ')) + QStringLiteral(")");
  return filters.join(QStringLiteral(";;"));
}

OpenDialog::OpenDialog(QWidget* parent, const QString& title, const QString& dir,
                       const std::string& filter, bool folderMode)
    : QFileDialog(parent, title, dir), folderMode_(folderMode) {
  setOption(QFileDialog::DontUseNativeDialog);
  setViewMode(QFileDialog::Detail);
  if (folderMode_) {
    // Folders and the files of the filter both show; the filter is set
    // after the mode, which would otherwise offer only "Directories".
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, false);
  } else {
    setFileMode(QFileDialog::ExistingFile);
  }
  const QString filters = QtFileFilter(filter);
  if (!filters.isEmpty()) setNameFilters(filters.split(QStringLiteral(";;")));
  // Qt's Spanish says "fichero"; the program says "archivo".
  setLabelText(QFileDialog::FileName, QStringLiteral("Nombre de archivo:"));
  setLabelText(QFileDialog::FileType, QStringLiteral("Tipo de archivo:"));
  setLabelText(QFileDialog::Accept, QStringLiteral("Abrir"));
  setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
  // Room for the name, size, type and date columns.
  resize(820, 480);
  UseSpanishFileColumns(*this);
}

void OpenDialog::accept() {
  const QStringList files = selectedFiles();
  const QFileInfo info(files.isEmpty() ? directory().absolutePath() : files.first());
  if (folderMode_ && info.isFile()) {
    // A file of the folder (a Rama) was picked: the folder is the choice.
    chosen_ = info.absolutePath();
    QDialog::accept();
    return;
  }
  QFileDialog::accept();
  if (result() == QDialog::Accepted)
    chosen_ = selectedFiles().isEmpty() ? QString() : selectedFiles().first();
}

}  // namespace vantu::gui
