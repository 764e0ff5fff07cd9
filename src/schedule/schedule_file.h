#pragma once
// The schedule file "Apr06cro." + Rama + Obra: one record of 61000 bytes,
// read and written whole, made of 1000 rows of 61 bytes. Every byte not
// described here holds 146.
//
// Row 0, the header:
// Offset  Type  Field            Meaning
//    0    byte  PeriodKind       'M' months, 'S' weeks (semanas)
//    1    byte  ActivityCount    activity rows in use (0 to 255)
//    2    byte  YearBlocks       Length / 12 rounded up
//    3    byte  Complete         1 when every activity has a marked period
//    4    byte  Scope            'A' chapters and items, 'C' chapters only
//    5    byte  Length           last period marked in any activity (0-60)
//    6    i16   ScheduleSerial   -1 stale, -2 costs recalculated, else the
//                                listing control number 0 to 999
//    8    byte  ScheduleChanged  1 when the chart changed since the last listing
//    9    52    filler (146)
//
// Rows 1 to 999, one per activity in the order of the activity table:
//    0    byte  filler (146)
//  1-60   byte  periods 1 to 60: 146 free, 147 marked, 176 a chapter row of
//               scope 'A' (shown, never planned)

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vantu {

namespace schedule_file {
inline constexpr int kRowBytes = 61;
inline constexpr int kRows = 1000;
inline constexpr int kFileBytes = kRowBytes * kRows;
inline constexpr int kMaxPeriods = 60;
inline constexpr int kMaxActivityRows = kRows - 1;
// The activity count is one byte.
inline constexpr int kMaxActivities = 255;

inline constexpr uint8_t kFiller = 146;
inline constexpr uint8_t kCellFree = 146;
inline constexpr uint8_t kCellMarked = 147;
inline constexpr uint8_t kCellChapter = 176;

inline constexpr int kPeriodKind = 0;
inline constexpr int kActivityCount = 1;
inline constexpr int kYearBlocks = 2;
inline constexpr int kComplete = 3;
inline constexpr int kScope = 4;
inline constexpr int kLength = 5;
inline constexpr int kScheduleSerial = 6;
inline constexpr int kScheduleChanged = 8;
inline constexpr int kHeaderEnd = 9;

static_assert(kActivityCount == kPeriodKind + 1 && kYearBlocks == kActivityCount + 1);
static_assert(kComplete == kYearBlocks + 1 && kScope == kComplete + 1);
static_assert(kLength == kScope + 1 && kScheduleSerial == kLength + 1);
static_assert(kScheduleChanged == kScheduleSerial + 2 && kHeaderEnd == kScheduleChanged + 1);
static_assert(kHeaderEnd <= kRowBytes && kMaxPeriods + 1 == kRowBytes);
static_assert(kFileBytes == 61000);

inline constexpr uint8_t kMonths = 'M';
inline constexpr uint8_t kWeeks = 'S';
inline constexpr uint8_t kScopeItems = 'A';
inline constexpr uint8_t kScopeChapters = 'C';

inline constexpr int16_t kSerialStale = -1;
inline constexpr int16_t kSerialRecalculated = -2;
inline constexpr int16_t kSerialMax = 999;
}  // namespace schedule_file

// The whole record, with the header fields by name.
struct ScheduleBlock {
  std::array<uint8_t, schedule_file::kFileBytes> bytes{};

  uint8_t& At(int row, int offset) { return bytes[row * schedule_file::kRowBytes + offset]; }
  uint8_t At(int row, int offset) const { return bytes[row * schedule_file::kRowBytes + offset]; }
  // Activity row 1..999, period 1..60.
  uint8_t& Cell(int row, int period) { return At(row, period); }
  uint8_t Cell(int row, int period) const { return At(row, period); }

  uint8_t PeriodKind() const { return At(0, schedule_file::kPeriodKind); }
  uint8_t ActivityCount() const { return At(0, schedule_file::kActivityCount); }
  uint8_t YearBlocks() const { return At(0, schedule_file::kYearBlocks); }
  uint8_t Complete() const { return At(0, schedule_file::kComplete); }
  uint8_t Scope() const { return At(0, schedule_file::kScope); }
  uint8_t Length() const { return At(0, schedule_file::kLength); }
  int16_t ScheduleSerial() const;
  uint8_t ScheduleChanged() const { return At(0, schedule_file::kScheduleChanged); }

  void SetPeriodKind(uint8_t v) { At(0, schedule_file::kPeriodKind) = v; }
  void SetActivityCount(uint8_t v) { At(0, schedule_file::kActivityCount) = v; }
  void SetYearBlocks(uint8_t v) { At(0, schedule_file::kYearBlocks) = v; }
  void SetComplete(uint8_t v) { At(0, schedule_file::kComplete) = v; }
  void SetScope(uint8_t v) { At(0, schedule_file::kScope) = v; }
  void SetLength(uint8_t v) { At(0, schedule_file::kLength) = v; }
  void SetScheduleSerial(int16_t v);
  void SetScheduleChanged(uint8_t v) { At(0, schedule_file::kScheduleChanged) = v; }
};

// The content of a new file: every byte 146, months, no activities, the
// given scope, serial -1 (stale) and changed.
void InitScheduleBlock(ScheduleBlock& b, uint8_t scope);

// Cell values of older versions: 32, 46 and 250 become 146, 254 becomes
// 147, in rows 1 to 999.
void ConvertOldCells(ScheduleBlock& b);

// "" when the header can be used, else why not (a value out of its range).
std::string HeaderFault(const ScheduleBlock& b);

// Path of the open Obra's schedule file in the data directory, and of the
// file a save writes before it replaces the schedule.
std::string ScheduleFilePath();
std::string ScheduleTempPath();

enum class ScheduleRead { Loaded, Missing, Damaged };
// Reads the file whole. Damaged (with `why` in Spanish) when it cannot be
// read, is not 61000 bytes long or holds a header out of range; the block
// is then unchanged.
ScheduleRead ReadScheduleFile(const std::string& path, ScheduleBlock& b, std::string& why);

// Writes the block beside the file and renames it over the file, so that a
// stop at any moment leaves the previous content or the new one whole.
// False with `why` (the file and the system's reason) on failure; the old
// file is then untouched.
bool WriteScheduleFile(const std::string& path, const std::string& tempPath, const ScheduleBlock& b,
                       std::string& why);

// Points of a save at which a test may stop the program: before the
// temporary file is created, after it is written, after it is synced and
// closed, and after the rename.
enum class SaveStage { Create, Written, Synced, Renamed };
std::function<void(SaveStage)>& ScheduleSaveProbe();

}  // namespace vantu
