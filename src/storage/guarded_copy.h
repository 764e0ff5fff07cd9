#pragma once
// Copies to and from a shared mapping of a file that survive the mapping
// failing under them.
//
// A store into a mapped page can fail where a pwrite would have returned an
// error: a copy-on-write file system with a full disk, an I/O error, a file
// cut by another program. The kernel then raises SIGBUS instead of
// returning a code. During a guarded copy that signal is caught and the
// copy reports failure, so that the caller repeats the transfer with
// pread/pwrite and gets the operating system's own error (ENOSPC, EIO) to
// report through the engine's error box, as before. Outside a guarded copy
// SIGBUS keeps whatever action it had.

#include <cstddef>

namespace vantu {

// Installs the SIGBUS handler once; false when it cannot be installed, in
// which case callers must not copy through mappings.
bool PrepareGuardedCopies();

// memcpy(to, from, n); false when the mapping raised SIGBUS part way (some
// bytes may have been copied; the caller redoes the whole transfer).
bool GuardedCopy(void* to, const void* from, size_t n);

}  // namespace vantu
