#pragma once
// The user's preferences as the program reads them while it runs. They are
// loaded from the configuration record at start and changed by the
// preferences dialog (command B).
//
// Configuration record: one record of 614 bytes in the file named after the
// program file plus "D.Cfg", in the program directory. Strings are
// length-prefixed; booleans are bytes 0/1; i16 are little-endian.
//
//   offset  width  field                              new file
//   0       11     string[10] ten-digit string        "9876543210" (nothing reads it)
//   11      1      BeepOff                            0
//   12      1      EnglishUnits; also the number      0
//                  style (0 decimal comma, 1 point)
//   13      1      OneAnalysisPerPage                 0
//   14      1      (not used)                         0
//   15      1      DescriptionForPliegos              1
//   16      1      ListUndefinedQuantities            1
//   17      1      RoundToPeso                        1
//   18      1      DotMatrixPrinter                   0
//   19      3      string[2] listing setting          "15"
//   22      332    in-use fields of the file sets     0 (kept by their owner:
//                  (directory, Rama, Obra, last          read and write the whole
//                  directory)                            record, see below)
//   354     7      TotalBudgetParts                   1 each
//   361     3      TotalFormParts                     1 each
//   364     4      TotalScheduleParts                 1, 1, 1, 0
//   368     3×i16  MarginsBudget (top, bottom, left)  0
//   374     3×i16  MarginsScheduleShort               0
//   380     3×i16  MarginsScheduleLong                0
//   386     1      cleared with the in-use fields     0
//   387     227    (not used)                         0

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vantu {

constexpr size_t kConfigRecordSize = 614;
using ConfigRecord = std::array<uint8_t, kConfigRecordSize>;

namespace cfg {
constexpr size_t kDigitString = 0;
constexpr size_t kBeepOff = 11;
constexpr size_t kEnglishUnits = 12;
constexpr size_t kOneAnalysisPerPage = 13;
constexpr size_t kDescriptionForPliegos = 15;
constexpr size_t kListUndefinedQuantities = 16;
constexpr size_t kRoundToPeso = 17;
constexpr size_t kDotMatrixPrinter = 18;
constexpr size_t kListingSetting = 19;
constexpr size_t kInUseFields = 22;
constexpr size_t kTotalBudgetParts = 354;
constexpr size_t kTotalFormParts = 361;
constexpr size_t kTotalScheduleParts = 364;
constexpr size_t kMarginsBudget = 368;
constexpr size_t kMarginsScheduleShort = 374;
constexpr size_t kMarginsScheduleLong = 380;
constexpr size_t kInUseCleared = 386;

constexpr size_t kBudgetPartCount = 7;
constexpr size_t kFormPartCount = 3;
constexpr size_t kSchedulePartCount = 4;
constexpr size_t kMarginsSize = 6;  // three i16

static_assert(kDigitString + 11 == kBeepOff);
static_assert(kDotMatrixPrinter + 1 == kListingSetting);
static_assert(kListingSetting + 3 == kInUseFields);
static_assert(kTotalBudgetParts + kBudgetPartCount == kTotalFormParts);
static_assert(kTotalFormParts + kFormPartCount == kTotalScheduleParts);
static_assert(kTotalScheduleParts + kSchedulePartCount == kMarginsBudget);
static_assert(kMarginsBudget + kMarginsSize == kMarginsScheduleShort);
static_assert(kMarginsScheduleShort + kMarginsSize == kMarginsScheduleLong);
static_assert(kMarginsScheduleLong + kMarginsSize == kInUseCleared);
static_assert(kInUseCleared < kConfigRecordSize);
}  // namespace cfg

// Printer margin adjustments, each from -5 to 5.
struct Margins {
  int16_t top = 0;
  int16_t bottom = 0;
  int16_t left = 0;
  bool operator==(const Margins&) const = default;
};

// Everything is zero until the record is loaded; DefaultPreferences() gives
// the values of a new configuration file.
struct Preferences {
  bool beepOff = false;
  bool englishUnits = false;
  bool oneAnalysisPerPage = false;
  bool descriptionForPliegos = false;
  bool listUndefinedQuantities = false;
  // "Ajuste al peso (omitir centavos)": money is rounded to whole pesos.
  bool roundToPeso = false;
  bool dotMatrixPrinter = false;
  std::array<bool, cfg::kBudgetPartCount> totalBudgetParts{};
  std::array<bool, cfg::kFormPartCount> totalFormParts{};
  std::array<bool, cfg::kSchedulePartCount> totalScheduleParts{};
  Margins marginsBudget;
  Margins marginsScheduleShort;
  Margins marginsScheduleLong;
  bool operator==(const Preferences&) const = default;
};

Preferences& Prefs();
void ResetPrefs();

// Number style of the field editor: 0 decimal comma, 1 decimal point.
inline int NumberStyle() {
  return Prefs().englishUnits ? 1 : 0;
}

// The record of a new configuration file.
ConfigRecord DefaultConfigRecord();
Preferences DefaultPreferences();
Preferences DecodePreferences(const ConfigRecord& record);
// Writes the preference fields into record; every other byte is kept.
void EncodePreferences(const Preferences& prefs, ConfigRecord& record);

// Path of the configuration file: programDir / <program name> + "D.Cfg".
std::string ConfigFilePath();

// The whole record as stored. A missing or unreadable file gives nullopt; a
// short file is completed from the default record. The in-use fields of the
// file sets use these two so that both owners share one record.
std::optional<ConfigRecord> ReadConfigRecord();
// Replaces the file's content with the record; false when it cannot.
bool WriteConfigRecord(const ConfigRecord& record);
// Writes the record's bytes [from, to) into the stored file in place,
// without a sync; a missing, short or read-only file is replaced whole
// instead. For changes whose loss in a power cut does no harm.
bool OverwriteConfigBytes(const ConfigRecord& record, size_t from, size_t to);

// Reads the record into Prefs() and applies it; a missing file is created
// with the default record.
void LoadPreferences();
// Writes Prefs() into the stored record, keeping its other fields.
bool SavePreferences();
// Puts the preferences that act at once into effect (beeps, listing menus).
void ApplyPreferences();
// "Aceptar" of the preferences dialog: stores edited as the preferences,
// runs the rounding hook when "Ajuste al peso" changed, saves and applies.
// False when the file could not be written.
bool AcceptPreferences(const Preferences& edited);

// Filled by the file sets: marks and flushes work areas 3 and 4, and 6 when
// an Obra is open, so that stored results are calculated again. Empty until
// the work areas exist.
std::function<void()>& RoundToPesoChangedHook();

// Fills the start-up hook that loads the preferences and command 'B'.
void InstallPreferences();

}  // namespace vantu
