#pragma once
// Length-prefixed strings as stored in records: one length byte, then a
// fixed capacity of characters. Reading clips a length byte above the
// capacity; writing clips the text and zeroes the unused tail, so equal
// values give equal bytes.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vantu {

inline std::string ReadStr(const uint8_t* p, int capacity) {
  const int length = std::min<int>(p[0], capacity);
  return std::string(reinterpret_cast<const char*>(p + 1), static_cast<size_t>(length));
}

inline void WriteStr(uint8_t* p, int capacity, std::string_view text) {
  const size_t length = std::min(text.size(), static_cast<size_t>(capacity));
  p[0] = static_cast<uint8_t>(length);
  if (length > 0) std::memcpy(p + 1, text.data(), length);
  std::memset(p + 1 + length, 0, static_cast<size_t>(capacity) - length);
}

}  // namespace vantu
