#pragma once
// Command N and the part of commands O and P they share with it: the
// checks, the loading of the open Obra's schedule and its saving.

#include <cstdint>

namespace vantu {

// Refuses, with its message box, unless the data were calculated after the
// last change (no ChangeMarker on files 1 to 6, equal SetSerial of files 1
// and 6) and the budget holds records.
bool ScheduleEntryAllowed();

// Reads the schedule file, or makes the content of a new one when the
// Obra's files were just created or the file is missing or damaged (a
// damaged file is named with the reason in a message box first).
void OpenSchedule();

// The checks, OpenSchedule, the old-cell conversion, the stale-chart rule
// and BuildActivities. False when the command cannot go on (the schedule
// is then closed without writing); `letter` 'N' shows the erase notice.
bool LoadScheduleFor(uint8_t letter);

// Writes the record, keeping the file open; a failure is shown in a
// message box with the file and the reason.
bool SaveSchedule();
// Length, YearBlocks and Complete from the marks, then the record written
// and the schedule closed.
void CloseSchedule();
// The schedule closed without writing.
void DropSchedule();

// Command N: the chart editor over the loaded schedule.
void ScheduleCommand();

}  // namespace vantu
