#pragma once
// The Spanish save dialog: a file to be written, of one of the filter's
// types. The chosen type's extension is added to a name typed without one,
// and replacing an existing file is confirmed.

#include <QString>
#include <string>

class QWidget;

namespace vantu::gui {

// The chosen path, or an empty string when cancelled.
QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& dir,
                       const std::string& filter);

}  // namespace vantu::gui
