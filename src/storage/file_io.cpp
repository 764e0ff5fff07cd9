#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vantu {

namespace {

class PosixFiles : public StorageFiles {
 public:
  int Create(const std::string& name, int& handle) override {
    return OpenWith(name, O_RDWR | O_CREAT | O_TRUNC, handle);
  }
  int Open(const std::string& name, int& handle) override { return OpenWith(name, O_RDWR, handle); }
  int Close(int handle) override { return ::close(handle) == 0 ? 0 : errno; }

  int ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) override {
    done = 0;
    while (done < n) {
      ssize_t got = ::pread(handle, static_cast<char*>(data) + done, n - done, offset + done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return errno;
      if (got == 0) break;  // end of file
      done += static_cast<size_t>(got);
    }
    return 0;
  }

  int WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) override {
    done = 0;
    while (done < n) {
      ssize_t put =
          ::pwrite(handle, static_cast<const char*>(data) + done, n - done, offset + done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return put < 0 ? errno : EIO;
      done += static_cast<size_t>(put);
    }
    return 0;
  }

  int Size(int handle, int64_t& size) override {
    struct stat st {};
    if (::fstat(handle, &st) != 0) return errno;
    size = st.st_size;
    return 0;
  }

  int Sync(int handle) override { return ::fdatasync(handle) == 0 ? 0 : errno; }

 private:
  static int OpenWith(const std::string& name, int flags, int& handle) {
    int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    handle = fd;
    return 0;
  }
};

StorageFiles* gFiles = nullptr;

}  // namespace

StorageFiles& PosixStorageFiles() {
  static PosixFiles files;
  return files;
}

StorageFiles& Files() {
  return gFiles ? *gFiles : PosixStorageFiles();
}
void SetStorageFiles(StorageFiles* files) {
  gFiles = files;
}

int16_t StatusFromOsError(int err, int16_t fallback) {
  switch (err) {
    case ENOENT:
      return 2;
    case ENOTDIR:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return 5;
    case EBADF:
      return 6;
    case ENOMEM:
      return 8;
    case EINVAL:
      return 12;
    case ENODEV:
    case ENXIO:
      return 15;
    case EBUSY:
      return 16;
    case EXDEV:
      return 17;
    case ENAMETOOLONG:
      return 102;
    default:
      return fallback;
  }
}

}  // namespace vantu
