#pragma once
// The error file ("ApError", and "ApTemError" before it is renamed): a plain
// sequence of 19-byte records, numbered from 0, no header.
//
//   Off Size Field       Meaning
//    0   1   Hidden      1 once the record in error was deleted during the review
//    1   1   Severity    0 content ("CORREGIR"), 1 cross ("ERROR"), 2 warning ("ADVERTENCIA")
//    2   1   TargetKind  1 general, 2 basic inputs, 3 analyses, 4 subcontracts, 6 budget,
//                        7 analyses after a group change, 8/9 users of a code to delete
//    3   7   ErrCode     string[6]: length byte + 6 characters, padded code of the record
//   10   1   NameIndex   content: 1 chapter, 2 item; others: area name index of the details
//   11   7   details     content: i16 missing count (1-4) at 11, MissingItem bytes 13-16;
//                        others: string[6] naming the other record
//   18   1   Variant     0 record removed, 1 circular reference, 2 candidate for deletion
// Integers little-endian.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantu {

namespace errfile {
constexpr int kHidden = 0;
constexpr int kSeverity = 1;
constexpr int kTargetKind = 2;
constexpr int kErrCode = 3;
constexpr int kNameIndex = 10;
constexpr int kDetails = 11;
constexpr int kMissingCount = 11;
constexpr int kMissingItems = 13;
constexpr int kVariant = 18;
constexpr int kRecordSize = 19;
constexpr int kCodeCapacity = 6;
constexpr int kMaxMissing = 4;
static_assert(kErrCode + 1 + kCodeCapacity == kNameIndex);
static_assert(kDetails + 1 + kCodeCapacity == kVariant);
static_assert(kMissingItems + kMaxMissing == kVariant - 1);
static_assert(kVariant + 1 == kRecordSize);
}  // namespace errfile

enum ErrorSeverity : uint8_t { kSevContent = 0, kSevCross = 1, kSevWarning = 2 };

// One record of the file, decoded.
struct ErrorEntry {
  bool hidden = false;
  uint8_t severity = kSevContent;
  uint8_t targetKind = 0;
  std::string errCode;  // up to 6 characters
  uint8_t nameIndex = 0;
  // Content errors: up to four MissingItem values.
  std::vector<uint8_t> missing;
  // Cross errors and warnings: the other record (up to 6 characters).
  std::string detailsText;
  uint8_t variant = 0;
};

// Bytes of a record; the details hold `missing` for severity 0, else
// `detailsText`. Texts and lists are clipped to their capacities.
std::string EncodeErrorEntry(const ErrorEntry& r);
// The record in bytes [0, 19) of `bytes`; both views of the details are
// filled, each clipped to its capacity.
ErrorEntry DecodeErrorEntry(const std::string& bytes);

// All whole records of the file; empty when it cannot be read.
std::vector<ErrorEntry> ReadErrorFile(const std::string& path);
// Rewrites the file with these records; false on failure.
bool WriteErrorFile(const std::string& path, const std::vector<ErrorEntry>& records);
// Sets the Hidden byte of record `index`; false when there is no such record.
bool SetErrorHidden(const std::string& path, int index);

}  // namespace vantu
