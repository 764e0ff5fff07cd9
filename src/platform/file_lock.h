#pragma once
// An exclusive advisory lock on a whole file, held for as long as the lock
// object keeps the file open. The system drops it when the holder ends,
// however it ends, and file servers (NFS, SMB) honour it across computers.
// The file's bytes are the holder's to write: who holds it, and since when.

#include <cstddef>
#include <string>

namespace vantu {

class FileLock {
 public:
  enum class Result { kTaken, kHeldElsewhere, kFailed };

  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { Release(); }

  // Creates the file when missing and takes its lock without waiting.
  // kFailed leaves the error number in Error().
  Result TryTake(const std::string& path);
  void Release();
  bool Taken() const { return handle_ >= 0; }
  int Error() const { return error_; }

  // The whole file, as held: replaced by `text` (padded with blanks to the
  // size it had, so that a shorter text never leaves a half old one), and
  // synced when asked. 0 or the error number.
  int Write(const std::string& text, bool sync);

 private:
  long long handle_ = -1;
  int error_ = 0;
};

// Whether someone holds the lock of `path` now, without taking it.
bool FileLockHeldElsewhere(const std::string& path);
// The file's text, read without any lock; "" when it cannot be read.
std::string ReadLockFileText(const std::string& path, size_t limit = 4096);

// Whether a process of this computer with that id is running.
bool ProcessRunning(long pid);

// Who this process is, for the lock file and messages.
std::string CurrentUserName();
std::string CurrentComputerName();
long CurrentProcessId();

}  // namespace vantu
