#include "storage/recovery.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/halt.h"
#include "session/preferences.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "session/pstring.h"
#include "storage/real10.h"
#include "session/selection_state.h"
#include "storage/set_in_use.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

struct RecoveryState {
  long double stampMax = 0;
  int16_t serial = 1;  // set serial of file 1 for the running recovery
  RecoveryUi ui;
};
RecoveryState gRecovery;

void Step() {
  if (gRecovery.ui.stepProgress) gRecovery.ui.stepProgress();
}

std::string CurrentDirectory() {
  std::error_code ec;
  return fs::current_path(ec).string().substr(0, 160);
}

bool Exists(int fileNo, const std::string& ext) {
  std::error_code ec;
  return fs::exists(DataFileName(fileNo, ext), ec);
}

// Reads or rewrites the first `length` bytes of a file outside the engine;
// failures are collected and not shown.
bool ReadHeader(const std::string& name, std::vector<uint8_t>& bytes) {
  std::ifstream in(name, std::ios::binary);
  return static_cast<bool>(
      in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())));
}

void WriteHeader(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::fstream out(name, std::ios::binary | std::ios::in | std::ios::out);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void RebuildIndex(int n, int recordLength, const std::string& ext) {
  DataFileState data;
  OpenFile(data, DataFileName(n, ext), recordLength);
  if (!LastOpOk()) FailEngine(2);
  IndexFileState index;
  MakeIndex(index, IndexFileName(n, ext), n == 3 ? 6 : 5, false);
  std::vector<uint8_t> rec(static_cast<size_t>(recordLength));
  const int count = FileRecordCount(data);
  for (int b = 1; b < count; ++b) {
    if (b % 30 == 0) Step();
    const int16_t r = static_cast<int16_t>(b);
    GetRec(data, r, rec.data());
    if (GetI16(rec.data()) != 0) continue;
    std::string code = ReadStr(rec.data() + kRecordCode, 6);
    if (!WellFormedCode(code)) {
      DeleteRec(data, r);
      continue;
    }
    if (rec[2] != 0 || rec[3] != 0) continue;
    AddKey(index, r, code);
    if (!LastOpOk()) {
      DeleteRec(data, r);  // the first record carrying a code keeps it
      continue;
    }
    const long double stamp = LoadReal10(rec.data() + kRecStamp);
    if (stamp > gRecovery.stampMax) gRecovery.stampMax = stamp;
  }
  gRecovery.stampMax += 1;
  CloseIndex(index);
  CloseFile(data);
}

}  // namespace

long double& StampMax() { return gRecovery.stampMax; }
void ResetRecovery() {
  gRecovery = RecoveryState{};
}

RecoveryUi& RecoveryScreens() { return gRecovery.ui; }

void LoadRecoverySerial(const std::string& ramaExt) {
  std::vector<uint8_t> header(kSetRecordLength[1]);
  int serial = 1;
  if (Exists(1, ramaExt) && ReadHeader(DataFileName(1, ramaExt), header))
    serial = GetI16(header.data() + kHdrSetSerial);
  gRecovery.serial = static_cast<int16_t>(serial < 1 || serial > 9999 ? 1 : serial);
}

void RebuildFile(int n, int recordLength, const std::string& ext) {
  if (n == 1)
    LoadRecoverySerial(ext);
  else if (n != 5)
    RebuildIndex(n, recordLength, ext);
  const std::string name = DataFileName(n, ext);
  std::vector<uint8_t> header(static_cast<size_t>(recordLength));
  if (!ReadHeader(name, header)) return;
  // File 5 is not rebuilt: it only takes the serial, so that the Rama's
  // files keep equal serials; its marker and header fields stay.
  if (n != 5) header[kHdrChangeMarker] = 1;
  PutI16(header.data() + kHdrSetSerial, gRecovery.serial);
  if (n != 5 && recordLength >= kHdrAddedCounter + 10)
    StoreReal10(header.data() + kHdrAddedCounter, gRecovery.stampMax);
  WriteHeader(name, header);
}

int RecoverFileSet(const std::string& directory, const std::string& rama,
                   const std::string& obra) {
  MarkSetInUseAs(directory, rama, obra);
  const std::string current = CurrentDirectory();
  std::error_code ec;
  fs::current_path(directory, ec);
  if (ec) return kRecoveryNoDirectory;

  SelectionState& sel = Selection();
  const std::string savedDir = sel.DataDirectory;
  sel.DataDirectory = directory;
  sel.RamaCode = rama;
  sel.ObraCode = obra;
  if (gRecovery.ui.openProgress) gRecovery.ui.openProgress();
  auto finish = [&](int result) {
    if (gRecovery.ui.closeProgress) gRecovery.ui.closeProgress();
    sel.DataDirectory = savedDir;
    fs::current_path(current, ec);
    MarkSetInUseAs(current, "", "");
    return result;
  };
  for (int n = 1; n <= 5; ++n)
    if (!Exists(n, rama)) return finish(kRecoveryRamaMissing);
  if (!obra.empty() && !Exists(6, rama + obra)) return finish(kRecoveryObraMissing);

  for (int n = 1; n <= 4; ++n) {
    RebuildFile(n, kSetRecordLength[n], rama);
    Step();
  }
  RebuildFile(5, kSetRecordLength[5], rama);
  if (!obra.empty()) RebuildFile(6, kSetRecordLength[6], rama + obra);
  return finish(obra.empty() ? kRecoveryRamaOnly : kRecoveryRamaAndObra);
}

void StartupRecoveryCheck() {
  std::error_code ec;
  if (!fs::exists(ConfigFilePath(), ec)) {
    WriteConfigRecord(DefaultConfigRecord());
    return;
  }
  const InUseFields inUse = ReadInUseFields();
  SelectionState& sel = Selection();
  if (!fs::exists(FindFileIn(".", DataBaseName(1, sel.RamaCode)), ec)) {
    sel.RamaCode.clear();
    sel.ObraCode.clear();
  } else if (!fs::exists(FindFileIn(".", DataBaseName(6, sel.SetExtension())), ec)) {
    sel.ObraCode.clear();
  }
  // A directory without a Rama is what a finished recovery leaves: there is
  // no set to rebuild.
  if (inUse.directory.empty() || inUse.rama.empty()) return;
  const int r = RecoverFileSet(inUse.directory, inUse.rama, inUse.obra);
  if (r <= kRecoveryRamaOnly) return;
  std::vector<std::string> lines = {"FALLO PROCESO AUTOMATICO DE RECUPERACION ARCHIVOS",
                                    "Directorio: " + inUse.directory, "Rama: " + inUse.rama + " "};
  if (!inUse.obra.empty()) lines.push_back("Obra: " + inUse.obra);
  lines.push_back("..Para salir oprima cualquier tecla..");
  if (gRecovery.ui.failure) gRecovery.ui.failure(lines);
  ClearSetInUse();
  DoHalt(1);
}

}  // namespace vantu
