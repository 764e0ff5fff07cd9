#include "storage/guarded_copy.h"

#include <atomic>
#include <cstring>

#ifdef _WIN32

namespace vantu {

// Files are not mapped on Windows (see platform/file_system.h): no copy
// ever goes through a mapping.
bool PrepareGuardedCopies() {
  return false;
}

bool GuardedCopy(void* to, const void* from, size_t n) {
  std::memcpy(to, from, n);
  return true;
}

}  // namespace vantu

#else

#include <setjmp.h>
#include <signal.h>

namespace vantu {

namespace {

// The copy in progress on this thread, if any.
thread_local sigjmp_buf* volatile tGuard = nullptr;
struct sigaction gPrevious {};

void OnBusError(int sig, siginfo_t* info, void* context) {
  if (sigjmp_buf* guard = tGuard) {
    tGuard = nullptr;
    siglongjmp(*guard, 1);
  }
  // Not ours: hand the signal to the action that was there before.
  if (gPrevious.sa_flags & SA_SIGINFO) {
    if (gPrevious.sa_sigaction) return gPrevious.sa_sigaction(sig, info, context);
  } else if (gPrevious.sa_handler != SIG_DFL && gPrevious.sa_handler != SIG_IGN) {
    return gPrevious.sa_handler(sig);
  }
  // The default action: the faulting store runs again and ends the program.
  ::sigaction(SIGBUS, &gPrevious, nullptr);
}

bool Install() {
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  // SA_NODEFER: the handler leaves by siglongjmp without restoring the
  // signal mask, so SIGBUS must not be blocked while it runs.
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  return ::sigaction(SIGBUS, &action, &gPrevious) == 0;
}

}  // namespace

bool PrepareGuardedCopies() {
  static const bool installed = Install();
  return installed;
}

bool GuardedCopy(void* to, const void* from, size_t n) {
  sigjmp_buf guard;
  if (sigsetjmp(guard, 0) != 0) return false;
  tGuard = &guard;
  // The fences keep the copy between the two stores, as the handler sees them.
  std::atomic_signal_fence(std::memory_order_seq_cst);
  std::memcpy(to, from, n);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  tGuard = nullptr;
  return true;
}

}  // namespace vantu

#endif  // _WIN32
