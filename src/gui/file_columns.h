#pragma once
// The detail columns of the file dialogs: dates written the Spanish way
// (dd/mm/aaaa hh:mm) whatever the system's locale, types as "Carpeta" or
// "Archivo", and the size, type and date columns as wide as their
// contents, so that nothing is clipped.

#include <QFileDialog>
#include <QIdentityProxyModel>

namespace vantu::gui {

class SpanishDateColumn : public QIdentityProxyModel {
  Q_OBJECT

 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override;
};

// Installs the date column and the column widths on a non-native dialog.
void UseSpanishFileColumns(QFileDialog& dialog);

}  // namespace vantu::gui
