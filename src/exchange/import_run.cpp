#include "exchange/import_run.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "exchange/bc3_document.h"
#include "exchange/export_text.h"
#include "exchange/import_plan.h"
#include "exchange/import_store.h"
#include "platform/file_lock.h"
#include "session/selection_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "toolkit/dates.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

std::string CheckCodes(const ImportRequest& r) {
  auto plain = [](const std::string& code, size_t length) {
    if (code.size() != length) return false;
    for (const char c : code)
      if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
  };
  if (!plain(r.rama, 1)) return "el codigo de la Rama es una letra o cifra: " + r.rama;
  if (!plain(r.obra, 2)) return "el codigo de la Obra son dos letras o cifras: " + r.obra;
  return "";
}

// The names the new set's files would take in dir.
std::vector<std::string> SetFileNames(const std::string& rama, const std::string& obra) {
  std::vector<std::string> names;
  for (int n = kAreaGeneral; n <= kAreaBudget; ++n) {
    const std::string ext = n == kAreaBudget ? rama + obra : rama;
    names.push_back(DataBaseName(n, ext));
    names.push_back("Apr0" + std::to_string(n) + "ixc." + ext);
  }
  return names;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// "" when neither the Rama nor the Obra has a file in dir ("Apr" and five
// characters, a dot and its code: data, index, schedule, in any letter
// case); otherwise which one exists.
std::string CheckNewSet(const ImportRequest& r) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(r.dir, ec)) {
    const std::string name = Upper(e.path().filename().string());
    if (name.size() < 10 || name.compare(0, 3, "APR") != 0 || name[8] != '.') continue;
    // A lock file is left by whoever last held the code, not a set.
    if (name.compare(0, 9, "APR00BLQ.") == 0) continue;
    const std::string ext = name.substr(9);
    if (ext == Upper(r.rama)) return "la Rama " + r.rama + " ya existe en " + r.dir;
    if (ext == Upper(r.rama + r.obra))
      return "la Obra " + r.obra + " de la Rama " + r.rama + " ya existe en " + r.dir;
  }
  return "";
}

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return !in.bad();
}

