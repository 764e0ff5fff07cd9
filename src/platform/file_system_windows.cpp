// The file system and processes on Windows.
//
// Narrow paths become wide ones exactly as std::filesystem turns them, so
// that a file this layer makes is the one the rest of the program finds by
// the same name.
#ifdef _WIN32

#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// The system's ReplaceFile macro would rename this layer's own function.
#undef ReplaceFile

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/file_lock.h"
#include "platform/file_system.h"

namespace vantu::os {

namespace {

std::wstring Wide(const std::string& path) {
  return std::filesystem::path(path).wstring();
}

std::string Narrow(const std::wstring& path) {
  return std::filesystem::path(path).string();
}

HANDLE AsHandle(FileHandle file) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(file));
}

// The nearest errno value of the calling thread's last Windows error.
int LastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_LOCK_VIOLATION:
      return EAGAIN;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_INVALID_PARAMETER:
    case ERROR_NEGATIVE_SEEK:
      return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    default:
      return EIO;
  }
}

bool IsFolder(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

OVERLAPPED At(int64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
  o.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  return o;
}

// The lock covers one byte far past any text, so that reading the lock
// file's text while another holds the lock is never refused.
constexpr int64_t kLockOffset = int64_t{0x40000000} << 32;

bool LockRange(HANDLE h) {
  OVERLAPPED o = At(kLockOffset);
  return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o) != 0;
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}

}  // namespace

int OpenFile(const std::string& path, OpenMode mode, FileHandle& file, bool /*everyone*/) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  switch (mode) {
    case OpenMode::kRead:
      access = GENERIC_READ;
      break;
    case OpenMode::kWrite:
      access = GENERIC_WRITE;
      break;
    case OpenMode::kReadWrite:
      break;
    case OpenMode::kReadWriteCreate:
      disposition = OPEN_ALWAYS;
      break;
    case OpenMode::kWriteCreateTruncate:
      access = GENERIC_WRITE;
      disposition = CREATE_ALWAYS;
      break;
  }
  const std::wstring wide = Wide(path);
  // Shared as POSIX files are: others may read, write, rename and delete
  // the file while it is open here.
  HANDLE h =
      CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const int err = LastError();
    return err == EACCES && IsFolder(wide) ? EISDIR : err;
  }
  file = static_cast<FileHandle>(reinterpret_cast<intptr_t>(h));
  return 0;
}

int CloseFile(FileHandle file) {
  return CloseHandle(AsHandle(file)) ? 0 : LastError();
}

int ReadAt(FileHandle file, int64_t offset, void* data, size_t n, size_t& done) {
  done = 0;
  auto* bytes = static_cast<uint8_t*>(data);
  while (done < n) {
    OVERLAPPED o = At(offset + static_cast<int64_t>(done));
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(AsHandle(file), bytes + done, ask, &got, &o)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return LastError();
    }
    if (got == 0) break;
    done += got;
  }
  return 0;
}

int WriteAt(FileHandle file, int64_t offset, const void* data, size_t n, size_t& done) {
  done = 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (done < n) {
    OVERLAPPED o = At(offset + static_cast<int64_t>(done));
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(AsHandle(file), bytes + done, ask, &put, &o)) return LastError();
    if (put == 0) return ENOSPC;
    done += put;
  }
  return 0;
}

int FileSizeOf(FileHandle file, int64_t& size) {
  LARGE_INTEGER s{};
  if (!GetFileSizeEx(AsHandle(file), &s)) return LastError();
  size = s.QuadPart;
  return 0;
}

int TruncateFile(FileHandle file, int64_t size) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = size;
  return SetFileInformationByHandle(AsHandle(file), FileEndOfFileInfo, &end, sizeof end)
             ? 0
             : LastError();
}

int SyncFile(FileHandle file) {
  return FlushFileBuffers(AsHandle(file)) ? 0 : LastError();
}

void SyncFolder(const std::string&) {}

int ReplaceFile(const std::string& from, const std::string& to) {
  return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : LastError();
}

int IdentifyFile(FileHandle file, FileId& id) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(AsHandle(file), &info)) return LastError();
  id = FileId{info.dwVolumeSerialNumber,
              (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return 0;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FolderWritable(const std::string& folder) {
  // Attributes say nothing of the right to write: a file made and dropped
  // at once does.
  const std::wstring probe =
      Wide((std::filesystem::path(folder) / (".vantu-" + std::to_string(GetCurrentProcessId())))
               .string());
  HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
  CloseHandle(h);
  return true;
}

int MakeTempFolder(const std::string& prefix, std::string& path) {
  static std::atomic<unsigned> serial{0};
  std::error_code ec;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) return ec.value();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = prefix + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount()) + "-" + std::to_string(serial++);
    const std::filesystem::path p = temp / name;
    if (CreateDirectoryW(p.wstring().c_str(), nullptr)) {
      path = p.string();
      return 0;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return LastError();
  }
  return EEXIST;
}

int TryLockFile(FileHandle file) {
  if (LockRange(AsHandle(file))) return 0;
  const DWORD e = GetLastError();
  return e == ERROR_LOCK_VIOLATION || e == ERROR_IO_PENDING ? EAGAIN : LastError();
}

bool LockHeldElsewhere(const std::string& path) {
  FileHandle probe = kNoFile;
  if (OpenFile(path, OpenMode::kRead, probe) != 0) return false;
  const bool held = TryLockFile(probe) == EAGAIN;
  CloseFile(probe);  // closing drops a lock the probe took
  return held;
}

void* MapFile(FileHandle, size_t) {
  // A Windows mapping grows the file to its length: files are read and
  // written instead.
  return nullptr;
}

void UnmapFile(void*, size_t) {}

size_t PageSize() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwPageSize;
}

std::FILE* OpenStream(const std::string& path, const char* mode) {
  return _wfopen(Wide(path).c_str(), std::wstring(mode, mode + std::strlen(mode)).c_str());
}

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; wide != nullptr && i < count; ++i) {
    std::string arg;
    for (const wchar_t* c = wide[i]; *c; ++c) arg += *c <= 0xFF ? static_cast<char>(*c) : '?';
    args.push_back(arg);
  }
  LocalFree(wide);
  return args;
}

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) {
      buffer.resize(n);
      return Narrow(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string HomeFolder() {
  return EnvOr("USERPROFILE", EnvOr("HOME", "C:\\"));
}

std::string UserDataFolder() {
  return EnvOr("LOCALAPPDATA", HomeFolder() + "\\AppData\\Local");
}

// Where the window's settings go too (Qt's generic configuration folder).
std::string UserConfigFolder() {
  return UserDataFolder();
}

void SetEnvironment(const std::string& name, const std::string& value) {
  // The runtime's copy for getenv, and the system's for started programs.
  _putenv_s(name.c_str(), value.c_str());
  SetEnvironmentVariableA(name.c_str(), value.c_str());
}

std::tm LocalTime(std::time_t t) {
  std::tm tm{};
  localtime_s(&tm, &t);
  return tm;
}

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

void BinaryStandardOutput() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace vantu::os

namespace vantu {

std::string CurrentUserName() {
  if (const char* u = std::getenv("USERNAME")) return u;
  return "";
}

std::string CurrentComputerName() {
  if (const char* c = std::getenv("COMPUTERNAME")) return c;
  return "";
}

long CurrentProcessId() {
  return static_cast<long>(GetCurrentProcessId());
}

bool ProcessRunning(long pid) {
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (h == nullptr) return false;
  const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
  CloseHandle(h);
  return running;
}

}  // namespace vantu

#endif  // _WIN32
