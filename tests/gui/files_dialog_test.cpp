// The file-management dialog over the file groups of a real directory.
#include "gui/files_dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "selection/set_files.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

class FilesDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("vantu-filesdlg-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "datos");
    fs::create_directories(root / "copia");
    for (const char* f : {"Apr01dat.A", "Apr02dat.A", "Apr02ixc.A", "Apr06dat.A01", "Apr06dat.B01"})
      std::ofstream(root / "datos" / f) << f;
  }
  void TearDown() override { fs::remove_all(root); }
  static QStringList Texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
  fs::path root;
};

TEST_F(FilesDialogTest, ShowsTheGroupsAndTheFilesOfTheSelectedOne) {
  SetFiles files((root / "datos").string(), "A");
  FilesDialog dialog(nullptr, " Copiar, etc. Archivos de RAMA : [A] - Edificios", files);
  EXPECT_EQ(dialog.windowTitle(), "Copiar, etc. Archivos de RAMA : [A] - Edificios");
  EXPECT_EQ(Texts(dialog.GroupList()),
            QStringList({"Archivos de la Rama A", "Archivos de todas las Obras de Rama A",
                         "Archivo de la Rama A y de todas sus Obras",
                         "Todos los Archivos del Directorio"}));
  EXPECT_EQ(Texts(dialog.FileList()), QStringList({"Apr01dat.A", "Apr02dat.A", "Apr02ixc.A"}));
  dialog.GroupList()->setCurrentRow(1);
  EXPECT_EQ(Texts(dialog.FileList()), QStringList({"Apr06dat.A01"}));
  EXPECT_EQ(dialog.CopyButton()->text(), "Copiar a...");
  EXPECT_EQ(dialog.MoveButton()->text(), "Mover a...");
  EXPECT_EQ(dialog.DeleteButton()->text(), "Borrar");
  dialog.show();
  EXPECT_FALSE(dialog.grab().isNull());
}

TEST_F(FilesDialogTest, CopyAsksBeforeReplacingAndDeleteAsksFirst) {
  std::ofstream(root / "copia" / "Apr01dat.A") << "viejo";
  SetFiles files((root / "datos").string(), "A");
  FilesDialog dialog(nullptr, "t", files);
  QStringList questions;
  bool answer = false;
  dialog.chooseTarget = [&] { return QString::fromStdString((root / "copia").string()); };
  dialog.ask = [&](const QString& q) {
    questions << q;
    return answer;
  };
  dialog.CopySelected(false);
  EXPECT_EQ(dialog.ReportLabel()->text(), "2 archivos copiados, 1 archivo sin reemplazar");
  ASSERT_EQ(questions.size(), 1);
  EXPECT_TRUE(questions[0].startsWith("Ya existe Apr01dat.A"));
  EXPECT_TRUE(fs::exists(root / "copia" / "Apr02ixc.A"));

  dialog.DeleteSelected();  // answered No
  EXPECT_EQ(dialog.FileList()->count(), 3);
  answer = true;
  dialog.DeleteSelected();
  EXPECT_EQ(dialog.ReportLabel()->text(), "3 archivos borrados");
  EXPECT_EQ(dialog.FileList()->count(), 0);
  EXPECT_FALSE(dialog.DeleteButton()->isEnabled());
  EXPECT_TRUE(fs::exists(root / "datos" / "Apr06dat.A01"));
}

TEST_F(FilesDialogTest, MovingEmptiesTheGroupAndACancelledChoiceDoesNothing) {
  SetFiles files((root / "datos").string(), "B01");
  FilesDialog dialog(nullptr, "t", files);
  dialog.chooseTarget = [] { return QString(); };
  dialog.CopySelected(true);
  EXPECT_EQ(dialog.FileList()->count(), 1);
  dialog.chooseTarget = [&] { return QString::fromStdString((root / "copia").string()); };
  dialog.CopySelected(true);
  EXPECT_EQ(dialog.ReportLabel()->text(), "1 archivo movido");
  EXPECT_EQ(dialog.FileList()->count(), 0);
  EXPECT_TRUE(fs::exists(root / "copia" / "Apr06dat.B01"));
}

}  // namespace
}  // namespace vantu
