#include "schedule/schedule_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/file_replace.h"
#include "platform/file_system.h"
#include "session/selection_state.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"

namespace vantu {

namespace fs = std::filesystem;
using namespace schedule_file;

int16_t ScheduleBlock::ScheduleSerial() const {
  return GetI16(&bytes[kScheduleSerial]);
}

void ScheduleBlock::SetScheduleSerial(int16_t v) {
  PutI16(&bytes[kScheduleSerial], v);
}

void InitScheduleBlock(ScheduleBlock& b, uint8_t scope) {
  b.bytes.fill(kFiller);
  b.SetPeriodKind(kMonths);
  b.SetActivityCount(0);
  b.SetYearBlocks(0);
  b.SetComplete(0);
  b.SetScope(scope);
  b.SetLength(0);
  b.SetScheduleSerial(kSerialStale);
  b.SetScheduleChanged(1);
}

void ConvertOldCells(ScheduleBlock& b) {
  for (int row = 1; row <= kMaxActivityRows; ++row) {
    for (int p = 1; p <= kMaxPeriods; ++p) {
      uint8_t& c = b.Cell(row, p);
      if (c == 32 || c == 46 || c == 250) c = kCellFree;
      if (c == 254) c = kCellMarked;
    }
  }
}

std::string HeaderFault(const ScheduleBlock& b) {
  if (b.PeriodKind() != kMonths && b.PeriodKind() != kWeeks) return "tipo de periodo invalido";
  if (b.Scope() != kScopeItems && b.Scope() != kScopeChapters) return "alcance invalido";
  if (b.Length() > kMaxPeriods) return "duracion mayor de 60 periodos";
  const int16_t serial = b.ScheduleSerial();
  if (serial < kSerialRecalculated || serial > kSerialMax) return "numero de control invalido";
  return "";
}

std::string ScheduleFilePath() {
  const SelectionState& sel = Selection();
  return FindFileIn(sel.DataDirectory, "Apr06cro." + sel.RamaCode + sel.ObraCode);
}

std::string ScheduleTempPath() {
  const SelectionState& sel = Selection();
  return (fs::path(sel.DataDirectory) / ("Apr06crn." + sel.RamaCode + sel.ObraCode)).string();
}

ScheduleRead ReadScheduleFile(const std::string& path, ScheduleBlock& b, std::string& why) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return ScheduleRead::Missing;
  const std::string name = fs::path(path).filename().string();
  os::FileHandle fd = os::kNoFile;
  if (const int openErr = os::OpenFile(path, os::OpenMode::kRead, fd); openErr != 0) {
    why = name + ": " + std::strerror(openErr);
    return ScheduleRead::Damaged;
  }
  ScheduleBlock read;
  size_t done = 0;
  const int err = os::ReadAt(fd, 0, read.bytes.data(), read.bytes.size(), done);
  const bool failed = err != 0;
  uint8_t extra = 0;
  size_t extraDone = 0;
  const bool longer = !failed && done == read.bytes.size() &&
                      os::ReadAt(fd, static_cast<int64_t>(done), &extra, 1, extraDone) == 0 &&
                      extraDone == 1;
  os::CloseFile(fd);
  if (failed) {
    why = name + ": " + std::strerror(err);
    return ScheduleRead::Damaged;
  }
  if (done != read.bytes.size() || longer) {
    why = name + ": tamano " + std::to_string(fs::file_size(path, ec)) + " bytes, se esperaban " +
          std::to_string(kFileBytes);
    return ScheduleRead::Damaged;
  }
  if (std::string fault = HeaderFault(read); !fault.empty()) {
    why = name + ": " + fault;
    return ScheduleRead::Damaged;
  }
  b = read;
  return ScheduleRead::Loaded;
}

std::function<void(SaveStage)>& ScheduleSaveProbe() {
  static std::function<void(SaveStage)> probe;
  return probe;
}

namespace {

void Probe(SaveStage stage) {
  if (ScheduleSaveProbe()) ScheduleSaveProbe()(stage);
}

}  // namespace

bool WriteScheduleFile(const std::string& path, const std::string& tempPath, const ScheduleBlock& b,
                       std::string& why) {
  const std::string name = fs::path(path).filename().string();
  Probe(SaveStage::Create);
  os::FileHandle fd = os::kNoFile;
  if (const int openErr = os::OpenFile(tempPath, os::OpenMode::kWriteCreateTruncate, fd);
      openErr != 0) {
    why = fs::path(tempPath).filename().string() + ": " + std::strerror(openErr);
    return false;
  }
  int err = WriteAllAt(fd, b.bytes.data(), b.bytes.size(), 0);
  Probe(SaveStage::Written);
  if (err == 0) err = os::SyncFile(fd);
  if (const int closeErr = os::CloseFile(fd); closeErr != 0 && err == 0) err = closeErr;
  Probe(SaveStage::Synced);
  if (err == 0) err = os::ReplaceFile(tempPath, path);
  const bool ok = err == 0;
  if (!ok) {
    std::error_code ec;
    fs::remove(tempPath, ec);
    why = name + ": " + std::strerror(err);
    return false;
  }
  SyncFolderOf(path);  // the rename reaches the disk with its folder
  Probe(SaveStage::Renamed);
  return true;
}

}  // namespace vantu
