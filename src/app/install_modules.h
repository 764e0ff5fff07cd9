#pragma once
// The composition root: fills the shell's start-up and end hooks and its
// command table with the modules of every subsystem. Called once by a host
// before RunMain.

#include <string>

namespace vantu {

void InstallModules();

// The parts InstallModules calls, one per subsystem.
void InstallFileSets();             // the work-area table, recovery screens, start and end steps
void InstallEngineFailureScreen();  // the storage engine's error box
void InstallSelection();            // selection at the start and command 'A'
void InstallEstimating();   // list source, field editor, capture and cost hooks, commands D to H
void InstallCalculation();  // command I, the cost window and the lists' detail costs
void InstallReports();      // listings and forms, commands J to M, O and P
void InstallExchange();     // command Q, the export of the open set
// The import of command R for `file`, or through the file dialog when "".
void ImportFile(const std::string& file);
void InstallSchedule();     // command N and the schedule's work file at the end
// Command C and its work file at the end; after the modules that set the end hooks.
void InstallRecodification();

}  // namespace vantu
