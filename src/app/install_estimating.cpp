// Connects the estimating modules to the toolkit and the shell.
#include <filesystem>

#include "app/install_modules.h"
#include "estimating/analyses.h"
#include "estimating/basic_inputs.h"
#include "estimating/budget.h"
#include "estimating/general_data.h"
#include "estimating/subcontracts.h"
#include "records/list_source.h"
#include "records/record_ops.h"
#include "records/usage_check.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "toolkit/code_list.h"
#include "toolkit/field_cost_window.h"
#include "toolkit/field_hooks.h"

namespace vantu {

namespace {

bool OpenArea(int area) {
  return IsValidArea(area) && Area(area).Data.isOpen;
}

GeneralDataRecord RamaGeneralData() {
  GeneralDataRecord g;
  if (OpenArea(kAreaGeneral) && FileRecordCount(Area(kAreaGeneral).Data) > 1)
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
  return g;
}

void InstallFieldHooks() {
  FieldHooks& h = FieldEditorHooks();
  h.listsAllowed = IsCodedArea;
  h.helpAllowed = [](int area) { return area == kAreaGeneral || IsCodedArea(area); };
  // An integer zero of the coded screens means "not set".
  h.blankZeros = IsCodedArea;
  h.hasRecords = [](int area) { return OpenArea(area) && UsedRecordCount(Area(area).Data) > 0; };
  h.setFieldChanged = [](int area, bool changed) { CodedState(area).fieldChanged = changed; };
  h.markChanged = [](int area) {
    if (!OpenArea(area)) return;
    Area(area).SavedChangeMarker = 1;
    if (!IsCodedArea(area)) return;
    CodedAreaState& st = CodedState(area);
    st.changed = st.unsaved = true;
    RecordOps().crossReviewNeeded = true;
  };
  h.quantityUndefined = BudgetQuantityUndefined;
  h.percentagesUnbalanced = [](int area) {
    return area == kAreaSubcontracts && SubcontractPercentagesUnbalanced();
  };
  h.withdrawProposal = BudgetWithdrawProposal;
}

void InstallCostHooks() {
  CostWindowHooks& c = CostHooks();
  c.aiuPerItem = [] { return Get(RamaGeneralData(), general::AiuMode) == general::kAiuPerItem; };
  c.adminPct = [] { return Get(RamaGeneralData(), general::AdminPct); };
  c.computeCost = [](int area) {
    return area == kAreaAnalyses ? AnalysisScreenCost() : SubcontractScreenCost();
  };
  c.isChapter = [](int area) {
    return area == kAreaAnalyses ? AnalysisScreenOnChapter() : SubcontractScreenOnChapter();
  };
}

// A code picked from a list goes into the analysis line being edited.
void InstallListHooks() {
  ListHooks().captureTarget = [](int area) {
    if (area == kAreaAnalyses)
      if (auto t = AnalysisCaptureTarget()) return *t;
    return BudgetCaptureTarget(area).value_or(CaptureTarget{});
  };
}

}  // namespace

void InstallEstimating() {
  SetListSource(&WorkAreaSource());
  InstallFieldHooks();
  InstallCostHooks();
  InstallListHooks();
  RegisterCommand('D', GeneralDataCommand);
  RegisterCommand('E', BasicInputsCommand);
  RegisterCommand('F', AnalysesCommand);
  RegisterCommand('G', SubcontractsCommand);
  RegisterCommand('H', BudgetCommand);
  // The usage check's warning file is a work file of the run.
  Hooks().deleteWorkFiles = [] {
    std::error_code ec;
    std::filesystem::remove(kTempErrorFile, ec);
  };
}

}  // namespace vantu
