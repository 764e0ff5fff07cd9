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
#include <vector>

#include "storage/guarded_copy.h"
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
    OpenEntry& f = it->second;
    if (Mapped(handle, f, offset, n) && GuardedCopy(data, f.map + offset, n)) {
      done = n;
      return 0;
    }
    auto* bytes = static_cast<uint8_t*>(data);
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
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    if (offset < 0) return EINVAL;
    OpenEntry& f = it->second;
    if (Mapped(handle, f, offset, n) && GuardedCopy(f.map + offset, data, n)) {
      done = n;
      return 0;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (done < n) {
      const ssize_t put = ::pwrite(handle, bytes + done, n - done, offset + done);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return errno;
      if (put == 0) return ENOSPC;
      done += static_cast<size_t>(put);
      f.size = std::max<int64_t>(f.size, offset + static_cast<int64_t>(done));
    }
    return 0;
  }

  int Size(int handle, int64_t& size) override {
    struct stat st {};
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    if (::fstat(handle, &st) != 0) return errno;
    size = static_cast<int64_t>(st.st_size);
    it->second.size = size;
    return 0;
  }

  int Truncate(int handle, int64_t size) override {
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    if (::ftruncate(handle, size) != 0) return errno;
    it->second.size = size;
    return 0;
  }

  int Sync(int handle) override {
    if (!open_.count(handle)) return EBADF;
    // fdatasync also writes the pages changed through the mapping: on Linux
    // the mapping and pwrite share the one page cache of the file.
    return ::fdatasync(handle) == 0 ? 0 : errno;
  }

  bool Exists(const std::string& name) override {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0;
  }

 private:
  using FileId = std::pair<dev_t, ino_t>;

  // Transfers inside the file are copies to and from a shared mapping of
  // it: the operating system's cache itself, which pread and pwrite see
  // too, without a system call each. A transfer that reaches past the
  // file's end (one that grows the file, or a read of its end) is a pread
  // or pwrite, so a mapped store never needs new space; a store that fails
  // all the same (SIGBUS) is repeated as a pwrite, which reports the error.
  //
  // Only transfers of up to a page go through the mapping.
  // The mapping is made once a handle has made a few transfers, so that an
  // open that reads little never pays for it. It is a fixed window larger
  // than any record file (32,767 records of 1,024 bytes), so that the file
  // grows into it without a new mapping; only the bytes below the file's
  // size are ever touched. The layer knows that size from its own writes;
  // Size() takes it from the system again. Only this layer shortens a file;
  // a file cut by another program while mapped makes the copies past its
  // new end fail over to pread and pwrite (bytes past that end in its last
  // memory page read as zeros).
  struct OpenEntry {
    FileId id;
    int64_t size = 0;
    uint8_t* map = nullptr;
    size_t mapped = 0;
    int transfers = 0;
  };
  static constexpr int kTransfersBeforeMapping = 8;
  static constexpr size_t kMapWindow = size_t{64} << 20;
  // Longer transfers (runs of records read or written once) cost less as
  // one system call than as page faults on the mapping.
  static constexpr size_t kMappedTransferMax = 4096;

  static void Unmap(OpenEntry& f) {
    if (f.map) ::munmap(f.map, f.mapped);
    f.map = nullptr;
    f.mapped = 0;
  }

  // Whether [offset, offset + n) lies inside the file and the mapping.
  static bool Mapped(int fd, OpenEntry& f, int64_t offset, size_t n) {
    const int64_t end = offset + static_cast<int64_t>(n);
    if (end > f.size || n > kMappedTransferMax) return false;
    if (!f.map && ++f.transfers == kTransfersBeforeMapping) Map(fd, f);
    return f.map && static_cast<size_t>(end) <= f.mapped;
  }

  static void Map(int fd, OpenEntry& f) {
    if (!PrepareGuardedCopies()) return;
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const size_t length =
        std::max(kMapWindow, (static_cast<size_t>(f.size) + page - 1) / page * page);
    void* p = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) return;  // transfers stay with pread and pwrite
    f.map = static_cast<uint8_t*>(p);
    f.mapped = length;
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
    open_[fd] = OpenEntry{id, truncate ? 0 : static_cast<int64_t>(st.st_size)};
    return 0;
  }

  std::map<int, OpenEntry> open_;
};

StorageFiles* gFiles = nullptr;
std::function<void()> gBeforeChange;

StorageFiles& Target() {
  return gFiles ? *gFiles : PosixStorageFiles();
}

// The files as the engine sees them: the chosen ones, with the call that
// must come before the first change of a file. A write of the bytes a file
// already holds is no change (an opening rewrites headers as it found
// them), so an opening that only reads, or fails, runs nothing.
class GuardedFiles final : public StorageFiles {
 public:
  int Create(const std::string& name, int& handle) override {
    BeforeChange();
    return Target().Create(name, handle);
  }
  int Open(const std::string& name, int& handle) override { return Target().Open(name, handle); }
  int Close(int handle) override { return Target().Close(handle); }
  int ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) override {
    return Target().ReadAt(handle, offset, data, n, done);
  }
  int WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) override {
    if (gBeforeChange && Changes(handle, offset, data, n)) BeforeChange();
    return Target().WriteAt(handle, offset, data, n, done);
  }
  int Size(int handle, int64_t& size) override { return Target().Size(handle, size); }
  int Truncate(int handle, int64_t size) override {
    BeforeChange();
    return Target().Truncate(handle, size);
  }
  int Sync(int handle) override { return Target().Sync(handle); }
  bool Exists(const std::string& name) override { return Target().Exists(name); }

 private:
  static bool Changes(int handle, int64_t offset, const void* data, size_t n) {
    std::vector<uint8_t> held(n);
    size_t got = 0;
    return Target().ReadAt(handle, offset, held.data(), n, got) != 0 || got != n ||
           std::memcmp(held.data(), data, n) != 0;
  }
  static void BeforeChange() {
    if (!gBeforeChange) return;
    const std::function<void()> call = std::move(gBeforeChange);
    gBeforeChange = nullptr;
    call();
  }
};

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
  static GuardedFiles files;
  return files;
}
void CallBeforeNextChange(std::function<void()> call) {
  gBeforeChange = std::move(call);
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
    case EISDIR:
      return kStatusIsFolder;
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
