#pragma once
// State shared by the shell and the modules, one instance for the run.

#include <cstdint>
#include <functional>
#include <string>

namespace vantu {

struct ShellState {
  std::string consultantName;  // up to 35 characters
  std::string programDir;      // directory of the program's own files
  std::string projectDir;      // "sProyDir"
  std::string dataDir;         // current directory at start; last directory at the end
  std::string programFilesEnv;
  std::string startDir;
  // A stored data folder that could not be entered (an unplugged drive, a
  // removed folder): the program works in its start directory instead and
  // the selection screen says so. Empty when there was none.
  std::string missingDataDir;
  bool fontInstalled = false;
  std::string errorFileName = "ApError";  // in the current directory
  // The name the configuration file is named after; empty: the program
  // file's own name. The command line shares the program's file.
  std::string programName;
  std::string listingFileName;  // programDir + "/LPT"
  bool atMainMenu = false;
  bool openingWork = false;
  bool obraSelected = false;
  uint8_t currentCommand = 0;
  uint8_t commandKey = 0;
  bool viewMode = false;
  uint8_t escDepth = 0;
  bool editEscPending = false;
  bool messageShown = false;
  bool windowEscPending = false;
  bool haltAtClose = false;
  // Set by the schedule dispatcher while its own menu shows; the menu's
  // "Cronograma" entry then reopens it instead of doing nothing.
  bool scheduleMenuOpen = false;
  bool generalDataNext = false;
  // A FIEBDC-3 file the program was started with, offered for import once
  // the selection is done.
  std::string importOnStart;
  // A menu entry queued its letter behind the codes that back out of the
  // running command: the loop reads it and does not drop it as a stray key.
  bool menuCommandQueued = false;
  // Flag shared by the calculation, listing and schedule modules, cleared
  // before every command.
  bool commandFlag = false;
  // Last answer character of the one-key prompts of the data screens.
  uint8_t lastAnswer = 'N';
};

ShellState& Shell();
void ResetShell();

// A module run by a command letter of the main loop.
using CommandModule = std::function<void()>;

// Steps of the start-up and the end that belong to other subsystems. Each is
// filled by its owner when it is linked in; an empty hook does nothing.
struct ShellHooks {
  // In the order they run at start-up:
  std::function<void()> askConsultant;    // the consultant dialog when no name is stored
  std::function<void()> loadPreferences;  // the configuration record
  std::function<void()> setUpWorkAreas;   // areas without files: selection, printing, settings
  std::function<void()> resetSelection;   // no Rama or Obra chosen yet
  std::function<void()> runSelection;     // the Rama/Obra selection, also command 'A'
  // At the end:
  std::function<void()> clearSetInUse;    // the normal end, in the configuration file
  std::function<void()> closeWorkAreas;   // first, so that every file is flushed
  std::function<void()> deleteWorkFiles;  // then the error, listing and temporary files
};

ShellHooks& Hooks();

// Registers the module of a command letter ('A'..'P').
void RegisterCommand(uint8_t letter, CommandModule module);
void ClearCommands();
const CommandModule* FindCommand(uint8_t letter);

}  // namespace vantu
