#pragma once
// Files kept in memory, for tests and the fuzzer. The n-th read or write
// from now can be made to fail, so that error paths can be exercised.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "storage/file_io.h"

namespace vantu {

class MemoryFiles : public StorageFiles {
 public:
  using Bytes = std::vector<uint8_t>;

  // File contents by name; tests read and damage them directly.
  std::map<std::string, Bytes>& Contents() { return files_; }
  bool Exists(const std::string& name) const { return files_.count(name) != 0; }
  int OpenHandles() const { return static_cast<int>(handles_.size()); }

  // The n-th read (or write) from now fails with err (n = 1: the next one).
  void FailRead(int n, int err = 5) { failRead_ = n, readErr_ = err; }
  void FailWrite(int n, int err = 28) { failWrite_ = n, writeErr_ = err; }
  // Writes stop after this many bytes in total (a full disk); -1 = never.
  void LimitWrites(int64_t bytes) { writeBudget_ = bytes; }
  int Reads() const { return reads_; }
  int Writes() const { return writes_; }

  int Create(const std::string& name, int& handle) override;
  int Open(const std::string& name, int& handle) override;
  int Close(int handle) override;
  int ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) override;
  int WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) override;
  int Size(int handle, int64_t& size) override;
  int Sync(int handle) override { return handles_.count(handle) ? 0 : 9; }

 private:
  Bytes* FileOf(int handle);
  static bool Due(int& countdown);

  std::map<std::string, Bytes> files_;
  std::map<int, std::string> handles_;
  int nextHandle_ = 3;
  int failRead_ = 0, readErr_ = 0;
  int failWrite_ = 0, writeErr_ = 0;
  int64_t writeBudget_ = -1;
  int reads_ = 0, writes_ = 0;
};

}  // namespace vantu
