#pragma once
// Number, money and text helpers shared by every module.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace vantu {

// Value of up to 20 characters; 0 when empty or not a number.
long double TextToReal(const std::string& s);
// The same for a 32-bit integer; 0 also when out of range.
int32_t TextToInt(const std::string& s);
// Decimal text of a 16-bit value, without padding.
std::string IntToText(int16_t n);

// Money rounding. All of it in long double; Int truncates toward zero.
// The calculation rounds millions of amounts per run: these are inline,
// and an amount already whole is recognised from its bits (see
// WholeAmount) without the multiplication, the truncation and the
// division, which give it back unchanged.

// True when x is a whole number, 0 <= x < 2^50, read from the bits of the
// x87 extended format; false says nothing. For such an x, x * 100 + 0.5 is
// exact and Int(x * 100 + 0.5) / 100 is x again.
inline bool WholeAmount(long double x) {
  if constexpr (LDBL_MANT_DIG != 64 || LDBL_MAX_EXP != 16384) {
    return false;
  } else {
    uint64_t mantissa = 0;
    uint16_t signExponent = 0;
    std::memcpy(&mantissa, &x, sizeof mantissa);
    std::memcpy(&signExponent, reinterpret_cast<const uint8_t*>(&x) + 8, sizeof signExponent);
    if (signExponent == 0) return mantissa == 0;  // +0; denormals fall through as "unknown"
    const int exponent = static_cast<int>(signExponent) - 16383;  // a sign bit makes it large
    if (exponent < 0 || exponent > 49) return false;
    // Without its integer bit the encoding is no number the arithmetic takes.
    if ((mantissa >> 63) == 0) return false;
    return (mantissa << (exponent + 1)) == 0;
  }
}

// std::trunc's exact result, bits included, without switching the x87
// rounding mode there and back as std::trunc does: rint gives one of the two
// whole numbers around x in any rounding mode, and the one beyond x is
// stepped back towards zero (exact, being whole). A zero result keeps x's
// sign; NaNs and infinities come back as rint leaves them, as from trunc.
inline long double TruncWhole(long double x) {
  const long double r = std::rint(x);
  long double t = r;
  if (x >= 0 ? r > x : r < x) t = x >= 0 ? r - 1 : r + 1;
  return t == 0 ? std::copysign(0.0L, x) : t;
}

// Int(x * 100 + 0.5) / 100.
inline long double RoundCents(long double x) {
  if (WholeAmount(x)) return x;
  return TruncWhole(x * 100.0L + 0.5L) / 100.0L;
}
// Whole pesos (Int(x + 0.5)) when the "Ajuste al peso" preference is on,
// else RoundCents.
long double RoundMoney(long double x);
// RoundMoney with the preference given: whole pesos when toPeso.
inline long double RoundMoneyAs(long double x, bool toPeso) {
  return toPeso ? TruncWhole(x + 0.5L) : RoundCents(x);
}
// A price times a factor: a price with cents is rounded to cents, a
// whole-peso price stays a whole-peso price.
inline long double AdjustPrice(long double price, long double factor) {
  if (WholeAmount(price)) return TruncWhole(price * factor + 0.5L);
  const long double p = TruncWhole(price * 100.0L + 0.5L) / 100.0L;
  if (p != TruncWhole(p)) return RoundCents(p * factor);
  return TruncWhole(p * factor + 0.5L);
}

// Upper case of a-z, and ñ (241) to Ñ (209).
uint8_t UpperChar(uint8_t c);
// UpperChar over the first 80 characters.
std::string UpperText(const std::string& s);
// n copies of c; empty for n <= 0.
std::string RepeatChar(char c, int n);
// Removes one final backslash.
std::string StripTrailingBackslash(const std::string& s);

}  // namespace vantu
