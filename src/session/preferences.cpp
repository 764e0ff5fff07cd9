#include "session/preferences.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "console/console.h"
#include "platform/file_replace.h"
#include "platform/platform.h"
#include "session/shell_state.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

Preferences gPrefs;
std::function<void()> gRoundToPesoChanged;

constexpr const char* kDefaultDigits = "9876543210";
constexpr const char* kListingSetting = "15";

void PutString(ConfigRecord& record, size_t offset, const std::string& text) {
  record[offset] = static_cast<uint8_t>(text.size());
  std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset) + 1);
}

int16_t GetI16(const ConfigRecord& record, size_t offset) {
  return static_cast<int16_t>(record[offset] | (record[offset + 1] << 8));
}

void PutI16(ConfigRecord& record, size_t offset, int16_t value) {
  const auto u = static_cast<uint16_t>(value);
  record[offset] = static_cast<uint8_t>(u & 0xFF);
  record[offset + 1] = static_cast<uint8_t>(u >> 8);
}

Margins GetMargins(const ConfigRecord& record, size_t offset) {
  return {GetI16(record, offset), GetI16(record, offset + 2), GetI16(record, offset + 4)};
}

void PutMargins(ConfigRecord& record, size_t offset, const Margins& m) {
  PutI16(record, offset, m.top);
  PutI16(record, offset + 2, m.bottom);
  PutI16(record, offset + 4, m.left);
}

template <size_t N>
void GetFlags(const ConfigRecord& record, size_t offset, std::array<bool, N>& flags) {
  for (size_t i = 0; i < N; ++i) flags[i] = record[offset + i] != 0;
}

template <size_t N>
void PutFlags(ConfigRecord& record, size_t offset, const std::array<bool, N>& flags) {
  for (size_t i = 0; i < N; ++i) record[offset + i] = flags[i] ? 1 : 0;
}

// The program file's name up to ".exe" (any letter case), as the
// configuration file is named after it.
std::string ProgramName() {
  if (!Shell().programName.empty()) return Shell().programName;
  std::error_code ec;
  std::string name = fs::read_symlink("/proc/self/exe", ec).filename().string();
  if (ec || name.empty()) name = "vantu";
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const size_t exe = lower.find(".exe");
  return exe == std::string::npos ? name : name.substr(0, exe);
}

}  // namespace

Preferences& Prefs() {
  return gPrefs;
}
void ResetPrefs() {
  gPrefs = Preferences{};
}

ConfigRecord DefaultConfigRecord() {
  ConfigRecord record{};
  PutString(record, cfg::kDigitString, kDefaultDigits);
  PutString(record, cfg::kListingSetting, kListingSetting);
  for (size_t i = 15; i <= 17; ++i) record[i] = 1;
  for (size_t i = 354; i <= 366; ++i) record[i] = 1;
  return record;
}

Preferences DefaultPreferences() {
  return DecodePreferences(DefaultConfigRecord());
}

Preferences DecodePreferences(const ConfigRecord& record) {
  Preferences p;
  p.beepOff = record[cfg::kBeepOff] != 0;
  p.englishUnits = record[cfg::kEnglishUnits] != 0;
  p.oneAnalysisPerPage = record[cfg::kOneAnalysisPerPage] != 0;
  p.descriptionForPliegos = record[cfg::kDescriptionForPliegos] != 0;
  p.listUndefinedQuantities = record[cfg::kListUndefinedQuantities] != 0;
  p.roundToPeso = record[cfg::kRoundToPeso] != 0;
  p.dotMatrixPrinter = record[cfg::kDotMatrixPrinter] != 0;
  GetFlags(record, cfg::kTotalBudgetParts, p.totalBudgetParts);
  GetFlags(record, cfg::kTotalFormParts, p.totalFormParts);
  GetFlags(record, cfg::kTotalScheduleParts, p.totalScheduleParts);
  p.marginsBudget = GetMargins(record, cfg::kMarginsBudget);
  p.marginsScheduleShort = GetMargins(record, cfg::kMarginsScheduleShort);
  p.marginsScheduleLong = GetMargins(record, cfg::kMarginsScheduleLong);
  return p;
}

