#include "schedule/schedule_command.h"

#include "records/budget_records.h"
#include "schedule/activities.h"
#include "schedule/schedule_editor.h"
#include "schedule/schedule_plan.h"
#include "schedule/schedule_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "toolkit/window_message.h"

namespace vantu {

using namespace schedule_file;

namespace {

const char* const kPressKey = ".. Para continuar oprima cualquier tecla ..";

void ShowEraseNotice() {
  ShowMessageWindow({"... CRONOGRAMA BORRADO POR EL SISTEMA ....",
                     "Lo anterior ocurre cuando se modifica estructuralmente ",
                     "el PRESUPUESTO DE OBRA inicial, al adicionar, eliminar,",
                     "duplicar o hacer recodificacion parcial de ITEMS.  Las ",
                     "demas  modificaciones, ni las hechas en otras opciones ",
                     "del MENU, incluida la recodificacion general, realizan ",
                     "el borrado. Para evitar esta molestia, procure definir ",
                     "el cronograma  cuando tenga en firme el presupuesto de ",
                     "la obra.                                               ", kPressKey});
}

uint8_t NewScope() {
  return UsedRecordCount(Area(kAreaBudget).Data) > kMaxBudgetRecordsForItems ? kScopeChapters
                                                                             : kScopeItems;
}

// A budget with more rows to plan than the chart holds is planned by
// chapters: its marks would no longer match their rows, so they go too.
bool BuildOrFallBackToChapters() {
  ScheduleState& s = Schedule();
  if (BuildActivities()) return true;
  if (s.block.Scope() == kScopeChapters) return false;
  s.block.SetScope(kScopeChapters);
  for (int row = 1; row <= kMaxActivityRows; ++row)
    for (int p = 1; p <= kMaxPeriods; ++p) s.block.Cell(row, p) = kCellFree;
  s.block.SetComplete(0);
  s.block.SetScheduleChanged(1);
  ShowMessageWindow({"... El presupuesto tiene mas de " + std::to_string(kMaxActivities) +
                         " ITEMS programables ...",
                     "... El cronograma se programa por CAPITULOS ...", kPressKey});
  return BuildActivities();
}

}  // namespace

bool ScheduleEntryAllowed() {
  bool calculated = Area(kAreaGeneral).SavedSetSerial == Area(kAreaBudget).SavedSetSerial;
  for (int n = kAreaGeneral; n <= kAreaBudget; ++n)
    calculated = calculated && Area(n).SavedChangeMarker == 0;
  const bool hasRecords = UsedRecordCount(Area(kAreaBudget).Data) > 0;
  if (calculated && hasRecords) return true;
  ShowMessageWindow({hasRecords ? "... PRIMERO DEBE  REALIZAR LOS CALCULOS ..."
                                : "... PRIMERO DEBE  ENTRAR EL PRESUPUESTO ...",
                     kPressKey});
  return false;
}

void OpenSchedule() {
  ScheduleState& s = Schedule();
  s.path = ScheduleFilePath();
  s.tempPath = ScheduleTempPath();
  s.open = true;
  std::string why;
  // An Obra whose files were just created starts a new chart, whatever a
  // file of its name holds, until this opening writes its own.
  const ScheduleRead read = Area(kAreaBudget).CreatedAnew ? ScheduleRead::Missing
                                                          : ReadScheduleFile(s.path, s.block, why);
  if (read == ScheduleRead::Loaded) return;
  if (read == ScheduleRead::Damaged)
    ShowMessageWindow({"... ARCHIVO DEL CRONOGRAMA DANADO ...", why,
                       "Se inicia un cronograma nuevo; el archivo se reemplaza al salir",
                       kPressKey});
  InitScheduleBlock(s.block, NewScope());
}

bool LoadScheduleFor(uint8_t letter) {
  if (!ScheduleEntryAllowed()) return false;
  ScheduleState& s = Schedule();
  OpenSchedule();
  ConvertOldCells(s.block);
  s.erased = ApplyLoadRules(s.block);
  if (!BuildOrFallBackToChapters() || s.Activities.empty()) {
    ShowMessageWindow({"... PRESUPUESTO SIN ITEMS PROGAMABLES ....", kPressKey});
    DropSchedule();
    return false;
  }
  if (letter == 'N' && s.erased) ShowEraseNotice();
  return true;
}

bool SaveSchedule() {
  ScheduleState& s = Schedule();
  s.tempCreated = true;
  std::string why;
  if (!WriteScheduleFile(s.path, s.tempPath, s.block, why)) {
    s.tempCreated = false;
    ShowMessageWindow({"... NO SE PUDO GRABAR EL CRONOGRAMA ...", why, kPressKey});
    return false;
  }
  s.tempCreated = false;
  Area(kAreaBudget).CreatedAnew = false;  // the file on disk is now this Obra's chart
  return true;
}

void CloseSchedule() {
  ScheduleState& s = Schedule();
  StoreSummary(s.block, SummarizeChart(s.block, s.Activities));
  SaveSchedule();
  s.open = false;
}

void DropSchedule() {
  Schedule().open = false;
}

void ScheduleCommand() {
  if (!LoadScheduleFor('N')) return;
  EditSchedule();
  CloseSchedule();
}

}  // namespace vantu
