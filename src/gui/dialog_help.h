#pragma once
// THelpGeneral: the general instructions shown from the selection screen.

class QWidget;

namespace vantu {

// Shows the instructions modally.
void ShowGeneralHelp(QWidget* parent);

}  // namespace vantu
