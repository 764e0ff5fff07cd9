#pragma once
// One writer per set. Whoever opens a Rama (with any of its Obras) holds
// the lock of the file "Apr00blq." + Rama in the data directory for as long
// as the set is open: the window program, vantu-cli, korven, on this
// computer or another one sharing the folder. The lock is the system's own
// and vanishes with its holder; the file's text says who holds it, and
// whether the set's files were left open for writing ("estado=abierto")
// by a holder that never closed them: then they need the recovery.

#include <string>
#include <vector>

namespace vantu {

struct SetHolder {
  std::string program, user, computer, since, obra;
  long pid = 0;
  bool leftOpen = false;  // "estado=abierto"
};

enum class SetLockResult { kTaken, kAlreadyOurs, kInUse, kFailed };

struct SetLockAttempt {
  SetLockResult result = SetLockResult::kFailed;
  // kInUse: who holds the set. kTaken: what the file said before, so
  // holder.leftOpen tells a set left open by a holder that died.
  SetHolder holder;
  int error = 0;  // kFailed: the error number
  std::string lockFile;
};

// "Apr00blq." + the Rama's extension as its first file spells it.
std::string SetLockPath(const std::string& dir, const std::string& rama);

// Takes the set's lock without waiting. kAlreadyOurs when this process
// holds it already.
SetLockAttempt TakeSetLock(const std::string& dir, const std::string& rama);
bool HoldsSetLock(const std::string& dir, const std::string& rama);
// What the held set's lock file says (an empty holder when not held).
SetHolder HeldSetHolder(const std::string& dir, const std::string& rama);
// Whether the held set was found left open and not recovered since.
bool HeldSetLeftOpen(const std::string& dir, const std::string& rama);
// The held set's files are about to change: "estado=abierto" (with the
// Obra) is on disk, synced, before anything else is written. True when
// written, or when this process holds no lock on that set.
bool MarkHeldSetOpen(const std::string& dir, const std::string& rama, const std::string& obra);
// The held sets' files are consistent (the normal end of the main loop):
// their release then records "estado=cerrado". The second form: one set,
// after its recovery.
void NoteHeldSetsConsistent();
void NoteHeldSetConsistent(const std::string& dir, const std::string& rama);
// Lets the set go. A set whose files were all closed normally records
// "estado=cerrado"; one left after a failure stays "abierto".
void ReleaseSetLock(const std::string& dir, const std::string& rama, bool closedNormally);
// Releases every held set (program end, leaving the selection).
void ReleaseAllSetLocks(bool closedNormally = false);
void ResetSetLocks();

// The program named in the lock file ("vantu", "vantu-cli", "korven").
void SetLockProgram(const std::string& name);

// The words of a refusal: the set, who holds it, where and since when.
std::vector<std::string> SetInUseLines(const std::string& rama, const SetLockAttempt& attempt);

}  // namespace vantu
