#pragma once
// The help screens: the general keys and mouse screens (Ctrl+F1 switches
// between them) and the " COMANDOS ESPECIFICOS " windows of the lists.

namespace vantu {

void ShowGeneralKeysHelp();
void ShowGeneralMouseHelp();
void ShowListKeysHelp();
void ShowSearchKeysHelp();

}  // namespace vantu
