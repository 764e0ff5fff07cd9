#include "storage/set_arrival.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_lock.h"
#include "platform/file_replace.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolderPrefix = ".importacion-";
constexpr const char* kMoveList = "mover.lst";

// Moves whatever of `names` is still in `folder` into `dir`. 0 or the
// name that could not be moved, with the reason.
std::string MoveRemaining(const fs::path& folder, const fs::path& dir,
                          const std::vector<std::string>& names, std::vector<std::string>* moved) {
  for (const std::string& name : names) {
    std::error_code ec;
    if (!fs::exists(folder / name, ec)) continue;
    fs::rename(folder / name, dir / name, ec);
    if (ec) return "no se pudo mover " + name + " a " + dir.string() + ": " + ec.message();
    if (moved) moved->push_back(name);
  }
  SyncFolderOf((dir / "x").string());
  return "";
}

std::vector<std::string> ReadMoveList(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> names;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty() && line.find('/') == std::string::npos && line != "." && line != "..")
      names.push_back(line);
  return names;
}

}  // namespace

std::string ArrivalFolder(const std::string& dir, const std::string& rama) {
  return (fs::path(dir) / (kFolderPrefix + rama + "-" + std::to_string(CurrentProcessId()))).string();
}

std::string MoveSetIntoPlace(const std::string& folder, const std::string& dir,
                             const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += name + "\n";
  const std::string listPath = (fs::path(folder) / kMoveList).string();
  if (const int err = WriteFileSynced(listPath, list.data(), list.size()); err != 0)
    return "no se pudo escribir " + listPath + ": " + std::error_code(err, std::generic_category()).message();
  SyncFolderOf(listPath);
  std::vector<std::string> moved;
  const std::string failure = MoveRemaining(folder, dir, names, &moved);
  if (failure.empty()) return "";
  std::error_code ec;
  for (const std::string& back : moved) fs::rename(fs::path(dir) / back, fs::path(folder) / back, ec);
  fs::remove(listPath, ec);
  return failure;
}

namespace {

std::vector<fs::path> ArrivalFolders(const std::string& dir, const std::string& rama) {
  const std::string prefix = kFolderPrefix + rama + "-";
  std::error_code ec;
  std::vector<fs::path> folders;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().filename().string().rfind(prefix, 0) == 0 && e.is_directory(ec))
      folders.push_back(e.path());
  return folders;
}

}  // namespace

bool ArrivalPending(const std::string& dir, const std::string& rama) {
  return !ArrivalFolders(dir, rama).empty();
}

std::vector<std::string> SettleInterruptedArrivals(const std::string& dir,
                                                   const std::string& rama) {
  std::vector<std::string> done;
  std::error_code ec;
  for (const fs::path& folder : ArrivalFolders(dir, rama)) {
    const fs::path list = folder / kMoveList;
    if (fs::exists(list, ec)) {
      const std::string failure = MoveRemaining(folder, dir, ReadMoveList(list), nullptr);
      if (!failure.empty()) {
        done.push_back("La importacion interrumpida de la RAMA " + rama +
                       " no se pudo completar: " + failure);
        continue;
      }
      done.push_back("Se completo la importacion interrumpida de la RAMA " + rama);
    } else {
      done.push_back("Se descarto la importacion interrumpida de la RAMA " + rama +
                     ": no habia llegado a moverse");
    }
    fs::remove_all(folder, ec);
  }
  return done;
}

}  // namespace vantu
