#pragma once
// One entry of the error file "ApError" and of the warning file
// "ApTemError" (19 bytes; the files are plain sequences of these).
//
// Offset  Type     Field
//    0    byte     Hidden       1 once the record in error was deleted during
//                               the review; the review then skips the entry
//    1    byte     Severity     0 content ("CORREGIR"), 1 cross ("ERROR"),
//                               2 warning ("ADVERTENCIA")
//    2    byte     TargetKind   1 general, 2 inputs, 3 analyses, 4 subcontracts,
//                               6 budget, 7 group change, 8 and 9 deletion uses
//    3    str[6]   ErrCode      record in error, padded to 6; " ---- " for
//                               the general data
//   10    byte     NameIndex    content: 1 chapter, 2 item; otherwise the kind
//                               of the record named in the details
//   11    7 bytes  details, by severity:
//                    content:  i16 MissingCount at 11, MissingItem[1..4] at 13-16
//                    others:   str[6] OtherCode at 11-17 (broken reference,
//                              "------" for circularity, code to delete)
//   18    byte     Variant      0 removed, 1 circular, 2 candidate for deletion
//   19             end
// Header-only, so that the error review can use it without linking the
// estimating code.

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "estimating/record_fields.h"

namespace vantu {

struct ErrorRecord : RecordBytes<19> {};

namespace error_record {
inline constexpr uint8_t kContentError = 0;
inline constexpr uint8_t kCrossError = 1;
inline constexpr uint8_t kWarning = 2;

inline constexpr uint8_t kRemoved = 0;
inline constexpr uint8_t kCircular = 1;
inline constexpr uint8_t kDeletionCandidate = 2;

inline constexpr int kMaxMissing = 4;

inline constexpr ByteField<ErrorRecord> Hidden{0};
inline constexpr ByteField<ErrorRecord> Severity{1};
inline constexpr ByteField<ErrorRecord> TargetKind{2};
inline constexpr StrField<ErrorRecord> ErrCode{3, 6};
inline constexpr ByteField<ErrorRecord> NameIndex{10};
inline constexpr RawField<ErrorRecord> Details{11, 7};
inline constexpr I16Field<ErrorRecord> MissingCount{11};
inline constexpr StrField<ErrorRecord> OtherCode{11, 6};
inline constexpr ByteField<ErrorRecord> Variant{18};

// i = 1..4; out of range throws std::out_of_range.
constexpr ByteField<ErrorRecord> MissingItem(int i) {
  if (i < 1 || i > kMaxMissing) throw std::out_of_range("missing item");
  return {13 + i - 1};
}

static_assert(Hidden.offset == 0);
static_assert(Follows(Hidden, Severity) && Severity.offset == 1);
static_assert(Follows(Severity, TargetKind) && TargetKind.offset == 2);
static_assert(Follows(TargetKind, ErrCode) && ErrCode.offset == 3);
static_assert(Follows(ErrCode, NameIndex) && NameIndex.offset == 10);
static_assert(Follows(NameIndex, Details) && Details.offset == 11);
static_assert(MissingCount.offset == Details.offset);
static_assert(Follows(MissingCount, MissingItem(1)) && MissingItem(1).offset == 13);
static_assert(End(MissingItem(kMaxMissing)) <= End(Details));
static_assert(OtherCode.offset == Details.offset && End(OtherCode) == End(Details));
static_assert(Follows(Details, Variant) && Variant.offset == 18);
static_assert(End(Variant) == ErrorRecord::kSize && ErrorRecord::kSize == 19);
}  // namespace error_record
static_assert(sizeof(ErrorRecord) == 19);

// The MissingItem values of a content error; a count read from the file is
// clipped to 0..4.
inline std::vector<uint8_t> MissingItems(const ErrorRecord& r) {
  using namespace error_record;
  const int count = std::clamp<int>(Get(r, MissingCount), 0, kMaxMissing);
  std::vector<uint8_t> items;
  for (int i = 1; i <= count; ++i) items.push_back(Get(r, MissingItem(i)));
  return items;
}

// Writes the count and up to four values; the rest of the details is zeroed.
inline void SetMissingItems(ErrorRecord& r, const std::vector<uint8_t>& items) {
  using namespace error_record;
  const int count = std::min<int>(static_cast<int>(items.size()), kMaxMissing);
  for (int i = Details.offset; i < End(Details); ++i) r.bytes[i] = 0;
  Set(r, MissingCount, static_cast<int16_t>(count));
  for (int i = 1; i <= count; ++i) Set(r, MissingItem(i), items[i - 1]);
}

}  // namespace vantu
