#pragma once
// Automatic recovery after an abnormal end, and the regeneration of a
// Rama's and Obra's indexes from their data files.

#include <string>
#include <vector>

namespace vantu {

enum RecoveryResult {
  kRecoveryNoDirectory = 0,  // the directory could not be entered
  kRecoveryRamaAndObra = 1,
  kRecoveryRamaOnly = 2,
  kRecoveryRamaMissing = 3,  // a Rama file is missing
  kRecoveryObraMissing = 4,  // the Obra file is missing
};

// Largest record stamp seen by the rebuilds of this run (StampMax).
long double& StampMax();

// Creates the configuration file when missing; otherwise rebuilds the set
// left in use by a run that did not end normally. A set that cannot be
// rebuilt stops the program after its failure window.
void StartupRecoveryCheck();
int RecoverFileSet(const std::string& directory, const std::string& rama,
                   const std::string& obra);
// Rebuilds the index of file n (2, 3, 4, 6) from its data file, dropping
// malformed and duplicate codes, and rewrites the header of file n.
void RebuildFile(int n, int recordLength, const std::string& ext);
// Takes the set serial of the Rama's file 1 for the following rebuilds.
void LoadRecoverySerial(const std::string& ramaExt);

// The screens of the recovery; filled by the window toolkit.
struct RecoveryUi {
  void (*openProgress)() = nullptr;
  void (*stepProgress)() = nullptr;
  void (*closeProgress)() = nullptr;
  // Shows the lines with the button "Esc^salir", beeps and waits for a key.
  void (*failure)(const std::vector<std::string>& lines) = nullptr;
  // A one-line notice for the status line, such as an index rebuilt at open.
  void (*notice)(const std::string& text) = nullptr;
};
RecoveryUi& RecoveryScreens();
// Forgets the screens and the stamps of the last recovery.
void ResetRecovery();

}  // namespace vantu
