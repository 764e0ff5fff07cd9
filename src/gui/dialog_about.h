#pragma once
// TAboutBox: the "Acerca de" dialog of the Ayuda menu.

class QWidget;

namespace vantu {

// Shows the about box modally.
void ShowAboutBox(QWidget* parent);

}  // namespace vantu
