#include "storage/memory_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vantu {

bool MemoryFiles::Due(int& countdown) {
  if (countdown <= 0) return false;
  return --countdown == 0;
}

const std::string* MemoryFiles::NameOf(int handle) const {
  auto h = handles_.find(handle);
  return h == handles_.end() ? nullptr : &h->second;
}

MemoryFiles::Bytes* MemoryFiles::FileOf(int handle) {
  const std::string* name = NameOf(handle);
  if (!name) return nullptr;
  auto f = files_.find(*name);
  return f == files_.end() ? nullptr : &f->second;
}

bool MemoryFiles::IsOpen(const std::string& name) const {
  for (const auto& [h, n] : handles_)
    if (n == name) return true;
  return false;
}

void MemoryFiles::TakeStopImage() {
  if (stopKind_ == StopKind::kKill) {
    stopImage_ = files_;
    return;
  }
  // A power cut keeps what was synced; a file never synced is left empty.
  Image image;
  for (const auto& [name, bytes] : files_) {
    auto s = synced_.find(name);
    image[name] = s == synced_.end() ? Bytes{} : s->second;
  }
  stopImage_ = std::move(image);
}

void MemoryFiles::RestoreStopImage() {
  if (stopImage_) files_ = *stopImage_;
  synced_ = files_;
  stopImage_.reset();
  stopAt_ = 0;
  ForgetHandles();
}

int MemoryFiles::Create(const std::string& name, int& handle) {
  if (name.empty()) return ENOENT;
  if (auto r = refused_.find(name); r != refused_.end()) return r->second;
  if (IsOpen(name)) return EBUSY;
  files_[name].clear();
  handle = nextHandle_++;
  handles_[handle] = name;
  return 0;
}

int MemoryFiles::Open(const std::string& name, int& handle) {
  if (!Exists(name)) return ENOENT;
  if (auto r = refused_.find(name); r != refused_.end()) return r->second;
  if (IsOpen(name)) return EBUSY;
  handle = nextHandle_++;
  handles_[handle] = name;
  return 0;
}

int MemoryFiles::Close(int handle) {
  return handles_.erase(handle) ? 0 : EBADF;
}

int MemoryFiles::ReadAt(int handle, int64_t offset, void* data, size_t n, size_t& done) {
  done = 0;
  ++reads_;
  Bytes* file = FileOf(handle);
  if (!file) return EBADF;
  if (Due(failRead_)) return readErr_;
  if (offset < 0) return EINVAL;
  if (offset >= static_cast<int64_t>(file->size())) return 0;
  done = std::min(n, file->size() - static_cast<size_t>(offset));
  std::memcpy(data, file->data() + offset, done);
  return 0;
}

int MemoryFiles::WriteAt(int handle, int64_t offset, const void* data, size_t n, size_t& done) {
  done = 0;
  ++writes_;
  Bytes* file = FileOf(handle);
  if (!file) return EBADF;
  if (Due(stopAt_)) TakeStopImage();
  if (Due(failWrite_)) return writeErr_;
  if (offset < 0) return EINVAL;
  size_t allowed = n;
  if (Due(diskFullAt_)) diskFull_ = true;
  const int64_t end = offset + static_cast<int64_t>(n);
  const int64_t size = static_cast<int64_t>(file->size());
  if (diskFull_ && end > size) {
    // The first write that grows a file gets half of its new bytes in.
    const int64_t growth = end - std::max(offset, size);
    if (spareBytes_ < 0) spareBytes_ = growth / 2;
    const int64_t fits = std::min(growth, spareBytes_);
    spareBytes_ -= fits;
    allowed = static_cast<size_t>(std::max(offset, size) - offset + fits);
  }
  const bool full = allowed < n && diskFull_;
  if (full && firstFullWrite_ == 0) firstFullWrite_ = writes_;
  if (writeBudget_ >= 0) allowed = std::min<size_t>(allowed, static_cast<size_t>(writeBudget_));
  if (allowed > 0) {
    if (file->size() < offset + allowed) file->resize(offset + allowed);
    std::memcpy(file->data() + offset, data, allowed);
  }
  if (writeBudget_ >= 0) writeBudget_ -= static_cast<int64_t>(allowed);
  done = allowed;
  if (allowed < n) return full || writeBudget_ == 0 ? ENOSPC : 0;
  return 0;
}

int MemoryFiles::Size(int handle, int64_t& size) {
  Bytes* file = FileOf(handle);
  if (!file) return EBADF;
  size = static_cast<int64_t>(file->size());
  return 0;
}

int MemoryFiles::Truncate(int handle, int64_t size) {
  Bytes* file = FileOf(handle);
  if (!file) return EBADF;
  if (size < 0) return EINVAL;
  file->resize(static_cast<size_t>(size));
  return 0;
}

int MemoryFiles::Sync(int handle) {
  const std::string* name = NameOf(handle);
  if (!name) return EBADF;
  synced_[*name] = files_[*name];
  return 0;
}

}  // namespace vantu
