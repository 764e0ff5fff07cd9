#include "app/reset_core_state.h"

#include "calc/calc_state.h"
#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "console/zones.h"
#include "estimating/analyses.h"
#include "estimating/budget.h"
#include "estimating/subcontracts.h"
#include "platform/platform.h"
#include "records/area_view.h"
#include "records/record_ops.h"
#include "reports/budget_listing_data.h"
#include "reports/listing_engine.h"
#include "schedule/schedule_state.h"
#include "selection/recode.h"
#include "selection/selection_sets.h"
#include "selection/set_list.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_io.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"
#include "toolkit/code_list.h"
#include "toolkit/code_list_source.h"
#include "toolkit/error_review.h"
#include "toolkit/field_cost_window.h"
#include "toolkit/field_hooks.h"
#include "toolkit/progress.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/window_stack.h"
#include "toolkit/work_area_link.h"

namespace vantu {

void ResetCoreState() {
  SetHost(nullptr);
  // Console
  ResetScreen();
  ResetInput();
  ResetZones();
  ResetButtons();
  // Session
  ResetShell();
  Hooks() = ShellHooks{};
  ClearCommands();
  ResetPrefs();
  RoundToPesoChangedHook() = nullptr;
  ResetSelection();
  // Toolkit
  ResetSchemes();
  ResetStatusLine();
  ResetReview();
  ResetWindowStack();
  ResetProgress();
  ResetCodeLists();
  SetListSource(nullptr);
  ResetFieldEditor();
  CostHooks() = CostWindowHooks{};
  WorkAreaLinks() = WorkAreaLink{};
  // Storage
  ResetStorageEngine();
  EngineFailureScreen() = EngineFailureUi{};
  SetStorageFiles(nullptr);
  ResetWorkAreas();
  ResetRecovery();
  ResetSetLocks();
  // Records, calculation and selection
  ResetRecordOps();
  ResetAreaViews();
  ResetCalc();
  ResetSchedule();
  ResetSetList();
  selection::ResetPendingSets();
  // Estimating
  ResetAnalysesModule();
  ResetSubcontractsModule();
  ResetBudgetModule();
  // Reports
  ResetListingState();
  ResetRecodification();
}

}  // namespace vantu
