#pragma once
// The key reader every module uses instead of ReadKey.

#include <cstdint>

namespace vantu {

uint8_t GetKey();

}  // namespace vantu
