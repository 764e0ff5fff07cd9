#pragma once
// Checks a record layout against bytes built by hand. Each step sets one
// field through the layout and writes the bytes it must produce at the
// offset taken from the byte table; Verify compares whole records and reads
// every value back from the hand-built bytes. Both buffers start filled with
// a pattern, so a field that spills into a neighbour, or a byte no field
// should touch, shows up as a difference.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "records/record_fields.h"
#include "storage/real10.h"

namespace vantu {

template <class R>
class LayoutCheck {
 public:
  static constexpr uint8_t kFill = 0xA5;

  LayoutCheck() {
    rec_.bytes.fill(kFill);
    want_.bytes.fill(kFill);
  }

  template <class F>
  void Byte(F f, int offset, uint8_t v) {
    Set(rec_, f, v);
    want_.bytes[offset] = v;
    AddRead(offset, [f, v](const R& r) { EXPECT_EQ(Get(r, f), v); });
  }

  template <class F>
  void I16(F f, int offset, int16_t v) {
    Set(rec_, f, v);
    const auto u = static_cast<uint16_t>(v);
    want_.bytes[offset] = static_cast<uint8_t>(u & 0xFF);
    want_.bytes[offset + 1] = static_cast<uint8_t>(u >> 8);
    AddRead(offset, [f, v](const R& r) { EXPECT_EQ(Get(r, f), v); });
  }

  template <class F>
  void Ext(F f, int offset, long double v) {
    Set(rec_, f, v);
    const Real10 raw = ToReal10(v);
    std::memcpy(want_.bytes.data() + offset, raw.data(), raw.size());
    AddRead(offset, [f, v](const R& r) { EXPECT_EQ(Get(r, f), v); });
  }

  // capacity comes from the byte table: the written string clears it all.
  template <class F>
  void Str(F f, int offset, int capacity, const std::string& v) {
    Set(rec_, f, v);
    want_.bytes[offset] = static_cast<uint8_t>(v.size());
    for (int i = 0; i < capacity; ++i)
      want_.bytes[offset + 1 + i] = i < static_cast<int>(v.size()) ? v[i] : 0;
    AddRead(offset, [f, v](const R& r) { EXPECT_EQ(Get(r, f), v); });
  }

  template <class F, class Sub>
  void Nested(F f, int offset, const Sub& v) {
    Set(rec_, f, v);
    std::memcpy(want_.bytes.data() + offset, v.data(), Sub::kSize);
    AddRead(offset, [f, v](const R& r) { EXPECT_EQ(Get(r, f).bytes, v.bytes); });
  }

  const R& record() const { return rec_; }

  void Verify() const {
    for (int i = 0; i < R::kSize; ++i) {
      SCOPED_TRACE("byte " + std::to_string(i));
      EXPECT_EQ(rec_.bytes[i], want_.bytes[i]);
    }
    for (const auto& read : reads_) read(want_);
  }

 private:
  void AddRead(int offset, std::function<void(const R&)> check) {
    reads_.push_back([offset, check](const R& r) {
      SCOPED_TRACE("field at " + std::to_string(offset));
      check(r);
    });
  }

  R rec_{};
  R want_{};
  std::vector<std::function<void(const R&)>> reads_;
};

}  // namespace vantu
