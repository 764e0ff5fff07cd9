#pragma once
// The chart editor of command N and its help and progress windows.

#include <cstdint>

namespace vantu {

// Edits the loaded schedule until Esc.
void EditSchedule();

// The help screens " COMANDOS PROGRAMACION " (keys) and " COMANDOS
// PROGRAMACION (MOUSE) "; Ctrl+F1 switches between them, Esc leaves.
void ShowScheduleHelp();

// The progress window " AVANCE DE OBRA POR PERIODO Y ACUMULADA  (GRAFICO) "
// over the computed period table; returns the period the user chose, or 0.
int ShowProgressWindow();
// Its help screen " COMANDOS EJECUCION OBRA ".
void ShowProgressHelp();

}  // namespace vantu
