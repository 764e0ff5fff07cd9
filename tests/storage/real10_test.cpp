#include "storage/real10.h"

#include <gtest/gtest.h>

namespace vantu {
namespace {

struct Case {
  const char* name;
  long double value;
  Real10 bytes;
};

// Bytes as an x87 FPU stores them (FSTP TBYTE).
const Case kCases[] = {
    {"one", 1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
    {"forty_one", 41.0L, {0, 0, 0, 0, 0, 0, 0, 0xA4, 0x04, 0x40}},
    {"forty_two", 42.0L, {0, 0, 0, 0, 0, 0, 0, 0xA8, 0x04, 0x40}},
    {"billion", 1e9L, {0, 0, 0, 0, 0, 0x28, 0x6B, 0xEE, 0x1C, 0x40}},
    {"minus_one_and_half", -1.5L, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xBF}},
    {"zero", 0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"minus_forty_two", -42.0L, {0, 0, 0, 0, 0, 0, 0, 0xA8, 0x04, 0xC0}},
};

TEST(Real10, KnownBytePatterns) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToReal10(c.value), c.bytes);
    EXPECT_EQ(FromReal10(c.bytes), c.value);
    EXPECT_EQ(PortableToReal10(c.value), c.bytes);
    EXPECT_EQ(PortableFromReal10(c.bytes), c.value);
  }
}

TEST(Real10, PortablePathRoundTripsAwkwardValues) {
  const long double values[] = {0.1L, -123456.789L, 1e-4000L, 1e4000L, 3.0L / 7.0L, 1e-4940L};
  for (long double v : values) {
    SCOPED_TRACE(static_cast<double>(v));
    EXPECT_EQ(PortableToReal10(v), ToReal10(v));
    EXPECT_EQ(PortableFromReal10(ToReal10(v)), v);
  }
}

TEST(Real10, LoadAndStoreAtOffset) {
  uint8_t buf[14] = {};
  StoreReal10(buf + 3, 42.0L);
  EXPECT_EQ(buf[10], 0xA8);
  EXPECT_EQ(LoadReal10(buf + 3), 42.0L);
}

}  // namespace
}  // namespace vantu
