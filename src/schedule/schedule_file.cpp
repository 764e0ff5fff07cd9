#include "schedule/schedule_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/file_replace.h"
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
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    why = name + ": " + std::strerror(errno);
    return ScheduleRead::Damaged;
  }
  ScheduleBlock read;
  size_t done = 0;
  bool failed = false;
  while (done < read.bytes.size()) {
    const ssize_t n = ::read(fd, read.bytes.data() + done, read.bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failed = true;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const int err = errno;
  uint8_t extra = 0;
  const bool longer = !failed && done == read.bytes.size() && ::read(fd, &extra, 1) > 0;
  ::close(fd);
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

bool WriteAll(int fd, const uint8_t* p, size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

}  // namespace

bool WriteScheduleFile(const std::string& path, const std::string& tempPath, const ScheduleBlock& b,
                       std::string& why) {
  const std::string name = fs::path(path).filename().string();
  Probe(SaveStage::Create);
  const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    why = fs::path(tempPath).filename().string() + ": " + std::strerror(errno);
    return false;
  }
  bool ok = WriteAll(fd, b.bytes.data(), b.bytes.size());
  int err = errno;
  Probe(SaveStage::Written);
  if (ok && ::fsync(fd) != 0) ok = false, err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  Probe(SaveStage::Synced);
  if (ok && std::rename(tempPath.c_str(), path.c_str()) != 0) ok = false, err = errno;
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
