#include "storage/memory_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vantu {

bool MemoryFiles::Due(int& countdown) {
  if (countdown <= 0) return false;
  return --countdown == 0;
}

MemoryFiles::Bytes* MemoryFiles::FileOf(int handle) {
  auto h = handles_.find(handle);
  if (h == handles_.end()) return nullptr;
  auto f = files_.find(h->second);
  return f == files_.end() ? nullptr : &f->second;
}

int MemoryFiles::Create(const std::string& name, int& handle) {
  if (name.empty()) return ENOENT;
  files_[name].clear();
  handle = nextHandle_++;
  handles_[handle] = name;
  return 0;
}

int MemoryFiles::Open(const std::string& name, int& handle) {
  if (!Exists(name)) return ENOENT;
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
  if (Due(failWrite_)) return writeErr_;
  if (offset < 0) return EINVAL;
  size_t allowed = n;
  if (writeBudget_ >= 0) allowed = std::min<size_t>(n, static_cast<size_t>(writeBudget_));
  if (allowed == 0) return ENOSPC;
  if (file->size() < offset + allowed) file->resize(offset + allowed);
  std::memcpy(file->data() + offset, data, allowed);
  if (writeBudget_ >= 0) writeBudget_ -= static_cast<int64_t>(allowed);
  done = allowed;
  return 0;
}

int MemoryFiles::Size(int handle, int64_t& size) {
  Bytes* file = FileOf(handle);
  if (!file) return EBADF;
  size = static_cast<int64_t>(file->size());
  return 0;
}

}  // namespace vantu
