#pragma once
// The engine's access to files: a small interface so that tests can keep
// files in memory and inject faults. Every call returns 0 on success or an
// errno value.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantu {

class StorageFiles {
 public:
  virtual ~StorageFiles() = default;
  // Creates or truncates a file and opens it for reading and writing.
  virtual int Create(const std::string& name, int& handle) = 0;
  // Opens an existing file for reading and writing.
  virtual int Open(const std::string& name, int& handle) = 0;
  virtual int Close(int handle) = 0;
  // Reads up to n bytes at offset; done receives the count read.
  virtual int ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) = 0;
  // Writes n bytes at offset, extending the file; done receives the count written.
  virtual int WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) = 0;
  virtual int Size(int handle, int64_t& size) = 0;
  // Hands the file's buffers to the disk.
  virtual int Sync(int handle) = 0;
  // Writes to this file may wait for Sync or Close (index files, which are
  // rebuilt after an abnormal end).
  virtual void DeferWrites(int /*handle*/) {}
};

// POSIX files, each kept as an image in memory while open: reads are served
// from the image, writes go through to the file at once (or at Sync and
// Close when deferred).
StorageFiles& PosixStorageFiles();

// The files the engine uses; the POSIX ones unless a test set others.
StorageFiles& Files();
void SetStorageFiles(StorageFiles* files);  // nullptr restores the POSIX ones

// Engine status for an operating-system error (codes 2..17 and 102..106 of
// the status table), or `fallback` when none fits.
int16_t StatusFromOsError(int err, int16_t fallback);

}  // namespace vantu
