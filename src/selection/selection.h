#pragma once
// Command A: the choice of the data directory, the Rama and the Obra, with
// the maintenance of the sets found there (file management and
// regeneration). When the screen ends, the Rama's files 1-5 and the Obra's
// file 6 are open in their work areas and the set is marked in use.

namespace vantu {

// Runs the " SELECCION INICIAL " screen until the user accepts a Rama (or
// the program stops). At start-up (the shell's OpeningWork) it first runs
// the automatic recovery and starts at the Rama field.
void SelectRamaObra();
// F2: the file dialog for the groups of files of the selected list entry.
void ManageSetFiles();
// F3: rebuilds the indexes of the selected list entry.
void RegenerateSet();
// Files 1-5 of a Rama must carry equal set serials; otherwise the set was
// badly copied and the program stops after its window.
void CheckSetConsistency();

// The start-up hooks and the command letter 'A'.

}  // namespace vantu
