#include "platform/file_lock.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/file_replace.h"

namespace vantu {

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

HANDLE AsHandle(long long h) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(h));
}

// The lock covers one byte far past any text, so that reading the text
// while another holds the lock is never refused.
constexpr DWORD kLockOffsetHigh = 0x40000000;

bool LockRange(HANDLE h) {
  OVERLAPPED o{};
  o.OffsetHigh = kLockOffsetHigh;
  return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o) != 0;
}

}  // namespace

FileLock::Result FileLock::TryTake(const std::string& path) {
  Release();
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error_ = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return Result::kFailed;
  }
  if (!LockRange(h)) {
    const DWORD e = GetLastError();
    CloseHandle(h);
    if (e == ERROR_LOCK_VIOLATION || e == ERROR_IO_PENDING) return Result::kHeldElsewhere;
    error_ = EIO;
    return Result::kFailed;
  }
  handle_ = static_cast<long long>(reinterpret_cast<intptr_t>(h));
  return Result::kTaken;
}

void FileLock::Release() {
  if (handle_ < 0) return;
  CloseHandle(AsHandle(handle_));  // closing drops the lock
  handle_ = -1;
}

int FileLock::Write(const std::string& text, bool sync) {
  if (handle_ < 0) return EBADF;
  HANDLE h = AsHandle(handle_);
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  std::string padded = text;
  if (static_cast<long long>(padded.size()) < size.QuadPart)
    padded.resize(static_cast<size_t>(size.QuadPart), ' ');
  OVERLAPPED o{};
  DWORD done = 0;
  if (!WriteFile(h, padded.data(), static_cast<DWORD>(padded.size()), &done, &o) ||
      done != padded.size())
    return EIO;
  if (sync && !FlushFileBuffers(h)) return EIO;
  return 0;
}

bool FileLockHeldElsewhere(const std::string& path) {
  FileLock probe;
  return probe.TryTake(path) == FileLock::Result::kHeldElsewhere;
}

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

#else

namespace {

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

}  // namespace

FileLock::Result FileLock::TryTake(const std::string& path) {
  Release();
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    error_ = errno;
    return Result::kFailed;
  }
  struct flock l = WholeFile(F_WRLCK);
  if (::fcntl(fd, kSetLock, &l) != 0) {
    const int e = errno;
    ::close(fd);
    if (e == EAGAIN || e == EACCES) return Result::kHeldElsewhere;
    error_ = e;
    return Result::kFailed;
  }
  handle_ = fd;
  return Result::kTaken;
}

void FileLock::Release() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));  // closing drops the lock
  handle_ = -1;
}

int FileLock::Write(const std::string& text, bool sync) {
  if (handle_ < 0) return EBADF;
  const int fd = static_cast<int>(handle_);
  struct stat st {};
  std::string padded = text;
  if (::fstat(fd, &st) == 0 && static_cast<off_t>(padded.size()) < st.st_size)
    padded.resize(static_cast<size_t>(st.st_size), ' ');
  if (const int err = WriteAllAt(fd, padded.data(), padded.size(), 0); err != 0) return err;
  if (sync && ::fdatasync(fd) != 0) return errno;
  return 0;
}

bool FileLockHeldElsewhere(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock l = WholeFile(F_WRLCK);
  const bool held = ::fcntl(fd, kGetLock, &l) == 0 && l.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

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

#endif

std::string ReadLockFileText(const std::string& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "";
  std::string text;
  text.resize(limit);
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<size_t>(in.gcount()));
  return text;
}

}  // namespace vantu
