#pragma once
// The operating system's files, folders and processes as the core uses
// them, with one implementation for POSIX systems and one for Windows.
//
// Paths are UTF-8 strings; Windows gets them as wide (UTF-16) paths, so a
// folder named "Añadidos" is the same folder on both. Every call that can
// fail returns 0 or an errno value (Windows errors are mapped to the
// nearest one), so that callers report them the same way everywhere.
// Files are always opened in binary: bytes go to disk as given.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace vantu::os {

// An open file. On Windows the value of a HANDLE, whose significant bits
// fit in 32 by the system's own guarantee.
using FileHandle = int;
inline constexpr FileHandle kNoFile = -1;

enum class OpenMode {
  kRead,                 // an existing file, reading only
  kWrite,                // an existing file, writing only
  kReadWrite,            // an existing file
  kReadWriteCreate,      // created when missing, never truncated
  kWriteCreateTruncate,  // created when missing, emptied when there
};

// A file made by `everyone` may be written by every user of the computer
// (a lock file in a shared folder); otherwise only by its owner.
int OpenFile(const std::string& path, OpenMode mode, FileHandle& file, bool everyone = false);
int CloseFile(FileHandle file);

// Reads up to n bytes at offset, fewer only at the end of the file; done
// receives the count read.
int ReadAt(FileHandle file, int64_t offset, void* data, size_t n, size_t& done);
// Writes all n bytes at offset, extending the file; done receives the
// count written. A write that makes no progress is ENOSPC.
int WriteAt(FileHandle file, int64_t offset, const void* data, size_t n, size_t& done);
int FileSizeOf(FileHandle file, int64_t& size);
int TruncateFile(FileHandle file, int64_t size);
// Hands the file's data to the disk (fdatasync, FlushFileBuffers).
int SyncFile(FileHandle file);
// Makes a rename or a creation inside `folder` durable; a no-op where the
// system keeps folder entries with the file (Windows).
void SyncFolder(const std::string& folder);

// Renames `from` over `to`, replacing it in one step.
int ReplaceFile(const std::string& from, const std::string& to);

// Which file an open handle reaches: equal for two handles of one file.
struct FileId {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileId&) const = default;
};
int IdentifyFile(FileHandle file, FileId& id);

bool PathExists(const std::string& path);
// Whether this process may create files in `folder`.
bool FolderWritable(const std::string& folder);
// Creates a new, empty folder named `prefix` plus a unique ending inside
// the system's temporary folder; its path goes to `path`.
int MakeTempFolder(const std::string& prefix, std::string& path);

// An exclusive lock on the open file, not waited for: 0 taken, EAGAIN when
// another open file holds it, or the error. The lock belongs to the open
// file: a second open in the same process is refused too, and closing
// the file drops it.
int TryLockFile(FileHandle file);
// Whether another open file holds the lock of `path` now.
bool LockHeldElsewhere(const std::string& path);

// A shared read-write mapping of the file's first `length` bytes, or
// nullptr where files are not mapped (the caller then reads and writes).
void* MapFile(FileHandle file, size_t length);
void UnmapFile(void* map, size_t length);
size_t PageSize();

// fopen of a path named as every other call here names it (on Windows the
// runtime's own fopen would read the path in the system's code page).
std::FILE* OpenStream(const std::string& path, const char* mode);

// The program's arguments, argv[0] included: on Windows taken from the wide
// command line, so that a name with accents arrives as the file system
// calls expect it (letters outside Windows-1252's Latin range become '?').
std::vector<std::string> ProgramArguments(int argc, char** argv);

// This program's executable; "" when the system does not say.
std::string ExecutablePath();
// The user's home folder; the folder of per-user program data (settings,
// the program's own files when its folder cannot be written).
std::string HomeFolder();
std::string UserDataFolder();
std::string UserConfigFolder();
// Sets an environment variable for this process and the programs it starts.
void SetEnvironment(const std::string& name, const std::string& value);

// Broken-down local time of `t`.
std::tm LocalTime(std::time_t t);
// Whether the stream is a terminal (a console on Windows).
bool IsTerminal(std::FILE* stream);
// Puts standard output in binary mode: a listing's line ends go out as the
// format has them, not translated to the system's.
void BinaryStandardOutput();

}  // namespace vantu::os
