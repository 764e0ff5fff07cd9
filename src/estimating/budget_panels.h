#pragma once
// The two buttons of the budget item screen ("<Por definir>" / "Tecla: F8"
// and "Explicacion" / "Tecla: CtrlF12") and the explanation window that
// the second one opens.

#include <string>
#include <vector>

namespace vantu {

// Draws the buttons and adds their click zones to the field zones (table
// 8, filled first), or blanks them.
void ShowItemButtons(bool shown);

// The fixed text of the explanation window.
const std::vector<std::string>& PorDefinirExplanation();

// "EXPLICACION BOTON <POR DEFINIR>" until Esc; Ctrl+F1 shows the keys help.
void ShowPorDefinirExplanation();

}  // namespace vantu
