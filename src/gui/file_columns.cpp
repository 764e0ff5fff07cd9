#include "gui/file_columns.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>

namespace vantu::gui {

namespace {

constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

}  // namespace

QVariant SpanishDateColumn::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (role != Qt::DisplayRole || !files) return QIdentityProxyModel::data(index, role);
  if (index.column() == kDateColumn) {
    const QDateTime when = files->lastModified(mapToSource(index));
    if (when.isValid()) return when.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
  }
  // The data files' endings are Rama letters, which the system's file types
  // would read as other kinds of file (".A" as a library archive).
  if (index.column() == kTypeColumn)
    return files->isDir(mapToSource(index)) ? QStringLiteral("Carpeta") : QStringLiteral("Archivo");
  return QIdentityProxyModel::data(index, role);
}

void UseSpanishFileColumns(QFileDialog& dialog) {
  dialog.setProxyModel(new SpanishDateColumn(&dialog));
  for (QTreeView* view : dialog.findChildren<QTreeView*>()) {
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
  }
}

}  // namespace vantu::gui
