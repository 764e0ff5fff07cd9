#include "exchange/import_run.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "calc/review_and_calc.h"
#include "exchange/bc3_document.h"
#include "exchange/export_text.h"
#include "exchange/import_plan.h"
#include "exchange/import_store.h"
#include "session/selection_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/set_arrival.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "toolkit/dates.h"
#include "toolkit/error_review.h"
#include "toolkit/numbers.h"

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

// The work folder inside dir, removed with whatever it holds unless the
// set's files were moved out of it; the selection's directory put back.
class WorkFolder {
 public:
  WorkFolder(const std::string& dir, const std::string& rama)
      : path_(ArrivalFolder(dir, rama)),
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
// data last: a set whose first file is missing is no set.
std::string MoveIntoPlace(const fs::path& from, const ImportRequest& r) {
  std::vector<std::string> names = SetFileNames(r.rama, r.obra);
  std::rotate(names.begin(), names.begin() + 2, names.end());
  return MoveSetIntoPlace(from.string(), r.dir, names);
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

// Thrown when the program's own review rejects the written set.
struct RejectedSet {
  std::string why;
};

// The program's codes of the review's errors as the file's codes.
std::string Rejection(const std::vector<ErrorEntry>& errors, const ImportPlan& plan) {
  std::map<std::string, std::string> original;
  for (const CodeMapping& m : plan.mapping)
    if (!m.code.empty()) original.emplace(Trimmed(m.code), m.original);
  std::string text = "el programa rechaza lo importado:";
  for (size_t i = 0; i < errors.size() && i < 10; ++i) {
    const std::string code = Trimmed(errors[i].errCode);
    const auto o = original.find(code);
    text += " " + AreaName(errors[i].targetKind) + " " + code +
            (o == original.end() ? "" : " (" + o->second + ")") + ": " +
            Trimmed(ErrorDescription(errors[i])) + ";";
  }
  if (errors.size() > 10) text += " y " + std::to_string(errors.size() - 10) + " errores mas";
  return text;
}

// The file's stated root price against the budget the program calculated.
std::string TotalCheck(const ImportPlan& plan, long double directCost, bool toPeso) {
  if (plan.statedTotal == 0)
    return "el archivo no da precio a su raiz " + plan.rootCode +
           ": el costo directo calculado es " + PlainAmount(directCost);
  // Both are amounts of the money decimals already.
  const long double difference = directCost - plan.statedTotal;
  if (std::fabs(difference) < (toPeso ? 0.5L : 0.005L))
    return "el costo directo calculado, " + PlainAmount(directCost) + ", es el precio de la raiz " +
           plan.rootCode + " del archivo";
  return "el costo directo calculado, " + PlainAmount(directCost) + ", difiere del precio de la " +
         "raiz " + plan.rootCode + " del archivo, " + PlainAmount(plan.statedTotal) + ", en " +
         PlainAmount(difference) + " (" + PlainAmount(difference * 100 / plan.statedTotal) + " %)";
}

// The review's notes as rows of the mapping report.
std::vector<CodeMapping> WithNotes(const ImportPlan& plan) {
  std::vector<CodeMapping> rows = plan.mapping;
  for (const std::string& note : plan.notes) rows.push_back({"", "", "nota", note});
  return rows;
}

// The set written and calculated in the work folder, the mapping beside
// where it goes, and then the set moved into place. Throws when the
// writing fails, RejectedSet when the program's review rejects the set.
void WriteAndMove(ImportPlan& plan, const ImportRequest& r) {
  WorkFolder work(r.dir, r.rama);
  StoredSet stored;
  {
    InUseKept inUse;
    stored = WritePlannedSet(plan, r.rama, r.obra, r.toPeso, (work.Path() / "ApError").string());
  }
  // The work folder's copy of the lock goes with the folder.
  ReleaseSetLock(work.Path().string(), r.rama, true);
  if (!stored.errors.empty()) throw RejectedSet{Rejection(stored.errors, plan)};
  plan.notes.push_back(TotalCheck(plan, stored.directCost, r.toPeso));
  std::string failure = WriteFileReplacing(r.mapPath, MappingCsv(WithNotes(plan)));
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
  // A code an import left half moved is looked at again under its lock.
  if (result.refused.empty() && !ArrivalPending(r.dir, r.rama)) result.refused = CheckNewSet(r);
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
  // An import of this code stopped while its files were moved is finished
  // (or, not yet begun, discarded) before the code is looked at again.
  const std::vector<std::string> settled = SettleInterruptedArrivals(r.dir, r.rama);
  result.refused = CheckNewSet(r);
  if (!result.refused.empty()) {
    for (const std::string& line : settled) result.refused += ". " + line;
    return result;
  }
  try {
    WriteAndMove(plan, r);
  } catch (const RejectedSet& e) {
    result.refused = r.file + ", " + e.why;
    return result;
  } catch (const std::exception& e) {
    result.failure = "no se pudo escribir la Rama " + r.rama + ": " + e.what();
    return result;
  }
  result.mapWritten = r.mapPath;
  result.notes = settled;
  result.notes.insert(result.notes.end(), plan.notes.begin(), plan.notes.end());
  result.concepts = static_cast<int>(read.doc.concepts.size());
  return result;
}

}  // namespace vantu
