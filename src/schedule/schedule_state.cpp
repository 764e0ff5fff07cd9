#include "schedule/schedule_state.h"

#include <filesystem>

namespace vantu {

namespace {
ScheduleState gSchedule;
}

ScheduleState& Schedule() {
  return gSchedule;
}

void ResetSchedule() {
  gSchedule = ScheduleState{};
  ScheduleSaveProbe() = nullptr;
}

void DeleteScheduleWorkFiles() {
  ScheduleState& s = Schedule();
  if (!s.tempCreated) return;
  std::error_code ec;
  std::filesystem::remove(s.tempPath, ec);
  s.tempCreated = false;
}

}  // namespace vantu
