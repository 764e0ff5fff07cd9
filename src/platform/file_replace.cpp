#include "platform/file_replace.h"

#include <cerrno>
#include <filesystem>

#include "platform/file_system.h"

namespace vantu {

int WriteAllAt(int file, const void* data, size_t size, long long offset) {
  size_t done = 0;
  const int err = os::WriteAt(file, offset, data, size, done);
  return err != 0 ? err : (done == size ? 0 : EIO);
}

int WriteFileSynced(const std::string& path, const void* data, size_t size) {
  os::FileHandle file = os::kNoFile;
  if (const int err = os::OpenFile(path, os::OpenMode::kWriteCreateTruncate, file); err != 0)
    return err;
  int err = WriteAllAt(file, data, size, 0);
  if (err == 0) err = os::SyncFile(file);
  if (const int closeErr = os::CloseFile(file); closeErr != 0 && err == 0) err = closeErr;
  return err;
}

int OverwriteInPlace(const std::string& path, size_t offset, const void* data, size_t size) {
  os::FileHandle file = os::kNoFile;
  if (const int err = os::OpenFile(path, os::OpenMode::kWrite, file); err != 0) return err;
  int err = WriteAllAt(file, data, size, static_cast<long long>(offset));
  if (const int closeErr = os::CloseFile(file); closeErr != 0 && err == 0) err = closeErr;
  return err;
}

void SyncFolderOf(const std::string& path) {
  os::SyncFolder(std::filesystem::path(path).parent_path().string());
}

int ReplaceFileWith(const std::string& path, const std::string& tempPath, const void* data,
                    size_t size) {
  int err = WriteFileSynced(tempPath, data, size);
  if (err == 0) err = os::ReplaceFile(tempPath, path);
  if (err != 0) {
    std::error_code ec;
    std::filesystem::remove(tempPath, ec);
    return err;
  }
  SyncFolderOf(path);
  return 0;
}

}  // namespace vantu