std::string CsvField(const std::string& cp1252) {
  const std::string text = Cp1252ToUtf8(cp1252);
  if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// The work folder inside dir, removed with whatever it holds unless the
// set's files were moved out of it; the selection's directory put back.
class WorkFolder {
 public:
  explicit WorkFolder(const std::string& dir)
      : path_(fs::path(dir) / (".importacion-" + std::to_string(CurrentProcessId()))),
        saved_(Selection().DataDirectory) {
    std::error_code ec;
    fs::remove_all(path_, ec);
    fs::create_directories(path_);
    Selection().DataDirectory = path_.string();
  }
  ~WorkFolder() {
    Selection().DataDirectory = saved_;
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
  std::string saved_;
};

// Moves the set's files from the work folder into dir, the Rama's general
// data last: a set whose first file is missing is no set. Files already
// moved are taken back when a move fails.
std::string MoveIntoPlace(const fs::path& from, const ImportRequest& r) {
  std::vector<std::string> names = SetFileNames(r.rama, r.obra);
  std::rotate(names.begin(), names.begin() + 2, names.end());
  std::vector<std::string> moved;
  for (const std::string& name : names) {
    std::error_code ec;
    if (!fs::exists(from / name, ec)) continue;
    fs::rename(from / name, fs::path(r.dir) / name, ec);
    if (ec) {
      for (const std::string& back : moved) fs::rename(fs::path(r.dir) / back, from / back, ec);
      return "no se pudo mover " + name + " a " + r.dir + ": " + ec.message();
    }
    moved.push_back(name);
  }
  return "";
}

// Opening the new files marks them in use in the work folder; the mark
// goes back to what it was when they are closed, also after a failure.
class InUseKept {
 public:
  ~InUseKept() {
    if (saved_.rama.empty())
      ClearSetInUse();
    else
      MarkSetInUseAs(saved_.directory, saved_.rama, saved_.obra);
  }

 private:
  InUseFields saved_ = ReadInUseFields();
};

// The set written in the work folder, the mapping beside where it goes,
// and then the set moved into place. Throws when the writing fails.
void WriteAndMove(const ImportPlan& plan, const ImportRequest& r) {
  WorkFolder work(r.dir);
  {
    InUseKept inUse;
    WritePlannedSet(plan, r.rama, r.obra);
  }
  // The work folder's copy of the lock goes with the folder.
  ReleaseSetLock(work.Path().string(), r.rama, true);
  std::string failure = WriteFileReplacing(r.mapPath, MappingCsv(plan.mapping));
  if (failure.empty()) failure = MoveIntoPlace(work.Path(), r);
  if (failure.empty()) return;
  std::error_code ec;
  fs::remove(r.mapPath, ec);
  throw std::runtime_error(failure);
}

}  // namespace

std::string MappingCsv(const std::vector<CodeMapping>& rows) {
  std::string out = "codigo original;codigo nuevo;tipo;resumen\r\n";
  for (const CodeMapping& m : rows)
    out += CsvField(m.original) + ";" + CsvField(m.code) + ";" + m.kind + ";" +
           CsvField(m.summary) + "\r\n";
  return out;
}

ImportResult ImportBc3(const ImportRequest& request) {
  ImportResult result;
  ImportRequest r = request;
  std::error_code ec;
  r.dir = fs::absolute(r.dir, ec).lexically_normal().string();
  if (!r.dir.empty() && r.dir.back() == '/' && r.dir.size() > 1) r.dir.pop_back();
  if (r.mapPath.empty())
    r.mapPath = (fs::path(r.dir) / ("importacion-" + r.rama + r.obra + ".csv")).string();
  result.refused = CheckCodes(r);
  if (result.refused.empty() && !fs::is_directory(r.dir, ec))
    result.refused = "no existe el directorio de datos " + r.dir;
  if (result.refused.empty()) result.refused = CheckNewSet(r);
  if (!result.refused.empty()) return result;

  std::string bytes;
  if (!ReadWhole(r.file, bytes)) {
    result.failure = "no se pudo leer " + r.file;
    return result;
  }
  const Bc3ReadResult read = ReadBc3(bytes);
  if (!read.error.empty()) {
    result.refused = r.file + ", " + read.error;
    return result;
  }
  PlanResult planned = PlanImport(read.doc, TodayShort(), r.toPeso);
  if (!planned.error.empty()) {
    result.refused = r.file + ", " + planned.error;
    return result;
  }
  ImportPlan& plan = planned.plan;
  plan.obraReference = "Importado de " + fs::path(r.file).filename().string();
  for (CodeMapping& m : plan.mapping)
    if (m.kind == "obra") m.code = r.rama + r.obra;

  // The new Rama's lock, held for the whole writing: two imports into one
  // code, or a program opening it half moved, never meet. Under it the
  // code is checked again: another import may have just taken it.
  const bool lockFileThere = fs::exists(SetLockPath(r.dir, r.rama), ec);
  const SetLockAttempt lock = TakeSetLock(r.dir, r.rama);
  // An import that writes nothing leaves no lock file of its own either.
  struct Release {
    const ImportRequest& r;
    const ImportResult& result;
    bool taken, removeFile;
    ~Release() {
      if (!taken) return;
      std::error_code ec;
      if (removeFile && !result.Ok()) fs::remove(SetLockPath(r.dir, r.rama), ec);
      ReleaseSetLock(r.dir, r.rama, true);
    }
  } release{r, result, lock.result == SetLockResult::kTaken, !lockFileThere};
  if (lock.result == SetLockResult::kInUse || lock.result == SetLockResult::kFailed) {
    for (const std::string& line : SetInUseLines(r.rama, lock))
      result.failure += (result.failure.empty() ? "" : " ") + line;
    return result;
  }
  result.refused = CheckNewSet(r);
  if (!result.refused.empty()) return result;
  try {
    WriteAndMove(plan, r);
  } catch (const std::exception& e) {
    result.failure = "no se pudo escribir la Rama " + r.rama + ": " + e.what();
    return result;
  }
  result.mapWritten = r.mapPath;
  result.notes = plan.notes;
  result.concepts = static_cast<int>(read.doc.concepts.size());
  return result;
}

}  // namespace vantu