void EncodePreferences(const Preferences& p, ConfigRecord& record) {
  record[cfg::kBeepOff] = p.beepOff ? 1 : 0;
  record[cfg::kEnglishUnits] = p.englishUnits ? 1 : 0;
  record[cfg::kOneAnalysisPerPage] = p.oneAnalysisPerPage ? 1 : 0;
  record[cfg::kDescriptionForPliegos] = p.descriptionForPliegos ? 1 : 0;
  record[cfg::kListUndefinedQuantities] = p.listUndefinedQuantities ? 1 : 0;
  record[cfg::kRoundToPeso] = p.roundToPeso ? 1 : 0;
  record[cfg::kDotMatrixPrinter] = p.dotMatrixPrinter ? 1 : 0;
  PutFlags(record, cfg::kTotalBudgetParts, p.totalBudgetParts);
  PutFlags(record, cfg::kTotalFormParts, p.totalFormParts);
  PutFlags(record, cfg::kTotalScheduleParts, p.totalScheduleParts);
  PutMargins(record, cfg::kMarginsBudget, p.marginsBudget);
  PutMargins(record, cfg::kMarginsScheduleShort, p.marginsScheduleShort);
  PutMargins(record, cfg::kMarginsScheduleLong, p.marginsScheduleLong);
}

std::string ConfigFilePath() {
  return (fs::path(Shell().programDir) / (ProgramName() + "D.Cfg")).string();
}

std::optional<ConfigRecord> ReadConfigRecord() {
  std::ifstream in(std::filesystem::path(ConfigFilePath()), std::ios::binary);
  if (!in) return std::nullopt;
  ConfigRecord record = DefaultConfigRecord();
  in.read(reinterpret_cast<char*>(record.data()), kConfigRecordSize);
  if (in.bad()) return std::nullopt;
  return record;
}

bool WriteConfigRecord(const ConfigRecord& record) {
  // Written beside the file and renamed over it, so that an interrupted
  // write never leaves a half record.
  const fs::path path = ConfigFilePath();
  fs::path temp = path;
  temp += ".tmp";
  return ReplaceFileWith(path.string(), temp.string(), record.data(), kConfigRecordSize) == 0;
}

bool OverwriteConfigBytes(const ConfigRecord& record, size_t from, size_t to) {
  const fs::path path = ConfigFilePath();
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec || size < kConfigRecordSize || to > kConfigRecordSize || from >= to) {
    return WriteConfigRecord(record);
  }
  // A file that cannot be written in place (read-only) is replaced instead.
  return OverwriteInPlace(path.string(), from, record.data() + from, to - from) == 0 ||
         WriteConfigRecord(record);
}

void LoadPreferences() {
  std::optional<ConfigRecord> record = ReadConfigRecord();
  if (!record) {
    record = DefaultConfigRecord();
    WriteConfigRecord(*record);  // a program directory without write access keeps the defaults
  }
  gPrefs = DecodePreferences(*record);
  ApplyPreferences();
}

bool SavePreferences() {
  // The in-use fields are written by the file sets straight into the file,
  // so the stored record is the base, not a copy taken at start.
  ConfigRecord record = ReadConfigRecord().value_or(DefaultConfigRecord());
  EncodePreferences(gPrefs, record);
  return WriteConfigRecord(record);
}

void ApplyPreferences() {
  Screen().beepOff = gPrefs.beepOff;
  Host().UpdateListingMenus();
}

bool AcceptPreferences(const Preferences& edited) {
  const bool roundingChanged = edited.roundToPeso != gPrefs.roundToPeso;
  gPrefs = edited;
  Screen().beepOff = gPrefs.beepOff;
  if (roundingChanged && gRoundToPesoChanged) gRoundToPesoChanged();
  const bool saved = SavePreferences();
  Host().UpdateListingMenus();
  return saved;
}

std::function<void()>& RoundToPesoChangedHook() {
  return gRoundToPesoChanged;
}

void InstallPreferences() {
  Hooks().loadPreferences = LoadPreferences;
  RegisterCommand('B', [] { Host().EditPreferences(); });
}

}  // namespace vantu
