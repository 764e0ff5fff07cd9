#include "platform/platform.h"

#include <time.h>

#include <stdexcept>

namespace vantu {

namespace {
Platform* gHost = nullptr;
}

Platform& Host() {
  if (gHost == nullptr) throw std::logic_error("no host platform set");
  return *gHost;
}

void SetHost(Platform* host) {
  gHost = host;
}

// The coarse clock counts from the same origin as steady_clock's, without
// reading the processor's time counter.
std::chrono::steady_clock::time_point Platform::Now() {
#ifdef CLOCK_MONOTONIC_COARSE
  timespec t{};
  if (::clock_gettime(CLOCK_MONOTONIC_COARSE, &t) == 0)
    return std::chrono::steady_clock::time_point(std::chrono::seconds(t.tv_sec) +
                                                 std::chrono::nanoseconds(t.tv_nsec));
#endif
  return std::chrono::steady_clock::now();
}

}  // namespace vantu
