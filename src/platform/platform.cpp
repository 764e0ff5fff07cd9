#include "platform/platform.h"

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

}  // namespace vantu
