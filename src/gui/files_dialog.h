#pragma once
// The file-management dialog of the selection screen (F2): the file groups
// of one Rama or Obra, each with its files, and the buttons that copy or
// move a group to another directory or delete it. Nothing is replaced or
// deleted without asking.

#include <QDialog>
#include <functional>

#include "platform/platform.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace vantu {

// Shows the dialog modally over `parent`.
void ManageFilesDialog(QWidget* parent, const std::string& title, FileGroups& groups);

class FilesDialog : public QDialog {
 public:
  FilesDialog(QWidget* parent, const QString& title, FileGroups& groups);

  // The directory a group goes to (empty: cancelled) and the yes/no
  // questions; dialogs by default, replaced by tests.
  std::function<QString()> chooseTarget;
  std::function<bool(const QString& text)> ask;

  QListWidget* GroupList() const { return groups_; }
  QListWidget* FileList() const { return files_; }
  QLabel* ReportLabel() const { return report_; }
  QPushButton* CopyButton() const { return copy_; }
  QPushButton* MoveButton() const { return move_; }
  QPushButton* DeleteButton() const { return delete_; }

  // The actions of the buttons on the selected group.
  void CopySelected(bool move);
  void DeleteSelected();

 private:
  void ShowFiles();
  int Group() const;

  FileGroups& model_;
  QListWidget* groups_ = nullptr;
  QListWidget* files_ = nullptr;
  QLabel* report_ = nullptr;
  QPushButton* copy_ = nullptr;
  QPushButton* move_ = nullptr;
  QPushButton* delete_ = nullptr;
};

}  // namespace vantu
