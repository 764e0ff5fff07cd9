#pragma once
// TPrefForm: the preferences dialog of command B.

class QWidget;

namespace vantu {

// Shows the dialog modally over the current preferences. "Aceptar" applies,
// saves and returns true; "Cancelar" and "X" return false and change nothing.
bool EditPreferences(QWidget* parent);

}  // namespace vantu
