#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "storage/storage_engine.h"

namespace vantu {

namespace {

class PosixFiles : public StorageFiles {
 public:
  int Create(const std::string& name, int& handle) override {
    return OpenWith(name, O_RDWR | O_CREAT, true, handle);
  }
  int Open(const std::string& name, int& handle) override {
    return OpenWith(name, O_RDWR, false, handle);
  }

  int Close(int handle) override {
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    Unmap(it->second);
    open_.erase(it);
    return ::close(handle) == 0 ? 0 : errno;
  }

  int ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) override {
    done = 0;
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    if (offset < 0) return EINVAL;
    auto* bytes = static_cast<uint8_t*>(data);
    OpenEntry& f = it->second;
    const auto end = static_cast<size_t>(offset) + n;
    // A handle that reads little never pays for a mapping.
    if (end > f.mapped && ++f.reads > kReadsBeforeMapping) Remap(handle, f, end);
    if (end <= f.mapped) {
      std::memcpy(bytes, f.map + offset, n);
      done = n;
      return 0;
    }
    while (done < n) {
      const ssize_t got = ::pread(handle, bytes + done, n - done, offset + done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return errno;
      if (got == 0) break;
      done += static_cast<size_t>(got);
    }
    return 0;
  }

  int WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) override {
    done = 0;
    if (!open_.count(handle)) return EBADF;
    if (offset < 0) return EINVAL;
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (done < n) {
      const ssize_t put = ::pwrite(handle, bytes + done, n - done, offset + done);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return errno;
      if (put == 0) return ENOSPC;
      done += static_cast<size_t>(put);
    }
    return 0;
  }

  int Size(int handle, int64_t& size) override {
    struct stat st {};
    if (!open_.count(handle)) return EBADF;
    if (::fstat(handle, &st) != 0) return errno;
    size = static_cast<int64_t>(st.st_size);
    return 0;
  }

  int Truncate(int handle, int64_t size) override {
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    Unmap(it->second);  // no mapped page may lie past the new end
    return ::ftruncate(handle, size) == 0 ? 0 : errno;
  }

  int Sync(int handle) override {
    if (!open_.count(handle)) return EBADF;
    return ::fdatasync(handle) == 0 ? 0 : errno;
  }

  bool Exists(const std::string& name) override {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0;
  }

 private:
  using FileId = std::pair<dev_t, ino_t>;

  // Reads are served from a shared read-only mapping of the file: the
  // operating system's cache itself, which pwrite updates, so every read
  // sees every write. The mapping is made once a handle has read a few
  // times and widened when the file has grown by a good part; other reads
  // use pread. Only this layer shortens a file, and it drops the mapping
  // first; a file cut by another program while mapped is outside what the
  // program defends against.
  struct OpenEntry {
    FileId id;
    uint8_t* map = nullptr;
    size_t mapped = 0;
    int reads = 0;
    int readsPastMapping = 0;  // since the mapping was last made
  };
  static constexpr int kReadsPastMappingBeforeRemap = 64;
  static constexpr int kReadsBeforeMapping = 32;
  static constexpr size_t kMinRemapGrowth = 256 * 1024;

  static void Unmap(OpenEntry& f) {
    if (f.map) ::munmap(f.map, f.mapped);
    f.map = nullptr;
    f.mapped = 0;
  }

  static void Remap(int fd, OpenEntry& f, size_t wanted) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return;
    const auto size = static_cast<size_t>(st.st_size);
    if (size < f.mapped) {
      Unmap(f);  // the file shrank under the mapping: never read past its end
      return;
    }
    // Widened when the file has grown by a good part, or when reads keep
    // falling past the mapping of a file that has stopped growing.
    const bool widen = f.map == nullptr ||
                       size >= f.mapped + std::max(f.mapped / 4, kMinRemapGrowth) ||
                       ++f.readsPastMapping >= kReadsPastMappingBeforeRemap;
    if (size == 0 || size < wanted || !widen) return;
    Unmap(f);
    void* p = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) return;
    f.map = static_cast<uint8_t*>(p);
    f.mapped = size;
    f.readsPastMapping = 0;
  }

  // Whether another handle of ours still has the file open. A descriptor
  // closed behind the layer's back (a program that died without closing,
  // as the crash tests play it) is forgotten; so is an entry under the
  // number the system has just handed out again.
  bool StillOpen(const FileId& id, int newFd) {
    for (auto it = open_.begin(); it != open_.end();) {
      struct stat st {};
      const bool stale = it->first == newFd || ::fstat(it->first, &st) != 0 ||
                         FileId{st.st_dev, st.st_ino} != it->second.id;
      if (stale) {
        Unmap(it->second);
        it = open_.erase(it);
        continue;
      }
      if (it->second.id == id) return true;
      ++it;
    }
    return false;
  }

  // Opens without truncating, refuses a file that is already open, and
  // truncates only then, so that a refused Create leaves the file whole.
  int OpenWith(const std::string& name, int flags, bool truncate, int& handle) {
    const int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    struct stat st {};
    int err = ::fstat(fd, &st) == 0 ? 0 : errno;
    const FileId id{st.st_dev, st.st_ino};
    if (err == 0 && StillOpen(id, fd)) err = EBUSY;
    if (err == 0 && truncate && ::ftruncate(fd, 0) != 0) err = errno;
    if (err != 0) {
      ::close(fd);
      return err;
    }
    handle = fd;
    open_[fd] = OpenEntry{id};
    return 0;
  }

  std::map<int, OpenEntry> open_;
};

StorageFiles* gFiles = nullptr;

template <typename F>
int WithFile(const std::string& name, F use) {
  int handle = -1;
  if (int err = Files().Open(name, handle); err != 0) return err;
  const int err = use(handle);
  const int closeErr = Files().Close(handle);
  return err != 0 ? err : closeErr;
}

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

int ReadFileRange(const std::string& name, int64_t offset, void* data, size_t n) {
  return WithFile(name, [&](int h) {
    size_t done = 0;
    const int err = Files().ReadAt(h, offset, data, n, done);
    return err != 0 ? err : (done == n ? 0 : EIO);
  });
}

int WriteFileRange(const std::string& name, int64_t offset, const void* data, size_t n) {
  return WithFile(name, [&](int h) {
    size_t done = 0;
    const int err = Files().WriteAt(h, offset, data, n, done);
    return err != 0 ? err : (done == n ? 0 : ENOSPC);
  });
}

int FileSize(const std::string& name, int64_t& size) {
  return WithFile(name, [&](int h) { return Files().Size(h, size); });
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
      return kStatusAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kStatusDiskFull;
    case EBUSY:
      return kStatusAlreadyOpen;
    case EBADF:
      return 6;
    case ENOMEM:
      return 8;
    case EINVAL:
      return 12;
    case ENODEV:
    case ENXIO:
      return 15;
    case EXDEV:
      return 17;
    case ENAMETOOLONG:
      return 102;
    default:
      return fallback;
  }
}

}  // namespace vantu
