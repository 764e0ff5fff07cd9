// The usage check before a deletion: the analyses and budget items that
// refer to the code become warnings, and the user may walk them with the
// error review instead of deleting.
#include "records/usage_check.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "records/record_ops.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/error_review.h"
#include "toolkit/message_boxes.h"
#include "toolkit/screen.h"

namespace vantu {

namespace {

constexpr uint8_t kUsedByAnalysis = 8;  // "Eliminar3"
constexpr uint8_t kUsedByBudget = 9;    // "Eliminar6"
constexpr uint8_t kCandidate = 2;       // "candidato a eliminar"

ErrorEntry Warning(uint8_t targetKind, const std::string& user, const std::string& code) {
  ErrorEntry e;
  e.severity = kSevWarning;
  e.targetKind = targetKind;
  e.errCode = PadCode6(user);
  e.nameIndex = 0;
  e.detailsText = PadCode6(code);
  e.variant = kCandidate;
  return e;
}

bool AnalysisUses(const AnalysisRecord& rec, const std::string& code) {
  for (int slot = 1; slot <= analysis::kLineSlots; ++slot) {
    const AnalysisLine line = Get(rec, analysis::Lines(slot));
    if (Get(line, analysis_line::LineType) != 0 && Get(line, analysis_line::RefCode) == code)
      return true;
  }
  return false;
}

void AddAnalysisUsers(const std::string& code, std::vector<ErrorEntry>& out) {
  if (!Area(kAreaAnalyses).Data.isOpen) return;
  ForEachKey(3, [&](const std::string& key, int16_t r) {
    if (key.size() != kAnalysisCodeLength) return true;
    AnalysisRecord rec;
    GetRec(Area(kAreaAnalyses).Data, r, rec.data());
    if (AnalysisUses(rec, code)) out.push_back(Warning(kUsedByAnalysis, key, code));
    return true;
  });
}

void AddBudgetUsers(const std::string& code, std::vector<ErrorEntry>& out) {
  if (!Area(kAreaBudget).Data.isOpen || UsedRecordCount(Area(kAreaBudget).Data) == 0) return;
  ForEachKey(6, [&](const std::string& key, int16_t r) {
    if (IsChapterCode(key)) return true;
    BudgetRecord rec;
    GetRec(Area(kAreaBudget).Data, r, rec.data());
    if (Get(rec, budget_item::RefCode) == code) out.push_back(Warning(kUsedByBudget, key, code));
    return true;
  });
}

std::string UsageQuestion(int area, const std::vector<ErrorEntry>& warnings) {
  bool byAnalysis = false, byBudget = false;
  for (const ErrorEntry& e : warnings) {
    byAnalysis = byAnalysis || e.targetKind == kUsedByAnalysis;
    byBudget = byBudget || e.targetKind == kUsedByBudget;
  }
  std::string text;
  if (area == kAreaInputs) {
    text = "Este Basico es utilizado en los Analisis Unitarios";
  } else if (area == kAreaAnalyses) {
    text = byAnalysis ? "Este Analisis Unitario es utilizado en otros Analisis Unitarios"
                      : "Este Analisis Unitario es utilizado en el Presupuesto de Obra";
    if (byAnalysis && byBudget) text += "\ry en el Presupuesto de Obra";
  } else {
    text = "Este Subcontrato es utilizado en el Presupuesto de La obra";
  }
  return text + "\r\rDesea conocer ahora donde se utiliza ?";
}

}  // namespace

void ForEachKey(int area, const std::function<bool(const std::string&, int16_t)>& visit) {
  IndexFileState& ix = Area(area).Index;
  std::string key;
  int16_t r = 0;
  SearchKey(ix, r, key);
  while (LastOpOk()) {
    if (!visit(key, r)) return;
    NextKey(ix, r, key);
  }
}

std::vector<int16_t> KeyOrder(int area) {
  std::vector<int16_t> records;
  if (RecordsInKeyOrder(Area(area).Index, records)) return records;
  ForEachKey(area, [&](const std::string&, int16_t r) {
    records.push_back(r);
    return true;
  });
  return records;
}

std::vector<ErrorEntry> UsageWarnings(int area, const std::string& code) {
  std::vector<ErrorEntry> warnings;
  if (IsChapterCode(code)) return warnings;
  if (area == kAreaInputs || area == kAreaAnalyses) AddAnalysisUsers(code, warnings);
  if (area == kAreaAnalyses || area == kAreaSubcontracts) AddBudgetUsers(code, warnings);
  return warnings;
}

bool StartWarningsReview(int16_t count, bool withSystemText) {
  std::error_code ec;
  std::filesystem::rename(kTempErrorFile, Shell().errorFileName, ec);
  if (ec) {
    std::string text = "No se pudo renombrar un archivo";
    text += withSystemText ? "\r\r" + ec.message() : "\r\r";
    AlertBox(text, "Error del programa");
    return false;
  }
  StartErrorReview(count);
  ShowReviewButtons();
  return true;
}

bool CheckUsage(int area, const std::string& code) {
  const std::vector<ErrorEntry> warnings = UsageWarnings(area, code);
  WriteErrorFile(kTempErrorFile, warnings);
  if (warnings.empty()) return false;
  switch (ChoiceBox(UsageQuestion(area, warnings), "Advertencia Eliminacion")) {
    case 'N':
      return false;
    case 'S':
      StartWarningsReview(static_cast<int16_t>(warnings.size()), false);
      return true;
    default:
      return true;
  }
}

}  // namespace vantu
