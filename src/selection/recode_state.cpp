#include "selection/recode_state.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "platform/file_replace.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

RecodeFilesState gFiles;

std::string PathIn(const std::string& dir, const std::string& name) {
  return FindFileIn(dir, name);
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// Writes the record into the temporary name; true when every byte reached
// the file.
bool WriteTemp(const std::string& dir, const std::string& ext, const RecodeParams& p) {
  const auto bytes = EncodeRecodeState(p);
  gFiles.tempPath = (fs::path(dir) / RecodeTempName(ext)).string();
  gFiles.tempCreated = true;
  // Synced before the rename, so that a power cut never leaves the state
  // file empty under its final name.
  return WriteFileSynced(gFiles.tempPath, bytes.data(), bytes.size()) == 0;
}

// Moves the temporary record over `target`; the rename replaces it at once
// and reaches the disk with the folder synced.
bool CommitTemp(const std::string& target) {
  std::error_code ec;
  fs::rename(gFiles.tempPath, target, ec);
  if (ec) return false;
  SyncFolderOf(target);
  gFiles.tempCreated = false;
  return true;
}

}  // namespace

std::string RecodeStateName(int phase, const std::string& ext) {
  return "Apr07ct" + std::to_string(phase) + "." + ext;
}

std::string RecodeTempName(const std::string& ext) {
  return "Apr07ctn." + ext;
}

int FindRecodePhase(const std::string& dir, const std::string& ext) {
  if (Exists(PathIn(dir, RecodeStateName(kRecodeReindexing, ext)))) return kRecodeReindexing;
  if (Exists(PathIn(dir, RecodeStateName(kRecodeRenumbering, ext)))) return kRecodeRenumbering;
  return kRecodeIdle;
}

std::string PendingRecodeExtension(const std::string& dir, const std::string& rama) {
  auto upper = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
  };
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    const std::string name = e.path().filename().string();
    const std::string head = upper(name.substr(0, 9));
    if (head != "APR07CT1." && head != "APR07CT2.") continue;
    const std::string ext = name.substr(9);
    if ((ext.size() == 1 || ext.size() == 3) && upper(ext.substr(0, 1)) == upper(rama)) return ext;
  }
  return "";
}

std::array<uint8_t, recode_state::kSize> EncodeRecodeState(const RecodeParams& p) {
  std::array<uint8_t, recode_state::kSize> bytes{};
  PutI16(bytes.data() + recode_state::kFirstChapter, p.firstChapter);
  PutI16(bytes.data() + recode_state::kChapterSeparation, p.chapterSeparation);
  PutI16(bytes.data() + recode_state::kItemSeparation, p.itemSeparation);
  return bytes;
}

RecodeParams DecodeRecodeState(const std::vector<uint8_t>& bytes) {
  RecodeParams p;
  if (bytes.size() < static_cast<size_t>(recode_state::kRunArea)) return p;
  p.firstChapter = GetI16(bytes.data() + recode_state::kFirstChapter);
  p.chapterSeparation = GetI16(bytes.data() + recode_state::kChapterSeparation);
  p.itemSeparation = GetI16(bytes.data() + recode_state::kItemSeparation);
  // Values no window could have entered are taken as the defaults, so a
  // damaged record cannot produce colliding codes.
  const RecodeParams defaults;
  if (p.firstChapter < 0 || p.firstChapter > 5) p.firstChapter = defaults.firstChapter;
  if (p.chapterSeparation < 1 || p.chapterSeparation > 5)
    p.chapterSeparation = defaults.chapterSeparation;
  if (p.itemSeparation < 1 || p.itemSeparation > 10) p.itemSeparation = defaults.itemSeparation;
  return p;
}

RecodeParams ReadRecodeState(const std::string& dir, const std::string& ext, int phase) {
  std::ifstream in(fs::path(PathIn(dir, RecodeStateName(phase, ext))), std::ios::binary);
  std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  return DecodeRecodeState(bytes);
}

bool BeginRecodeRun(const std::string& dir, const std::string& ext, const RecodeParams& p) {
  if (!WriteTemp(dir, ext, p)) return false;
  return CommitTemp((fs::path(dir) / RecodeStateName(kRecodeRenumbering, ext)).string());
}

bool EnterReindexPhase(const std::string& dir, const std::string& ext, const RecodeParams& p) {
  // The record is written under the new name first and the old name
  // removed after: a stop in between leaves both, which reads as phase 2.
  if (!WriteTemp(dir, ext, p)) return false;
  if (!CommitTemp((fs::path(dir) / RecodeStateName(kRecodeReindexing, ext)).string())) return false;
  std::error_code ec;
  fs::remove(PathIn(dir, RecodeStateName(kRecodeRenumbering, ext)), ec);
  return true;
}

void EndRecodeRun(const std::string& dir, const std::string& ext) {
  std::error_code ec;
  fs::remove(PathIn(dir, RecodeStateName(kRecodeReindexing, ext)), ec);
  fs::remove(PathIn(dir, RecodeStateName(kRecodeRenumbering, ext)), ec);
}

RecodeFilesState& RecodeFiles() {
  return gFiles;
}

void ResetRecodeFiles() {
  gFiles = RecodeFilesState{};
}

void DeleteRecodeTempFiles() {
  if (gFiles.tempCreated && !gFiles.tempPath.empty()) {
    std::error_code ec;
    fs::remove(gFiles.tempPath, ec);
  }
  gFiles.tempCreated = false;
}

}  // namespace vantu
