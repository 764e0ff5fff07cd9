#include "selection/recode.h"

#include <map>
#include <utility>
#include <vector>

#include "records/area_view.h"
#include "records/record_ops.h"
#include "selection/recode_files.h"
#include "selection/recode_references.h"
#include "session/selection_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/error_review.h"
#include "toolkit/progress.h"
#include "toolkit/window_message.h"

namespace vantu {

namespace {

constexpr const char* kPressAnyKey = ".. Para continuar oprima cualquier tecla ..";

std::string ExtensionOf(int area) {
  const SelectionState& s = Selection();
  return area == kAreaBudget ? s.SetExtension() : s.RamaCode;
}

bool HasRecords(int area) {
  const WorkArea& a = Area(area);
  return a.Data.isOpen && UsedRecordCount(a.Data) > 0;
}

bool ObraOpen() {
  return !Selection().ObraCode.empty() && Area(kAreaBudget).Data.isOpen;
}

// Reopens an area closed for the run: the first code becomes the current
// record and the browsing starts again from the top.
void ReopenArea(int area) {
  std::vector<uint8_t> buffer(static_cast<size_t>(kMaxRecordLength));
  OpenWorkArea(area, true, buffer.data(), ExtensionOf(area), kSetRecordLength[area]);
  View(area).browse = BrowseState{};
}

void ShowRefusal(const std::vector<std::string>& lines) {
  ShowMessageWindow(lines);
}

// Plans every file; the first one whose codes would not fit stops the run
// before anything is written. Returns that file's number, or 0.
int PlanAll(const std::vector<int>& files, const RecodeParams& p,
            std::vector<FileRenumbering>& plans) {
  for (int n : files) {
    plans.push_back(PrepareRenumbering(n, ExtensionOf(n), p));
    if (plans.back().plan.status != PlanStatus::kOk) return n;
  }
  return 0;
}

// Renumbers every file; `heads` receives the heads of each file's records
// as the renumbering left them.
int RenumberPhase(int phase, const std::vector<int>& files, RecodeParams& p,
                  std::map<int, std::vector<RecordHead>>& heads) {
  const SelectionState& s = Selection();
  const std::string ext = s.SetExtension();
  if (phase == kRecodeRenumbering) p = ReadRecodeState(s.DataDirectory, ext, phase);
  std::vector<FileRenumbering> plans;
  if (const int refused = PlanAll(files, p, plans); refused != 0) return refused;
  if (phase == kRecodeIdle && !BeginRecodeRun(s.DataDirectory, ext, p))
    FailEngine(kStatusWriteError);
  for (FileRenumbering& r : plans) {
    RenumberFile(r);
    heads[r.fileNo] = std::move(r.heads);
  }
  if (!EnterReindexPhase(s.DataDirectory, ext, p)) FailEngine(kStatusWriteError);
  return 0;
}

// The heads the reindexing read serve the references, unless the opening
// check found the file changed since and rebuilt it.
void ProvideHeads(ReferenceResolvers& resolvers, int area, std::vector<RecordHead> heads) {
  ReferenceResolver* resolver = resolvers.For(area);
  const WorkArea& a = Area(area);
  if (resolver == nullptr || a.indexRebuilt || !a.Data.isOpen) return;
  if (heads.size() != static_cast<size_t>(FileRecordCount(a.Data))) return;
  resolver->Provide(std::move(heads));
}

// The calculation reviews every recodified area before it prices again.
void AskForReview(const std::vector<int>& files) {
  for (int n : files) Area(n).SavedChangeMarker = 1;
  RecordOps().crossReviewNeeded = true;
}

}  // namespace

std::vector<int> FilesToRecodify() {
  std::vector<int> files;
  for (int n : {kAreaInputs, kAreaAnalyses, kAreaSubcontracts})
    if (HasRecords(n)) files.push_back(n);
  if (ObraOpen() && HasRecords(kAreaBudget)) files.push_back(kAreaBudget);
  return files;
}

int RunRecodification(int phase, const RecodeParams& params) {
  const std::vector<int> files = FilesToRecodify();
  RecodeParams p = params;
  // A second handle on a file would keep an older copy: the run works on
  // the files alone and reopens the areas at the end.
  for (int n : files) CloseWorkArea(n);
  std::map<int, std::vector<RecordHead>> heads;
  if (phase != kRecodeReindexing) {
    if (const int refused = RenumberPhase(phase, files, p, heads); refused != 0) {
      for (int n : files) ReopenArea(n);
      return refused;
    }
  }
  for (int n : files) heads[n] = ReindexFile(n, ExtensionOf(n), std::move(heads[n]));
  for (int n : files) ReopenArea(n);
  ReferenceResolvers resolvers;
  for (auto& [n, read] : heads) ProvideHeads(resolvers, n, std::move(read));
  if (HasRecords(kAreaAnalyses)) UpdateAnalysisReferences(resolvers);
  if (ObraOpen() && HasRecords(kAreaBudget)) UpdateBudgetReferences(resolvers);
  AskForReview(files);
  for (int n : files) FlushWorkArea(n);
  FlushWorkArea(kAreaGlobals);
  // Only now is the run complete: a stop while the references were being
  // updated repeats that update from the start.
  EndRecodeRun(Selection().DataDirectory, Selection().SetExtension());
  return 0;
}

void Recodify(bool interactive) {
  const SelectionState& s = Selection();
  if (s.RamaCode.empty() || !Area(kAreaGeneral).Data.isOpen) return;
  const int phase = FindRecodePhase(s.DataDirectory, s.SetExtension());
  RecodeParams params;
  if (interactive) {
    if (Review().active) {
      ShowRefusal({"... PRIMERO DESACTIVE REVISION DE ERRORES ...", kPressAnyKey});
      return;
    }
    if (phase == kRecodeIdle && FilesToRecodify().empty()) {
      ShowRefusal({"....... NO HAY NADA PARA RECODIFICAR ........", kPressAnyKey});
      return;
    }
    SetUpWorkArea(kAreaRecoding, 1);
    if (!EditRecodeParams(params)) return;
  } else if (phase == kRecodeIdle) {
    return;
  }
  RecodeProgressShown() = ShowProgress(40, 12);
  StepProgress(true);
  const int refused = RunRecodification(phase, params);
  if (RecodeProgressShown()) HideProgress();
  RecodeProgressShown() = false;
  if (refused != 0)
    ShowRefusal({"... LOS CODIGOS NO ALCANZAN PARA RECODIFICAR ...",
                 "Archivo: " + DataBaseName(refused, ExtensionOf(refused)), kPressAnyKey});
  if (interactive) CloseRecodeWindow();
}

bool CompletePendingRecode(std::vector<std::string>& otherSet) {
  otherSet.clear();
  const SelectionState& s = Selection();
  if (s.RamaCode.empty()) return false;
  const std::string pending = PendingRecodeExtension(s.DataDirectory, s.RamaCode);
  if (pending.empty()) return false;
  if (pending == s.SetExtension()) {
    Recodify(false);
    return true;
  }
  // The run renumbered the Rama with that Obra's budget: only that set
  // completes it, or the references of one of them would be left behind.
  const std::string obra = pending.substr(1);
  otherSet = {"HAY UNA RECODIFICACION SIN TERMINAR DE LA RAMA " + s.RamaCode +
                  (obra.empty() ? " (SIN OBRA)" : " OBRA " + obra),
              obra.empty() ? "Abra la Rama " + s.RamaCode + " sin Obra para completarla"
                           : "Abra la Rama " + s.RamaCode + " con la Obra " + obra +
                                 " para completarla"};
  return false;
}

void ResetRecodification() {
  ResetRecodeFiles();
  RecodeProgressShown() = false;
}

}  // namespace vantu
