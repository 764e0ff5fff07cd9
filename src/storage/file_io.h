#pragma once
// The engine's access to files: a small interface so that tests can keep
// files in memory and inject faults. Every call returns 0 on success or an
// errno value.
//
// Reads and writes are positional and go straight to the operating system,
// whose cache is the one image of each file: every handle to a path sees
// the same bytes, and opening costs the same whatever the file's size.
// A file may be open through one handle at a time; a second Open or Create
// of an open file is refused with EBUSY, so that two in-memory headers of
// one file can never drift apart.

#include <cstddef>
#include <cstdint>
#include <functional>
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
  // Cuts the file to size bytes.
  virtual int Truncate(int handle, int64_t size) = 0;
  // Hands the file's buffers to the disk.
  virtual int Sync(int handle) = 0;
  // Whether a file of that name exists (without opening it).
  virtual bool Exists(const std::string& name) = 0;
};

// The operating system's files (platform/file_system.h).
StorageFiles& SystemStorageFiles();

// The files the engine uses; the system's unless a test set others.
StorageFiles& Files();
void SetStorageFiles(StorageFiles* files);  // nullptr restores the system's
// `call` runs once, just before the engine's next change to any file (a
// create, a truncation, a write of bytes other than those there), and is
// then forgotten; it may stop the change by failing the engine. An empty
// one cancels the last.
void CallBeforeNextChange(std::function<void()> call);

// Engine status for an operating-system error, or `fallback` when none
// fits: access refused and a full disk get their own codes (1010, 1011),
// the others the codes 2..17 and 102..106 of the status table.
int16_t StatusFromOsError(int err, int16_t fallback);

// Reads or writes a whole byte range of a named file outside the engine's
// state records (headers rewritten by the recovery, side files). 0 or errno.
int ReadFileRange(const std::string& name, int64_t offset, void* data, size_t n);
int WriteFileRange(const std::string& name, int64_t offset, const void* data, size_t n);
// Size of a named file; errno when it cannot be opened.
int FileSize(const std::string& name, int64_t& size);

}  // namespace vantu
