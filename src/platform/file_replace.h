#pragma once
// Small files replaced whole: written beside the old one, synced, and
// renamed over it with the folder synced after, so that after a power cut
// either the old or the new file is there, never a half-written or empty
// one.

#include <cstddef>
#include <string>

namespace vantu {

// Writes all of `size` bytes at `offset` of the open file `file`, retrying
// short writes. 0, or the error number.
int WriteAllAt(int file, const void* data, size_t size, long long offset);

// Creates or truncates `path` with `size` bytes and syncs them to disk.
// 0, or the error number of the call that failed.
int WriteFileSynced(const std::string& path, const void* data, size_t size);

// Syncs the folder that holds `path`, so that a rename in it is kept.
void SyncFolderOf(const std::string& path);

// Writes `tempPath`, renames it over `path` and syncs the folder. On a
// failure the temporary file is removed, `path` is left as it was, and
// the error number is returned; 0 on success.
int ReplaceFileWith(const std::string& path, const std::string& tempPath, const void* data,
                    size_t size);

// Writes `size` bytes at `offset` of the existing file `path`, without a
// sync and without ever creating the file. For small changes whose loss in
// a power cut does no harm. 0, or the error number of the call that failed.
int OverwriteInPlace(const std::string& path, size_t offset, const void* data, size_t size);

}  // namespace vantu
