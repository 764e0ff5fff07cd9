#include "storage/set_in_use.h"

#include <filesystem>

#include "platform/file_lock.h"
#include "session/preferences.h"
#include "session/pstring.h"
#include "session/selection_state.h"
#include "storage/file_io.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

std::string CurrentDirectory() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string().substr(0, 160);
}

enum class Update { kUnchanged, kWritten, kFailed };

// How a changed record reaches the file. A marker that names a Rama
// replaces the file and is synced: that marker is what protects the set.
// One that names none (a clear, or the end of a recovery) protects nothing:
// only its changed bytes are written in place, unsynced, and a clear lost
// in a power cut only runs the recovery once more. The marker's bytes all
// lie in the record's first 512 bytes, which a disk writes whole, and the
// preference bytes after them are never rewritten.
bool Store(const std::optional<ConfigRecord>& stored, const ConfigRecord& record) {
  const bool protects = !ReadStr(record.data() + inuse::kRama, 1).empty();
  if (protects || !stored) return WriteConfigRecord(record);
  size_t from = 0;
  while (from < kConfigRecordSize && (*stored)[from] == record[from]) ++from;
  size_t to = kConfigRecordSize;
  while (to > from && (*stored)[to - 1] == record[to - 1]) --to;
  return OverwriteConfigBytes(record, from, to);
}

// Reads the whole record (the default one when the file is missing),
// changes the fields and writes it back, unless that changes no byte of
// the file: a start-up recovery finds the marker it would write already
// there. Failures are not shown. The digit and listing strings and byte
// 386 are rewritten with them.
template <typename F>
Update UpdateRecord(F change) {
  const std::optional<ConfigRecord> stored = ReadConfigRecord();
  ConfigRecord record = stored.value_or(DefaultConfigRecord());
  uint8_t* r = record.data();
  WriteStr(r + inuse::kDigits, 10, "0123456789");
  WriteStr(r + inuse::kListing, 2, "15");
  r[inuse::kCleared] = 0;
  change(r);
  if (stored && *stored == record) return Update::kUnchanged;
  return Store(stored, record) ? Update::kWritten : Update::kFailed;
}

Update WriteMarker(const std::string& directory, const std::string& rama, const std::string& obra) {
  // The set's own lock file says first that its files may change: it is
  // what another program, or another computer, finds after a crash.
  if (!rama.empty() && !MarkHeldSetOpen(directory, rama, obra)) return Update::kFailed;
  return UpdateRecord([&](uint8_t* r) {
    WriteStr(r + inuse::kDirectory, 160, directory);
    WriteStr(r + inuse::kRama, 1, rama);
    WriteStr(r + inuse::kObra, 2, obra);
    WriteStr(r + inuse::kLastDirectory, 160, directory);
  });
}

}  // namespace

// Without the read-back: nobody looks at the outcome.
void MarkSetInUseAs(const std::string& directory, const std::string& rama,
                    const std::string& obra) {
  WriteMarker(directory, rama, obra);
}

bool TryMarkSetInUseAs(const std::string& directory, const std::string& rama,
                       const std::string& obra) {
  const Update update = WriteMarker(directory, rama, obra);
  if (update == Update::kFailed) return false;
  // The marker was just read from the file.
  if (update == Update::kUnchanged) return true;
  // Read back: only a marker that is on disk protects the set.
  const InUseFields f = ReadInUseFields();
  return f.directory == directory.substr(0, 160) && f.rama == rama.substr(0, 1) &&
         f.obra == obra.substr(0, 2);
}

void MarkSetInUseAtFirstChange(const std::string& directory, const std::string& rama,
                               const std::string& obra) {
  CallBeforeNextChange([directory, rama, obra] {
    if (!TryMarkSetInUseAs(directory, rama, obra))
      FailEngine(kStatusMarkerNotWritten, ConfigFilePath());
  });
}

void MarkSetInUse() {
  const SelectionState& s = Selection();
  MarkSetInUseAtFirstChange(s.DataDirectory, s.RamaCode, s.ObraCode);
}

void ClearSetInUse() {
  CallBeforeNextChange(nullptr);
  NoteHeldSetsConsistent();
  // A marker that names a set another program holds now is that program's:
  // it still tells of its run, and is left as it is.
  const InUseFields f = ReadInUseFields();
  if (!f.rama.empty() && !f.directory.empty() && !HoldsSetLock(f.directory, f.rama) &&
      FileLockHeldElsewhere(SetLockPath(f.directory, f.rama)))
    return;
  const std::string current = CurrentDirectory();
  UpdateRecord([&](uint8_t* r) {
    WriteStr(r + inuse::kDirectory, 160, "");
    WriteStr(r + inuse::kRama, 1, "");
    WriteStr(r + inuse::kObra, 2, "");
    WriteStr(r + inuse::kLastDirectory, 160, current);
  });
}

InUseFields ReadInUseFields() {
  InUseFields f;
  auto record = ReadConfigRecord();
  if (!record) return f;
  const uint8_t* r = record->data();
  f.directory = ReadStr(r + inuse::kDirectory, 160);
  f.rama = ReadStr(r + inuse::kRama, 1);
  f.obra = ReadStr(r + inuse::kObra, 2);
  f.lastDirectory = ReadStr(r + inuse::kLastDirectory, 160);
  return f;
}

}  // namespace vantu
