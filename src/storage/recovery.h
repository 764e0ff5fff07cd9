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
  kRecoveryInUse = 5,        // another program holds the set: nothing done
};

// Largest record stamp seen by the rebuilds of this run (StampMax).
long double& StampMax();

// Creates the configuration file when missing; otherwise rebuilds the set
// left in use by a run that did not end normally. A set that cannot be
// rebuilt stops the program after its failure window.
void StartupRecoveryCheck();
// Takes the set's lock (kRecoveryInUse when another program holds it),
// checks every file of the set first (present, writable, right record
// length); only then repairs them all. Results 3 and 4 leave every file as
// it was, with the file and reason in LastRecoveryFailure().
int RecoverFileSet(const std::string& directory, const std::string& rama, const std::string& obra);
// The held set was left open by a holder that did not end normally: rebuilds
// it as the start-up recovery does and says so; a set that cannot be
// rebuilt stops the program after its failure window.
void RecoverIfLeftOpen(const std::string& directory, const std::string& rama);
// Repairs file n from its data records: cuts a partial trailing record
// into a side file, rebuilds the free chain from the status words and, for
// files 2, 3, 4 and 6, the index (dropping malformed and duplicate codes);
// then rewrites the header's marker, serial and counter.
void RebuildFile(int n, int recordLength, const std::string& ext);
// The same for one file repaired alone when it is opened: the file keeps its
// own set serial, so that it still matches the other files of its set.
void RebuildFileKeepingSerial(int n, int recordLength, const std::string& ext);
// Shows, through RecoveryUi::report, what the repairs since the last report
// took away or changed beyond their rebuild; nothing when they did not.
void ShowRepairReport();
// Takes the set serial of the Rama's file 1 for the following rebuilds.
void LoadRecoverySerial(const std::string& ramaExt);

// Which file stopped the last recovery before it wrote anything, and why
// (results 3, 4 and 5: then the lock file and who holds it); empty after a
// recovery that finished.
struct RecoveryFailure {
  std::string file;
  std::string reason;
  std::vector<std::string> inUse;  // result 5: the words of the refusal
};
const RecoveryFailure& LastRecoveryFailure();

// The screens of the recovery; filled by the window toolkit.
struct RecoveryUi {
  void (*openProgress)() = nullptr;
  void (*stepProgress)() = nullptr;
  void (*closeProgress)() = nullptr;
  // Shows the lines with the button "Esc^salir", beeps and waits for a key.
  void (*failure)(const std::vector<std::string>& lines) = nullptr;
  // A one-line notice for the status line, such as an index rebuilt at open.
  void (*notice)(const std::string& text) = nullptr;
  // What a repair took away or changed beyond its rebuild, one line each
  // (records set aside, kept, or lost to a cut); shown and acknowledged.
  void (*report)(const std::vector<std::string>& lines) = nullptr;
  // Asks whether to regenerate a file that the opening check found damaged
  // (file name, reason); without it the file is regenerated.
  bool (*offerRepair)(const std::string& file, const std::string& reason) = nullptr;
};
RecoveryUi& RecoveryScreens();
// Forgets the screens and the stamps of the last recovery.
void ResetRecovery();

}  // namespace vantu
