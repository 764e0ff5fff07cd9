#pragma once
// TViewForm: the listing viewer, a modal window with a read-only text, a
// search field and a font-size toggle.

#include <string>

class QWidget;

namespace vantu {

// Shows the listing file modally; returns when the viewer is closed. A file
// that cannot be read gets a message box instead of the viewer.
void ShowListing(QWidget* parent, const std::string& fileName);

}  // namespace vantu
