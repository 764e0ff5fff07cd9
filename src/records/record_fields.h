#pragma once
// Typed fields of fixed-length records.
//
// A record is a plain byte buffer (RecordBytes<N>); a layout is a set of
// constexpr field descriptors, each an offset (and a capacity for strings)
// tagged with the record type it belongs to. Get and Set accept a field only
// on a record derived from its tag, so a budget field cannot be applied to a
// subcontract buffer although both are 144 bytes long.
//
// Field encodings:
//   byte    1 byte, unsigned
//   i16     2 bytes, signed, little-endian
//   ext     10 bytes, 80-bit x87 extended real, little-endian
//   str[n]  1 length byte, then n bytes of Windows-1252 text
//
// Strings are clipped to their capacity when written and when read (a length
// byte above the capacity on disk reads as a full string), and the unused
// tail of a written string is zeroed so equal values give equal bytes.
// The encodings are the storage engine's own helpers (GetI16/PutI16,
// ReadStr/WriteStr, LoadReal10/StoreReal10, the last copied in place where
// long double is that format); this file only places them.

#include <array>
#include <cfloat>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "session/pstring.h"
#include "storage/real10.h"
#include "storage/record_file.h"

namespace vantu {

template <int N>
struct RecordBytes {
  static constexpr int kSize = N;
  std::array<uint8_t, N> bytes{};

  uint8_t* data() { return bytes.data(); }
  const uint8_t* data() const { return bytes.data(); }
};

template <class Tag>
struct ByteField {
  int offset;
};
template <class Tag>
struct I16Field {
  int offset;
};
template <class Tag>
struct ExtField {
  int offset;
};
template <class Tag>
struct StrField {
  int offset;
  int capacity;
};
// Bytes the layout keeps without reading them (reserved areas).
template <class Tag>
struct RawField {
  int offset;
  int width;
};
// A nested fixed-size record (Sub) stored inside Tag's record.
template <class Tag, class Sub>
struct SubField {
  int offset;
};

template <class Tag>
constexpr int Width(ByteField<Tag>) {
  return 1;
}
template <class Tag>
constexpr int Width(I16Field<Tag>) {
  return 2;
}
template <class Tag>
constexpr int Width(ExtField<Tag>) {
  return 10;
}
template <class Tag>
constexpr int Width(StrField<Tag> f) {
  return f.capacity + 1;
}
template <class Tag>
constexpr int Width(RawField<Tag> f) {
  return f.width;
}
template <class Tag, class Sub>
constexpr int Width(SubField<Tag, Sub>) {
  return Sub::kSize;
}

// First byte after the field.
template <class F>
constexpr int End(F f) {
  return f.offset + Width(f);
}
// True when b starts right where a ends: layouts assert this field by field.
template <class A, class B>
constexpr bool Follows(A a, B b) {
  return End(a) == b.offset;
}

template <class R, class Tag>
concept HasFieldsOf = std::derived_from<R, Tag>;

template <class R, class Tag>
requires HasFieldsOf<R, Tag> uint8_t Get(const R& r, ByteField<Tag> f) {
  return r.bytes[f.offset];
}
template <class R, class Tag>
requires HasFieldsOf<R, Tag>
void Set(R& r, ByteField<Tag> f, uint8_t value) {
  r.bytes[f.offset] = value;
}

template <class R, class Tag>
requires HasFieldsOf<R, Tag> int16_t Get(const R& r, I16Field<Tag> f) {
  return GetI16(r.data() + f.offset);
}
template <class R, class Tag>
requires HasFieldsOf<R, Tag>
void Set(R& r, I16Field<Tag> f, int16_t value) {
  PutI16(r.data() + f.offset, value);
}

// Where long double is the x87 format its first 10 bytes are the stored
// layout, and an ext field is read and written in place: the calculation
// reads millions of them per run, and a call into the storage engine for
// each costs more than the copy itself. The bytes are those LoadReal10 and
// StoreReal10 give and take.
inline constexpr bool kNativeExtLayout = LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384;
inline long double ReadExt(const uint8_t* p) {
  if constexpr (kNativeExtLayout) {
    long double v = 0;
    std::memcpy(&v, p, 10);
    return v;
  } else {
    return LoadReal10(p);
  }
}
inline void WriteExt(uint8_t* p, long double value) {
  if constexpr (kNativeExtLayout)
    std::memcpy(p, &value, 10);
  else
    StoreReal10(p, value);
}

template <class R, class Tag>
requires HasFieldsOf<R, Tag>
long double Get(const R& r, ExtField<Tag> f) {
  return ReadExt(r.data() + f.offset);
}
template <class R, class Tag>
requires HasFieldsOf<R, Tag>
void Set(R& r, ExtField<Tag> f, long double value) {
  WriteExt(r.data() + f.offset, value);
}

template <class R, class Tag>
requires HasFieldsOf<R, Tag> std::string Get(const R& r, StrField<Tag> f) {
  return ReadStr(r.data() + f.offset, f.capacity);
}
template <class R, class Tag>
requires HasFieldsOf<R, Tag>
void Set(R& r, StrField<Tag> f, std::string_view text) {
  WriteStr(r.data() + f.offset, f.capacity, text);
}

template <class R, class Tag, class Sub>
requires HasFieldsOf<R, Tag> Sub Get(const R& r, SubField<Tag, Sub> f) {
  Sub sub{};
  for (int i = 0; i < Sub::kSize; ++i) sub.bytes[i] = r.bytes[f.offset + i];
  return sub;
}
template <class R, class Tag, class Sub>
requires HasFieldsOf<R, Tag>
void Set(R& r, SubField<Tag, Sub> f, const Sub& sub) {
  for (int i = 0; i < Sub::kSize; ++i) r.bytes[f.offset + i] = sub.bytes[i];
}

// Set, telling whether a stored byte changed: a record rewritten with the
// bytes it holds need not be written back.
template <class R, class F, class V>
bool SetChanged(R& r, F f, const V& value) {
  constexpr int kMostBytes = 256;
  const int width = Width(f);
  if (width > kMostBytes) {
    Set(r, f, value);
    return true;
  }
  uint8_t before[kMostBytes];
  std::memcpy(before, r.data() + f.offset, static_cast<size_t>(width));
  Set(r, f, value);
  return std::memcmp(before, r.data() + f.offset, static_cast<size_t>(width)) != 0;
}

}  // namespace vantu
