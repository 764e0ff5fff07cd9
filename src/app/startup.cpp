// Start-up of the main program: settings, directories, work files, and the
// first selection of Rama and Obra.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "console/console.h"
#include "console/zones.h"
#include "platform/platform.h"
#include "session/paths.h"
#include "session/shell_state.h"
#include "toolkit/message_boxes.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

void Run(const std::function<void()>& hook) {
  if (hook) hook();
}

bool EnterDir(const std::string& dir) {
  std::error_code ec;
  fs::current_path(dir, ec);
  return !ec;
}

// Before anything is read: the documents folder exists, and the program works
// in the project directory the settings name.
void EnterProjectDir() {
  ShellState& sh = Shell();
  std::error_code ec;
  const std::string docs = DocumentsRoot();
  if (!fs::exists(docs, ec)) fs::create_directories(docs, ec);

  const std::string installDir = sh.programFilesEnv + "/Vantu";
  std::string stored = Host().ReadSetting(kSettingsKey, "sProyDir");
  sh.projectDir = stored.substr(0, 255);
  if (!sh.projectDir.empty() && sh.projectDir != installDir) {
    if (EnterDir(sh.projectDir)) return;
    // A stored folder that is not there is never made anew: the program
    // stays in its start directory and keeps the setting for when the
    // folder is back.
    sh.missingDataDir = sh.projectDir;
    EnterDir(sh.startDir);
    return;
  }
  if (sh.projectDir.empty() || sh.projectDir == installDir)
    sh.projectDir = (fs::path(docs) / "Vantu").string();
  // The stored directory is missing or was the install directory: make it.
  Host().WriteSetting(kSettingsKey, "sProyDir", sh.projectDir);
  fs::create_directories(sh.projectDir, ec);
  if (EnterDir(sh.projectDir)) return;
  // Still no way in: fall back on the documents folder, so that "ApError"
  // and the data files have a home.
  AlertBox("No se puede entrar en la carpeta " + sh.projectDir, "Carpeta de Proyectos");
  sh.projectDir = docs;
  Host().WriteSetting(kSettingsKey, "sProyDir", sh.projectDir);
  EnterDir(sh.projectDir);
}

void CreateListingFile() {
  ShellState& sh = Shell();
  sh.listingFileName = (fs::path(sh.programDir) / "LPT").string();
  std::ofstream out(std::filesystem::path(sh.listingFileName),
                    std::ios::binary | std::ios::trunc);  // errors ignored
}

}  // namespace

void StartUp(const std::string& argv0) {
  ShellState& sh = Shell();
  sh.consultantName = Host().ReadSetting(kSettingsKey, "sConsultor").substr(0, 35);
  if (sh.consultantName.empty()) {
    Host().ShowCaret(false, 0, 0);
    Run(Hooks().askConsultant);
  }
  sh.programDir = ResolveProgramDir(argv0);
  sh.projectDir = sh.programDir;
  const char* pf = std::getenv("ProgramFiles");
  sh.programFilesEnv = pf != nullptr ? std::string(pf).substr(0, 255) : std::string();
  std::error_code ec;
  sh.startDir = fs::current_path(ec).string();
  EnterProjectDir();

  Screen().highColour = Host().ColourDepth() >= 16;
  const fs::path font = FindProgramFile("Vantu.TTF");
  sh.fontInstalled = fs::exists(font, ec) && Host().RegisterFont(font.string());

  Host().ShowCaret(false, 0, 0);
  ClearAllZoneTables();
  Window(1, 1, 80, 25);
  Run(Hooks().loadPreferences);
  sh.errorFileName = "ApError";
  CreateListingFile();
  Run(Hooks().setUpWorkAreas);
  sh.obraSelected = false;
  Run(Hooks().resetSelection);
  sh.dataDir = fs::current_path(ec).string().substr(0, 160);

  sh.openingWork = true;
  Host().SetMenusEnabled(false);
  TextBackground(18);
  ClrScr();
  SelectScheme(kSchemeModule);
  Run(Hooks().runSelection);
  Host().UpdateMenusForSelection(sh.obraSelected);
  sh.openingWork = false;
  Host().SetMenusEnabled(true);

  if (sh.generalDataNext) {
    if (const CommandModule* d = FindCommand('D')) {
      SetCaret(true);
      SelectScheme(kSchemeModule);
      (*d)();
    }
  }
  // A FIEBDC-3 file the program was opened with (a double click on it).
  if (!sh.importOnStart.empty()) {
    std::string file;
    file.swap(sh.importOnStart);
    ImportFile(file);
  }
}

void RunMain(const std::string& argv0) {
  StartUp(argv0);
  MainLoop();
}

}  // namespace vantu
