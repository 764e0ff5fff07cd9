#include "storage/real10.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace vantu {

namespace {

// Where long double is the x87 format, its first 10 bytes are the layout.
constexpr bool kNativeX87 = LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384;

Real10 Pack(bool negative, int exponent, uint64_t mantissa) {
  Real10 b{};
  for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(mantissa >> (8 * i));
  uint16_t se = static_cast<uint16_t>((negative ? 0x8000 : 0) | (exponent & 0x7FFF));
  b[8] = static_cast<uint8_t>(se);
  b[9] = static_cast<uint8_t>(se >> 8);
  return b;
}

// Portable encoding from the value's parts.
Real10 Encode(long double v) {
  const bool neg = std::signbit(v);
  if (std::isnan(v)) return Pack(neg, 0x7FFF, 0xC000000000000000ULL);
  if (std::isinf(v)) return Pack(neg, 0x7FFF, 0x8000000000000000ULL);
  if (v == 0) return Pack(neg, 0, 0);
  int exp = 0;
  long double frac = std::frexp(std::fabs(v), &exp);  // [0.5, 1)
  int biased = exp - 1 + 16383;
  if (biased <= 0) {  // denormal: shift the significand right
    frac = std::ldexp(frac, biased - 1);
    biased = 0;
  }
  uint64_t mant = static_cast<uint64_t>(std::ldexp(frac, 64));
  return Pack(neg, biased, mant);
}

long double Decode(const Real10& b) {
  uint64_t mant = 0;
  for (int i = 7; i >= 0; --i) mant = (mant << 8) | b[i];
  const uint16_t se = static_cast<uint16_t>(b[8] | (b[9] << 8));
  const bool neg = se & 0x8000;
  const int exp = se & 0x7FFF;
  long double v;
  if (exp == 0x7FFF)
    v = (mant << 1) == 0 ? HUGE_VALL : NAN;
  else if (exp == 0)
    v = std::ldexp(static_cast<long double>(mant), -16382 - 63);
  else
    v = std::ldexp(static_cast<long double>(mant), exp - 16383 - 63);
  return neg ? -v : v;
}

}  // namespace

Real10 ToReal10(long double value) {
  if constexpr (kNativeX87) {
    Real10 b{};
    std::memcpy(b.data(), &value, b.size());
    return b;
  } else {
    return Encode(value);
  }
}

long double FromReal10(const Real10& bytes) {
  if constexpr (kNativeX87) {
    long double v = 0;
    std::memcpy(&v, bytes.data(), bytes.size());
    return v;
  } else {
    return Decode(bytes);
  }
}

long double LoadReal10(const uint8_t* p) {
  Real10 b;
  std::memcpy(b.data(), p, b.size());
  return FromReal10(b);
}

void StoreReal10(uint8_t* p, long double value) {
  Real10 b = ToReal10(value);
  std::memcpy(p, b.data(), b.size());
}

// The portable path is kept compiled and tested on every machine.
Real10 PortableToReal10(long double value) {
  return Encode(value);
}
long double PortableFromReal10(const Real10& bytes) {
  return Decode(bytes);
}

}  // namespace vantu
