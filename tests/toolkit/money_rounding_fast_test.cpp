// The inline money rounding recognises whole amounts from their bits and
// skips the arithmetic for them; every result must still be the one the
// plain formulas give, to the last bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "toolkit/numbers.h"

namespace vantu {
namespace {

// The formulas written out with no shortcut.
long double PlainCents(long double x) {
  return std::trunc(x * 100.0L + 0.5L) / 100.0L;
}
long double PlainAdjust(long double price, long double factor) {
  const long double p = PlainCents(price);
  if (p != std::trunc(p)) return PlainCents(p * factor);
  return std::trunc(p * factor + 0.5L);
}

// Same value bits (the 10 bytes a record stores); NaNs of any payload agree.
bool SameBits(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, 10) == 0;
}

// Amounts of every kind the calculation meets, and the edges of the
// shortcut: whole and with cents, negative, zero of both signs, around
// 2^50, tiny, huge and not finite.
std::vector<long double> Amounts() {
  std::mt19937_64 rng(20261207);
  std::vector<long double> v = {0.0L,
                                -0.0L,
                                1.0L,
                                -1.0L,
                                0.5L,
                                -2.25L,
                                1000.0L,
                                10.50L,
                                std::ldexp(1.0L, 49),
                                std::ldexp(1.0L, 50) - 1,
                                std::ldexp(1.0L, 50),
                                std::ldexp(1.0L, 50) + 1,
                                std::ldexp(1.0L, 63),
                                std::numeric_limits<long double>::denorm_min(),
                                std::numeric_limits<long double>::min(),
                                std::numeric_limits<long double>::max(),
                                std::numeric_limits<long double>::infinity(),
                                -std::numeric_limits<long double>::infinity(),
                                std::numeric_limits<long double>::quiet_NaN()};
  // Encodings a damaged record may hold: a whole-looking exponent without
  // the integer bit, which the arithmetic refuses.
  for (uint64_t mantissa : {uint64_t{0}, uint64_t{1} << 62}) {
    long double x = 0;
    const uint16_t exponent = 16383 + 5;
    std::memcpy(&x, &mantissa, sizeof mantissa);
    std::memcpy(reinterpret_cast<uint8_t*>(&x) + 8, &exponent, sizeof exponent);
    v.push_back(x);
  }
  std::uniform_int_distribution<int64_t> whole(0, int64_t{1} << 52);
  std::uniform_int_distribution<int> shift(0, 52);
  std::uniform_int_distribution<int64_t> cents(-100000000, 100000000);
  std::uniform_real_distribution<double> any(-1e7, 1e7);
  for (int i = 0; i < 20000; ++i) {
    const auto w = static_cast<long double>(whole(rng) >> shift(rng));
    v.push_back(w);
    v.push_back(-w);
    v.push_back(w + 0.5L);
    v.push_back(static_cast<long double>(cents(rng)) / 100.0L);
    v.push_back(static_cast<long double>(any(rng)) * 1.0000001L);
  }
  return v;
}

// Around every whole number and at the edges of the formats: both signs,
// halves (where rint goes to the even one), just below and above 2^62, 2^63
// and 2^64, and random encodings, damaged ones among them.
TEST(MoneyRoundingShortcut, TruncWholeGivesStdTruncsBits) {
  std::vector<long double> v = Amounts();
  for (long double x : {0.7L, -0.7L, 0.3L, -0.3L, 1.5L, -1.5L, 2.5L, -2.5L, 0.49999L})
    v.push_back(x);
  for (int e : {52, 62, 63, 64})
    for (long double d : {-1.5L, -1.0L, -0.5L, 0.0L, 0.5L, 1.0L, 1.5L}) {
      v.push_back(std::ldexp(1.0L, e) + d);
      v.push_back(-std::ldexp(1.0L, e) + d);
    }
  std::mt19937_64 rng(99);
  for (int i = 0; i < 20000; ++i) {
    long double x = 0;
    const uint64_t mantissa = rng();
    const auto exponent =
        static_cast<uint16_t>((rng() % 2 ? 0x8000 : 0) | (16383 + rng() % 70 - 5));
    std::memcpy(&x, &mantissa, sizeof mantissa);
    std::memcpy(reinterpret_cast<uint8_t*>(&x) + 8, &exponent, sizeof exponent);
    v.push_back(x);
  }
  for (long double x : v)
    ASSERT_TRUE(SameBits(TruncWhole(x), std::trunc(x))) << static_cast<double>(x);
}

TEST(MoneyRoundingShortcut, RoundCentsGivesThePlainFormulasBits) {
  for (long double x : Amounts())
    ASSERT_TRUE(SameBits(RoundCents(x), PlainCents(x))) << static_cast<double>(x);
}

TEST(MoneyRoundingShortcut, RoundMoneyAsGivesThePlainFormulasBits) {
  for (long double x : Amounts()) {
    ASSERT_TRUE(SameBits(RoundMoneyAs(x, false), PlainCents(x))) << static_cast<double>(x);
    ASSERT_TRUE(SameBits(RoundMoneyAs(x, true), std::trunc(x + 0.5L))) << static_cast<double>(x);
  }
}

TEST(MoneyRoundingShortcut, AdjustPriceGivesThePlainFormulasBits) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> spread(0.0, 3.0);
  std::vector<long double> factors = {1.0L, 1.15L, 1.25L, 0.0L, -1.1L, 100.0L};
  for (int i = 0; i < 8; ++i) factors.push_back(static_cast<long double>(spread(rng)) / 1.1L);
  const std::vector<long double> amounts = Amounts();
  for (long double f : factors)
    for (long double x : amounts)
      ASSERT_TRUE(SameBits(AdjustPrice(x, f), PlainAdjust(x, f)))
          << static_cast<double>(x) << " x " << static_cast<double>(f);
}

TEST(MoneyRoundingShortcut, WholeAmountNeverClaimsAFractionOrANegative) {
  for (long double x : Amounts()) {
    if (!WholeAmount(x)) continue;
    EXPECT_EQ(x, std::trunc(x)) << static_cast<double>(x);
    EXPECT_FALSE(std::signbit(x)) << static_cast<double>(x);
    EXPECT_LT(x, std::ldexp(1.0L, 50)) << static_cast<double>(x);
  }
  EXPECT_TRUE(WholeAmount(0.0L));
  EXPECT_TRUE(WholeAmount(1234567.0L));
  EXPECT_FALSE(WholeAmount(0.25L));
  EXPECT_FALSE(WholeAmount(-3.0L));
}

}  // namespace
}  // namespace vantu
