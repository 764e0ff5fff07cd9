#pragma once
// TConsultor: asks for the consultant's name at start when none is stored.

class QWidget;

namespace vantu {

// Shows the dialog modally with the stored "sConsultor". "Aceptar" keeps the
// name (Shell().consultantName and the settings file); closing the dialog in
// any other way ends the program by throwing Halt once the dialog is gone.
void AskConsultant(QWidget* parent);

}  // namespace vantu
