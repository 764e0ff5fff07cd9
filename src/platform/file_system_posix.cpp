// The file system and processes on POSIX systems.
#ifndef _WIN32

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/file_lock.h"
#include "platform/file_system.h"

namespace vantu::os {

namespace {

int Flags(OpenMode mode) {
  switch (mode) {
    case OpenMode::kRead:
      return O_RDONLY;
    case OpenMode::kWrite:
      return O_WRONLY;
    case OpenMode::kReadWrite:
      return O_RDWR;
    case OpenMode::kReadWriteCreate:
      return O_RDWR | O_CREAT;
    case OpenMode::kWriteCreateTruncate:
      return O_WRONLY | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

// Locks that belong to the open file, not to the process: two opens in one
// process exclude each other too, and closing another handle of the same
// file does not drop the lock.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
constexpr int kGetLock = F_OFD_GETLK;
#else
constexpr int kSetLock = F_SETLK;
constexpr int kGetLock = F_GETLK;
#endif

struct flock WholeFile(short type) {
  struct flock l {};
  l.l_type = type;
  l.l_whence = SEEK_SET;
  l.l_start = 0;
  l.l_len = 0;
  l.l_pid = 0;
  return l;
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}

}  // namespace

int OpenFile(const std::string& path, OpenMode mode, FileHandle& file, bool everyone) {
  const int fd = ::open(path.c_str(), Flags(mode) | O_CLOEXEC, everyone ? 0666 : 0644);
  if (fd < 0) return errno;
  file = fd;
  return 0;
}

int CloseFile(FileHandle file) {
  return ::close(file) == 0 ? 0 : errno;
}

int ReadAt(FileHandle file, int64_t offset, void* data, size_t n, size_t& done) {
  done = 0;
  auto* bytes = static_cast<uint8_t*>(data);
  while (done < n) {
    const ssize_t got = ::pread(file, bytes + done, n - done, offset + static_cast<int64_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return 0;
}

int WriteAt(FileHandle file, int64_t offset, const void* data, size_t n, size_t& done) {
  done = 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (done < n) {
    const ssize_t put = ::pwrite(file, bytes + done, n - done, offset + static_cast<int64_t>(done));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return ENOSPC;
    done += static_cast<size_t>(put);
  }
  return 0;
}

int FileSizeOf(FileHandle file, int64_t& size) {
  struct stat st {};
  if (::fstat(file, &st) != 0) return errno;
  size = static_cast<int64_t>(st.st_size);
  return 0;
}

int TruncateFile(FileHandle file, int64_t size) {
  return ::ftruncate(file, size) == 0 ? 0 : errno;
}

int SyncFile(FileHandle file) {
  return ::fdatasync(file) == 0 ? 0 : errno;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

int ReplaceFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int IdentifyFile(FileHandle file, FileId& id) {
  struct stat st {};
  if (::fstat(file, &st) != 0) return errno;
  id = FileId{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return 0;
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool FolderWritable(const std::string& folder) {
  return ::access(folder.c_str(), W_OK) == 0;
}

int MakeTempFolder(const std::string& prefix, std::string& path) {
  std::error_code ec;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) return ec.value();
  std::string tmpl = (temp / (prefix + "XXXXXX")).string();
  if (::mkdtemp(tmpl.data()) == nullptr) return errno;
  path = tmpl;
  return 0;
}

int TryLockFile(FileHandle file) {
  struct flock l = WholeFile(F_WRLCK);
  if (::fcntl(file, kSetLock, &l) == 0) return 0;
  return errno == EACCES ? EAGAIN : errno;
}

bool LockHeldElsewhere(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock l = WholeFile(F_WRLCK);
  const bool held = ::fcntl(fd, kGetLock, &l) == 0 && l.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

void* MapFile(FileHandle file, size_t length) {
  void* p = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
  return p == MAP_FAILED ? nullptr : p;
}

void UnmapFile(void* map, size_t length) {
  if (map) ::munmap(map, length);
}

size_t PageSize() {
  return static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

std::FILE* OpenStream(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::string ExecutablePath() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string HomeFolder() {
  return EnvOr("HOME", "/tmp");
}

std::string UserDataFolder() {
  return EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share");
}

std::string UserConfigFolder() {
  return EnvOr("XDG_CONFIG_HOME", HomeFolder() + "/.config");
}

void SetEnvironment(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

std::tm LocalTime(std::time_t t) {
  std::tm tm{};
  ::localtime_r(&t, &tm);
  return tm;
}

bool IsTerminal(std::FILE* stream) {
  return ::isatty(::fileno(stream)) != 0;
}

void BinaryStandardOutput() {}

}  // namespace vantu::os

namespace vantu {

std::string CurrentUserName() {
  if (const struct passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_name)
    return pw->pw_name;
  if (const char* u = std::getenv("USER")) return u;
  return "";
}

std::string CurrentComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

long CurrentProcessId() {
  return static_cast<long>(::getpid());
}

bool ProcessRunning(long pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace vantu

#endif  // !_WIN32
