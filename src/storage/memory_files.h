#pragma once
// Files kept in memory, for tests and the fuzzer. Faults can be injected:
// - the n-th read or write from now fails;
// - a full disk: from the n-th write on, bytes that would grow a file do
//   not fit (the first such write stores half of them) and the write fails
//   with ENOSPC until space is freed; bytes inside a file's present size
//   are still written, as on a real disk, where overwriting takes no space;
// - a stop at the n-th write: the files as they stood just before that
//   write (a killed program: everything written so far reached the
//   operating system) or as they stood at their last Sync (a power cut:
//   unsynced data is lost) are kept aside, while the running session goes
//   on unaware; RestoreStopImage() then puts that image back, as the next
//   start of the program would find it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "storage/file_io.h"

namespace vantu {

class MemoryFiles : public StorageFiles {
 public:
  using Bytes = std::vector<uint8_t>;
  using Image = std::map<std::string, Bytes>;

  enum class StopKind { kKill, kPowerCut };

  // File contents by name; tests read and damage them directly.
  Image& Contents() { return files_; }
  bool Exists(const std::string& name) override { return files_.count(name) != 0; }
  int OpenHandles() const { return static_cast<int>(handles_.size()); }

  // Opening or creating the named file fails with err (EACCES: read-only).
  void RefuseOpen(const std::string& name, int err) { refused_[name] = err; }
  // The n-th read (or write) from now fails with err (n = 1: the next one).
  void FailRead(int n, int err = 5) { failRead_ = n, readErr_ = err; }
  void FailWrite(int n, int err = 28) { failWrite_ = n, writeErr_ = err; }
  // Writes stop after this many bytes in total (a full disk); -1 = never.
  void LimitWrites(int64_t bytes) { writeBudget_ = bytes; }
  // The disk is full from the n-th write from now on. FreeSpace() ends it.
  void FillDiskAtWrite(int n) { diskFullAt_ = n, firstFullWrite_ = 0; }
  void FreeSpace() { diskFullAt_ = 0, diskFull_ = false, spareBytes_ = -1, writeBudget_ = -1; }
  // Writes() count at the first write the full disk refused; 0 if none.
  int FirstFullWrite() const { return firstFullWrite_; }
  // Keeps the image a stop before the n-th write from now would leave.
  void StopAtWrite(int n, StopKind kind) { stopAt_ = n, stopKind_ = kind, stopImage_.reset(); }
  bool Stopped() const { return stopImage_.has_value(); }
  // Puts the stop image back and forgets every handle (the program ended).
  void RestoreStopImage();
  // Forgets every handle, as the end of a program that stopped with files
  // open does; the contents stay.
  void ForgetHandles() { handles_.clear(); }
  int Reads() const { return reads_; }
  int Writes() const { return writes_; }

  int Create(const std::string& name, int& handle) override;
  int Open(const std::string& name, int& handle) override;
  int Close(int handle) override;
  int ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) override;
  int WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) override;
  int Size(int handle, int64_t& size) override;
  int Truncate(int handle, int64_t size) override;
  int Sync(int handle) override;

 private:
  Bytes* FileOf(int handle);
  const std::string* NameOf(int handle) const;
  bool IsOpen(const std::string& name) const;
  void TakeStopImage();
  static bool Due(int& countdown);

  Image files_;
  Image synced_;  // contents at the last Sync of each file
  std::map<int, std::string> handles_;
  std::map<std::string, int> refused_;
  int nextHandle_ = 3;
  int failRead_ = 0, readErr_ = 0;
  int failWrite_ = 0, writeErr_ = 0;
  int64_t writeBudget_ = -1;
  int diskFullAt_ = 0;
  bool diskFull_ = false;
  int64_t spareBytes_ = -1;  // room left on a full disk (-1: not yet full)
  int firstFullWrite_ = 0;
  int stopAt_ = 0;
  StopKind stopKind_ = StopKind::kKill;
  std::optional<Image> stopImage_;
  int reads_ = 0, writes_ = 0;
};

}  // namespace vantu
