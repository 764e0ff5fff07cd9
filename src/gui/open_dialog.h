#pragma once
// The open-file dialog of the core's ChooseFile: Qt's own dialog, in
// Spanish, with the core's filters ("description|pattern;pattern|...").
// In folder mode a folder is chosen by entering it, and a file chosen there
// gives its folder.

#include <QFileDialog>
#include <string>

namespace vantu::gui {

// "A|x;y|B|z" as Qt's "A (x y);;B (z)".
QString QtFileFilter(const std::string& filter);

class OpenDialog : public QFileDialog {
  Q_OBJECT

 public:
  OpenDialog(QWidget* parent, const QString& title, const QString& dir, const std::string& filter,
             bool folderMode);

  // The chosen path after exec(): a file, or in folder mode a folder.
  QString Chosen() const { return chosen_; }

 public slots:
  void accept() override;

 private:
  bool folderMode_;
  QString chosen_;
};

}  // namespace vantu::gui
