#pragma once
// Number, money and text helpers shared by every module.

#include <cstdint>
#include <string>

namespace vantu {

// Value of up to 20 characters; 0 when empty or not a number.
long double TextToReal(const std::string& s);
// The same for a 32-bit integer; 0 also when out of range.
int32_t TextToInt(const std::string& s);
// Decimal text of a 16-bit value, without padding.
std::string IntToText(int16_t n);

// Money rounding. All of it in long double; Int truncates toward zero.
// Int(x * 100 + 0.5) / 100.
long double RoundCents(long double x);
// Whole pesos (Int(x + 0.5)) when the "Ajuste al peso" preference is on,
// else RoundCents.
long double RoundMoney(long double x);
// RoundMoney with the preference given: whole pesos when toPeso.
long double RoundMoneyAs(long double x, bool toPeso);
// A price times a factor: a price with cents is rounded to cents, a
// whole-peso price stays a whole-peso price.
long double AdjustPrice(long double price, long double factor);

// Upper case of a-z, and ñ (241) to Ñ (209).
uint8_t UpperChar(uint8_t c);
// UpperChar over the first 80 characters.
std::string UpperText(const std::string& s);
// n copies of c; empty for n <= 0.
std::string RepeatChar(char c, int n);
// Removes one final backslash.
std::string StripTrailingBackslash(const std::string& s);

}  // namespace vantu
