#pragma once
// Opening and closing the Rama and Obra of the selection screen, and the
// steps that end it. Files created for a Rama or Obra typed on the screen
// stay pending until the selection is accepted; a pending set left for
// another one, or for the program's end, is removed again.

#include <string>

namespace vantu::selection {

// The Rama code in the selection changed: closes the previous Rama's area 1
// (and the Obra), opens area 1 for the new code.
void OpenRama();
// Makes area 6 match the selection's Rama and Obra codes.
void OpenObra();
// Closes areas 1-6 and clears both codes; pending new files are removed.
void CloseSelection();
// A new data directory: closes the open set when it differs, stores it as
// "sProyDir" and enters it. False when the directory is too long to keep.
bool ChangeDataDirectory(const std::string& directory);
// Steps after the last field: areas 2-5, the consistency check, the new
// Rama's general data, flushing, the in-use marker and the title line.
void FinishSelection();
// The exit question; on yes closes, clears the in-use marker and stops.
void AskExitProgram();

// Forgets the Rama and Obra created in this run and not yet kept.
void ResetPendingSets();

}  // namespace vantu::selection
