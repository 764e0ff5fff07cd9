// The file dialogs' detail columns: Spanish dates and types whatever the
// system's locale, and a filter offered as the core gives it.
#include "gui/file_columns.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QTranslator>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "gui/open_dialog.h"

namespace vantu::gui {
namespace {

namespace fs = std::filesystem;

// The rows the dialog's detail view shows once its folder is read.
QAbstractItemModel* LoadedView(QFileDialog& dialog, QModelIndex& root) {
  QTreeView* view = nullptr;
  for (QTreeView* v : dialog.findChildren<QTreeView*>())
    if (v->isVisible()) view = v;
  if (!view) return nullptr;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 5000) {
    QApplication::processEvents();
    root = view->rootIndex();
    if (view->model()->rowCount(root) > 0) return view->model();
  }
  return nullptr;
}

TEST(FileColumnsTest, TheOpenDialogWritesDatesTheSpanishWay) {
  const fs::path dir = fs::temp_directory_path() / ("vantu-cols-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "Obras");
  const fs::path file = dir / "Apr01dat.A";
  std::ofstream(file) << "x";
  QFile handle(QString::fromStdString(file.string()));
  ASSERT_TRUE(handle.open(QIODevice::ReadWrite));
  const QDateTime when(QDate(2024, 3, 5), QTime(14, 30));
  ASSERT_TRUE(handle.setFileTime(when, QFileDevice::FileModificationTime));
  handle.close();

  OpenDialog dialog(nullptr, "Seleccionar Directorio", QString::fromStdString(dir.string()),
                    "Subdirectorios y Ramas|Apr01dat.?", true);
  dialog.show();
  QModelIndex root;
  QAbstractItemModel* model = LoadedView(dialog, root);
  ASSERT_NE(model, nullptr);
  QModelIndex fileRow, folderRow;
  QElapsedTimer clock;
  clock.start();
  while ((!fileRow.isValid() || !folderRow.isValid()) && clock.elapsed() < 5000) {
    QApplication::processEvents();
    for (int r = 0; r < model->rowCount(root); ++r) {
      const QString name = model->index(r, 0, root).data().toString();
      if (name == "Apr01dat.A") fileRow = model->index(r, 0, root);
      if (name == "Obras") folderRow = model->index(r, 0, root);
    }
  }
  ASSERT_TRUE(fileRow.isValid() && folderRow.isValid());
  EXPECT_EQ(fileRow.siblingAtColumn(3).data().toString(), "05/03/2024 14:30");
  EXPECT_EQ(fileRow.siblingAtColumn(2).data().toString(), "Archivo");
  EXPECT_EQ(folderRow.siblingAtColumn(2).data().toString(), "Carpeta");
  EXPECT_EQ(dialog.nameFilters(), QStringList({"Subdirectorios y Ramas (Apr01dat.?)"}));
  dialog.close();
  fs::remove_all(dir);
}

// Under Qt's Spanish translations the open dialog (Abrir, Importar) names
// files as the rest of the program does: "archivo", never "fichero".
TEST(FileColumnsTest, TheOpenDialogSaysArchivo) {
  QTranslator qt;
  ASSERT_TRUE(
      qt.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
  QApplication::installTranslator(&qt);
  {
    OpenDialog dialog(nullptr, "Importar", QString::fromStdString(fs::temp_directory_path()),
                      "Presupuesto FIEBDC-3|*.bc3", false);
    dialog.show();
    QApplication::processEvents();
    QStringList texts;
    for (QLabel* l : dialog.findChildren<QLabel*>()) texts << l->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Nombre de archivo:")))
        << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Tipo de archivo:")))
        << texts.join('|').toStdString();
    for (const QString& t : texts)
      EXPECT_FALSE(t.contains(QStringLiteral("ichero"))) << t.toStdString();
    dialog.close();
  }
  QApplication::removeTranslator(&qt);
}

}  // namespace
}  // namespace vantu::gui
