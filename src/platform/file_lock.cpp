#include "platform/file_lock.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/file_replace.h"
#include "platform/file_system.h"

namespace vantu {

FileLock::Result FileLock::TryTake(const std::string& path) {
  Release();
  os::FileHandle file = os::kNoFile;
  // Every user may open the file: the next holder may be someone else.
  if (const int err = os::OpenFile(path, os::OpenMode::kReadWriteCreate, file, true); err != 0) {
    error_ = err;
    return Result::kFailed;
  }
  if (const int err = os::TryLockFile(file); err != 0) {
    os::CloseFile(file);
    if (err == EAGAIN) return Result::kHeldElsewhere;
    error_ = err;
    return Result::kFailed;
  }
  handle_ = file;
  return Result::kTaken;
}

void FileLock::Release() {
  if (handle_ < 0) return;
  os::CloseFile(static_cast<os::FileHandle>(handle_));  // closing drops the lock
  handle_ = -1;
}

int FileLock::Write(const std::string& text, bool sync) {
  if (handle_ < 0) return EBADF;
  const auto file = static_cast<os::FileHandle>(handle_);
  int64_t size = 0;
  std::string padded = text;
  if (os::FileSizeOf(file, size) == 0 && static_cast<int64_t>(padded.size()) < size)
    padded.resize(static_cast<size_t>(size), ' ');
  if (const int err = WriteAllAt(file, padded.data(), padded.size(), 0); err != 0) return err;
  if (sync) return os::SyncFile(file);
  return 0;
}

bool FileLockHeldElsewhere(const std::string& path) {
  return os::LockHeldElsewhere(path);
}

std::string ReadLockFileText(const std::string& path, size_t limit) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return "";
  std::string text;
  text.resize(limit);
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<size_t>(in.gcount()));
  return text;
}

}  // namespace vantu
