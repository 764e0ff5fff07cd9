#include "storage/file_sets.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "session/selection_state.h"
#include "storage/file_io.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

struct AreaDescriptor {
  const char* base;
  int16_t keyLength;
  uint8_t kind;
};

const AreaDescriptor kDescriptors[kWorkAreaCount] = {
    {"", 0, kNoFile},           {"Apr01", 0, kSingleRecord},
    {"Apr02", 5, kIndexedFile}, {"Apr03", 6, kIndexedFile},
    {"Apr04", 5, kIndexedFile}, {"Apr05", 0, kPlainFile},
    {"Apr06", 5, kIndexedFile}, {"", 0, kNoFile},
    {"", 0, kNoFile},           {"", 0, kNoFile},
    {"", 0, kNoFile},
};

std::array<WorkArea, kWorkAreaCount> gAreas;

// All digits and not all zeros: the value is above 0. Checked byte by byte,
// since the recovery asks this of every record of a set.
bool PositiveNumber(std::string_view s) {
  if (s.empty()) return false;
  bool nonZero = false;
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
    nonZero = nonZero || c != '0';
  }
  return nonZero;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

WorkArea& Area(int n) {
  return gAreas.at(static_cast<size_t>(n));
}

void ResetWorkAreas() {
  for (auto& a : gAreas) a = WorkArea{};
  FileSetGuards() = FileSetGuard{};
  CallBeforeNextChange(nullptr);
}

std::string DataBaseName(int fileNo, const std::string& ext) {
  return "Apr0" + std::to_string(fileNo) + "dat." + ext;
}

std::string FindFileIn(const std::string& dir, const std::string& name) {
  const fs::path exact = fs::path(dir) / name;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.string();
  const std::string wanted = Lower(name);
  for (fs::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (Lower(it->path().filename().string()) == wanted) return it->path().string();
  }
  return exact.string();
}

std::string DataFileName(int fileNo, const std::string& ext) {
  return FindFileIn(Selection().DataDirectory, DataBaseName(fileNo, ext));
}

std::string IndexFileName(int fileNo, const std::string& ext) {
  return FindFileIn(Selection().DataDirectory, "Apr0" + std::to_string(fileNo) + "ixc." + ext);
}

bool WellFormedCode(const std::string& code) {
  switch (code.size()) {
    case 2:
      return PositiveNumber(code);
    case 5:
    case 6:
      return PositiveNumber(std::string_view(code).substr(0, 2)) &&
             PositiveNumber(std::string_view(code).substr(2));
    default:
      return false;
  }
}

void SetUpWorkArea(int n, int recordLength) {
  const AreaDescriptor& d = kDescriptors[n];
  WorkArea& a = Area(n);
  a = WorkArea{};
  a.BaseName = d.base;
  a.KeyLength = d.keyLength;
  a.FileKind = d.kind;
  a.RecordLength = static_cast<int16_t>(recordLength);
}

std::string RamaTitleLine(const std::string& code, const std::string& name) {
  const std::string shown = name.substr(0, 35);
  return "RAMA : [" + code + "] - " + (shown.empty() ? "<< Rama sin Nombre >>" : shown);
}

std::string ObraTitleLine(const std::string& code, const std::string& name) {
  const std::string shown = name.substr(0, 35);
  return "OBRA : " + code + " - " + (shown.empty() ? "<< Obra sin Nombre >>" : shown);
}

std::string BuildSetHeaderLine(const std::string& ramaName, const std::string& obraName) {
  const SelectionState& s = Selection();
  if (!s.ObraCode.empty()) return ObraTitleLine(s.ObraCode, obraName);
  return RamaTitleLine(s.RamaCode, ramaName);
}

}  // namespace vantu
