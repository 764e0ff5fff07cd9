#pragma once
// 80-bit x87 extended reals as stored on disk: 10 bytes, little-endian,
//   bytes 0..7  significand with the explicit integer bit (bit 63)
//   bytes 8..9  bit 15 sign, bits 0..14 exponent biased by 16383
// In memory the value is a long double.

#include <array>
#include <cstdint>

namespace vantu {

using Real10 = std::array<uint8_t, 10>;

Real10 ToReal10(long double value);
long double FromReal10(const Real10& bytes);

// Reads or writes 10 bytes at p.
long double LoadReal10(const uint8_t* p);
void StoreReal10(uint8_t* p, long double value);

}  // namespace vantu

namespace vantu {
// The conversion without relying on the machine's long double layout.
Real10 PortableToReal10(long double value);
long double PortableFromReal10(const Real10& bytes);
}  // namespace vantu
