#include "storage/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "storage/guarded_copy.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

class SystemFiles : public StorageFiles {
 public:
  int Create(const std::string& name, int& handle) override {
    return OpenWith(name, os::OpenMode::kReadWriteCreate, true, handle);
  }
  int Open(const std::string& name, int& handle) override {
    return OpenWith(name, os::OpenMode::kReadWrite, false, handle);
  }

  int Close(int handle) override {
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    Unmap(it->second);
    open_.erase(it);
    return os::CloseFile(handle);
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
    return os::ReadAt(handle, offset, data, n, done);
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
    const int err = os::WriteAt(handle, offset, data, n, done);
    f.size = std::max<int64_t>(f.size, offset + static_cast<int64_t>(done));
    return err;
  }

  int Size(int handle, int64_t& size) override {
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    if (const int err = os::FileSizeOf(handle, size); err != 0) return err;
    it->second.size = size;
    return 0;
  }

  int Truncate(int handle, int64_t size) override {
    auto it = open_.find(handle);
    if (it == open_.end()) return EBADF;
    if (const int err = os::TruncateFile(handle, size); err != 0) return err;
    it->second.size = size;
    return 0;
  }

  int Sync(int handle) override {
    if (!open_.count(handle)) return EBADF;
    // The sync also writes the pages changed through the mapping: the
    // mapping and the positional writes share the one cache of the file.
    return os::SyncFile(handle);
  }

  bool Exists(const std::string& name) override { return os::PathExists(name); }

 private:
  using FileId = os::FileId;

  // Where the system maps files, transfers inside the file are copies to
  // and from a shared mapping of it: the operating system's cache itself, which pread and pwrite
  // see too, without a system call each. A transfer that reaches past the file's end (one that
  // grows the file, or a read of its end) is a pread or pwrite, so a mapped store never needs new
  // space; a store that fails all the same (SIGBUS) is repeated as a pwrite, which reports the
  // error.
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
    if (f.map) os::UnmapFile(f.map, f.mapped);
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
    const size_t page = os::PageSize();
    const size_t length =
        std::max(kMapWindow, (static_cast<size_t>(f.size) + page - 1) / page * page);
    void* p = os::MapFile(fd, length);
    if (p == nullptr) return;  // transfers stay with positional reads and writes
    f.map = static_cast<uint8_t*>(p);
    f.mapped = length;
  }

  // Whether another handle of ours still has the file open. A descriptor
  // closed behind the layer's back (a program that died without closing,
  // as the crash tests play it) is forgotten; so is an entry under the
  // number the system has just handed out again.
  bool StillOpen(const FileId& id, int newFd) {
    for (auto it = open_.begin(); it != open_.end();) {
      FileId held;
      const bool stale =
          it->first == newFd || os::IdentifyFile(it->first, held) != 0 || held != it->second.id;
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
  int OpenWith(const std::string& name, os::OpenMode mode, bool truncate, int& handle) {
    os::FileHandle fd = os::kNoFile;
    if (const int err = os::OpenFile(name, mode, fd); err != 0) return err;
    FileId id;
    int64_t size = 0;
    int err = os::IdentifyFile(fd, id);
    if (err == 0) err = os::FileSizeOf(fd, size);
    if (err == 0 && StillOpen(id, fd)) err = EBUSY;
    if (err == 0 && truncate) err = os::TruncateFile(fd, 0);
    if (err != 0) {
      os::CloseFile(fd);
      return err;
    }
    handle = fd;
    open_[fd] = OpenEntry{id, truncate ? 0 : size};
    return 0;
  }

  std::map<int, OpenEntry> open_;
};

StorageFiles* gFiles = nullptr;
std::function<void()> gBeforeChange;

StorageFiles& Target() {
  return gFiles ? *gFiles : SystemStorageFiles();
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

StorageFiles& SystemStorageFiles() {
  static SystemFiles files;
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
#ifdef EDQUOT
    case EDQUOT:
#endif
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
