#include "platform/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace vantu {

int WriteAllAt(int fd, const void* data, size_t size, long long offset) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t w = ::pwrite(fd, p, size, offset);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return w < 0 ? errno : EIO;
    p += w;
    offset += w;
    size -= static_cast<size_t>(w);
  }
  return 0;
}

int WriteFileSynced(const std::string& path, const void* data, size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return errno;
  int err = WriteAllAt(fd, static_cast<const uint8_t*>(data), size, 0);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  return err;
}

int OverwriteInPlace(const std::string& path, size_t offset, const void* data, size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY);
  if (fd < 0) return errno;
  int err = WriteAllAt(fd, static_cast<const uint8_t*>(data), size, static_cast<off_t>(offset));
  if (::close(fd) != 0 && err == 0) err = errno;
  return err;
}

void SyncFolderOf(const std::string& path) {
  const std::string dir = std::filesystem::path(path).parent_path().string();
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

int ReplaceFileWith(const std::string& path, const std::string& tempPath, const void* data,
                    size_t size) {
  int err = WriteFileSynced(tempPath, data, size);
  if (err == 0 && std::rename(tempPath.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    std::error_code ec;
    std::filesystem::remove(tempPath, ec);
    return err;
  }
  SyncFolderOf(path);
  return 0;
}

}  // namespace vantu
