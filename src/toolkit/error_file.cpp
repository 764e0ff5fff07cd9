#include "toolkit/error_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "session/pstring.h"

namespace vantu {

namespace {

using namespace errfile;

// string[n] at `off`: length byte, then n characters.
std::string ReadShortString(const std::string& bytes, int off, int capacity) {
  return ReadStr(reinterpret_cast<const uint8_t*>(bytes.data()) + off, capacity);
}

void WriteShortString(std::string& bytes, int off, int capacity, const std::string& text) {
  WriteStr(reinterpret_cast<uint8_t*>(bytes.data()) + off, capacity, text);
}

uint8_t Byte(const std::string& bytes, int off) {
  return static_cast<uint8_t>(bytes[off]);
}

}  // namespace

std::string EncodeErrorEntry(const ErrorEntry& r) {
  std::string b(kRecordSize, '\0');
  b[kHidden] = r.hidden ? 1 : 0;
  b[kSeverity] = static_cast<char>(r.severity);
  b[kTargetKind] = static_cast<char>(r.targetKind);
  WriteShortString(b, kErrCode, kCodeCapacity, r.errCode);
  b[kNameIndex] = static_cast<char>(r.nameIndex);
  if (r.severity == kSevContent) {
    int n = std::min<int>(static_cast<int>(r.missing.size()), kMaxMissing);
    b[kMissingCount] = static_cast<char>(n);
    b[kMissingCount + 1] = 0;
    for (int i = 0; i < n; ++i) b[kMissingItems + i] = static_cast<char>(r.missing[i]);
  } else {
    WriteShortString(b, kDetails, kCodeCapacity, r.detailsText);
  }
  b[kVariant] = static_cast<char>(r.variant);
  return b;
}

ErrorEntry DecodeErrorEntry(const std::string& bytes) {
  ErrorEntry r;
  if (bytes.size() < static_cast<size_t>(kRecordSize)) return r;
  r.hidden = Byte(bytes, kHidden) != 0;
  r.severity = Byte(bytes, kSeverity);
  r.targetKind = Byte(bytes, kTargetKind);
  r.errCode = ReadShortString(bytes, kErrCode, kCodeCapacity);
  r.nameIndex = Byte(bytes, kNameIndex);
  auto count =
      static_cast<int16_t>(Byte(bytes, kMissingCount) | Byte(bytes, kMissingCount + 1) << 8);
  int n = std::clamp<int>(count, 0, kMaxMissing);
  for (int i = 0; i < n; ++i) r.missing.push_back(Byte(bytes, kMissingItems + i));
  r.detailsText = ReadShortString(bytes, kDetails, kCodeCapacity);
  r.variant = Byte(bytes, kVariant);
  return r;
}

std::vector<ErrorEntry> ReadErrorFile(const std::string& path) {
  std::vector<ErrorEntry> records;
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return records;
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (size_t off = 0; off + kRecordSize <= all.size(); off += kRecordSize)
    records.push_back(DecodeErrorEntry(all.substr(off, kRecordSize)));
  return records;
}

bool WriteErrorFile(const std::string& path, const std::vector<ErrorEntry>& records) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  for (const ErrorEntry& r : records) out << EncodeErrorEntry(r);
  return static_cast<bool>(out.flush());
}

bool SetErrorHidden(const std::string& path, int index) {
  std::fstream f(std::filesystem::path(path), std::ios::binary | std::ios::in | std::ios::out);
  if (!f || index < 0) return false;
  f.seekg(0, std::ios::end);
  if (static_cast<long long>(f.tellg()) < (static_cast<long long>(index) + 1) * kRecordSize)
    return false;
  f.seekp(static_cast<std::streamoff>(index) * kRecordSize + kHidden);
  f.put(1);
  return static_cast<bool>(f.flush());
}

}  // namespace vantu
