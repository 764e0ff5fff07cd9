#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <vector>

namespace vantu {

namespace {

constexpr int64_t kDirtyBlock = 4096;

int PreadAll(int fd, int64_t offset, uint8_t* data, size_t n, size_t& done) {
  done = 0;
  while (done < n) {
    ssize_t got = ::pread(fd, data + done, n - done, offset + done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return 0;
}

int PwriteAll(int fd, int64_t offset, const uint8_t* data, size_t n) {
  size_t done = 0;
  while (done < n) {
    ssize_t put = ::pwrite(fd, data + done, n - done, offset + done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return put < 0 ? errno : EIO;
    done += static_cast<size_t>(put);
  }
  return 0;
}

// One open file: its descriptor, its contents, and with deferred writes the
// 4 KB blocks changed since the last Sync.
struct ImageFile {
  int fd = -1;
  std::vector<uint8_t> image;
  bool deferred = false;
  std::vector<bool> dirty;

  int WriteDirty() {
    const int64_t blocks = static_cast<int64_t>(dirty.size());
    for (int64_t b = 0; b < blocks;) {
      if (!dirty[b]) {
        ++b;
        continue;
      }
      int64_t e = b;
      while (e < blocks && dirty[e]) dirty[e++] = false;
      const int64_t from = b * kDirtyBlock;
      const int64_t to = std::min<int64_t>(e * kDirtyBlock, image.size());
      if (to > from)
        if (int err = PwriteAll(fd, from, image.data() + from, to - from); err != 0) return err;
      b = e;
    }
    return 0;
  }
};

class PosixFiles : public StorageFiles {
 public:
  int Create(const std::string& name, int& handle) override {
    return OpenWith(name, O_RDWR | O_CREAT | O_TRUNC, handle);
  }
  int Open(const std::string& name, int& handle) override { return OpenWith(name, O_RDWR, handle); }

  int Close(int handle) override {
    auto it = files_.find(handle);
    if (it == files_.end()) return EBADF;
    const int flushErr = it->second.WriteDirty();
    const int closeErr = ::close(handle) == 0 ? 0 : errno;
    files_.erase(it);
    return flushErr != 0 ? flushErr : closeErr;
  }

  int ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) override {
    done = 0;
    ImageFile* f = Find(handle);
    if (!f) return EBADF;
    if (offset < 0) return EINVAL;
    if (offset >= static_cast<int64_t>(f->image.size())) return 0;
    done = std::min<size_t>(n, f->image.size() - offset);
    std::memcpy(data, f->image.data() + offset, done);
    return 0;
  }

  int WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) override {
    done = 0;
    ImageFile* f = Find(handle);
    if (!f) return EBADF;
    if (offset < 0) return EINVAL;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!f->deferred)
      if (int err = PwriteAll(f->fd, offset, bytes, n); err != 0) return err;
    if (f->image.size() < offset + n) f->image.resize(offset + n);
    std::memcpy(f->image.data() + offset, bytes, n);
    if (f->deferred) MarkDirty(*f, offset, n);
    done = n;
    return 0;
  }

  int Size(int handle, int64_t& size) override {
    ImageFile* f = Find(handle);
    if (!f) return EBADF;
    size = static_cast<int64_t>(f->image.size());
    return 0;
  }

  int Sync(int handle) override {
    ImageFile* f = Find(handle);
    if (!f) return EBADF;
    if (int err = f->WriteDirty(); err != 0) return err;
    return ::fdatasync(handle) == 0 ? 0 : errno;
  }

  void DeferWrites(int handle) override {
    if (ImageFile* f = Find(handle)) f->deferred = true;
  }

 private:
  ImageFile* Find(int handle) {
    auto it = files_.find(handle);
    return it == files_.end() ? nullptr : &it->second;
  }

  static void MarkDirty(ImageFile& f, int64_t offset, size_t n) {
    const int64_t last = (offset + static_cast<int64_t>(n) - 1) / kDirtyBlock;
    if (static_cast<int64_t>(f.dirty.size()) <= last) f.dirty.resize(last + 1, false);
    for (int64_t b = offset / kDirtyBlock; b <= last; ++b) f.dirty[b] = true;
  }

  int OpenWith(const std::string& name, int flags, int& handle) {
    int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    ImageFile f;
    f.fd = fd;
    struct stat st {};
    int err = ::fstat(fd, &st) == 0 ? 0 : errno;
    size_t got = 0;
    if (err == 0) {
      f.image.resize(static_cast<size_t>(st.st_size));
      err = PreadAll(fd, 0, f.image.data(), f.image.size(), got);
      f.image.resize(got);
    }
    if (err != 0) {
      ::close(fd);
      return err;
    }
    handle = fd;
    files_[fd] = std::move(f);
    return 0;
  }

  std::map<int, ImageFile> files_;
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
