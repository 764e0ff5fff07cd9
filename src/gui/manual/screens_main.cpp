// vantu_screens OUTDIR FONT [--texto]: the screenshots of the manual.
// Writes the demo set into a scratch folder, runs the program on it with a
// scripted consultant, and saves each pictured screen as OUTDIR/<name>.png.
// Any screen that does not say what the script expects, or a script that
// stops before its end, fails the run (exit 1) so that the manual is never
// built from stale or wrong pictures. --texto prints each screen's text.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "app/reset_core_state.h"
#include "dataset_generator.h"
#include "gui/manual/manual_sessions.h"
#include "gui/manual/shot_host.h"
#include "platform/halt.h"
#include "session/paths.h"
#include "session/preferences.h"
#include "storage/storage_engine.h"

namespace {

namespace fs = std::filesystem;
using namespace vantu;

// The demo Rama A and Obra 01, calculated, small enough to take no time.
bool WriteDemoSet(const std::string& dir) {
  HeadlessHost host;
  SetHost(&host);
  InitStorageEngine();
  dataset::DatasetShape shape;
  shape.directory = dir;
  shape.inputRecords = 120;
  shape.analysisRecords = 90;
  shape.subcontractRecords = 12;
  shape.globalRecords = 10;
  shape.budgetRecords = 40;
  shape.calculated = true;
  shape.roundToPeso = DefaultPreferences().roundToPeso;
  bool written = true;
  try {
    dataset::GenerateDataset(shape);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantu_screens: conjunto de muestra: %s\n", e.what());
    written = false;
  } catch (const Halt&) {
    std::fprintf(stderr, "vantu_screens: fallo al escribir el conjunto de muestra\n");
    written = false;
  }
  ResetCoreState();
  return written;
}

// The scripted run; false when it stopped before the script's end.
bool RunSessions(manual::ShotHost& host, const std::string& scratch) {
  SetHost(&host);
  InstallModules();
  host.Settings()["\\Presupuesto\\sConsultor"] = "ANA TORRES";
  manual::QueueManualSessions(host, scratch);
  bool ended = true;
  try {
    RunMain("vantu");
  } catch (const ScriptExhausted&) {
    ended = false;
  } catch (const Halt&) {
    ended = false;
  }
  try {
    ShellFinalize();
  } catch (const Halt&) {
  }
  return ended && host.ScriptDone() && !host.ViewerShotPending() && !host.BoxShotPending();
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "uso: vantu_screens SALIDA FUENTE.ttf [--texto]\n");
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir scratch;
  if (!QDir().mkpath(outDir) || !scratch.isValid()) {
    std::fprintf(stderr, "vantu_screens: no se puede escribir en %s\n", argv[1]);
    return 2;
  }
  // Every file of the run (configuration, listing, font, data) in the scratch folder.
  const std::string home = scratch.path().toStdString();
  setenv("VANTU_HOME", home.c_str(), 1);
  std::error_code ec;
  fs::copy_file(argv[2], fs::path(home) / "Vantu.TTF", ec);
  const std::string data = (fs::path(DocumentsRoot()) / "Vantu").string();
  fs::create_directories(data, ec);
  if (!WriteDemoSet(data)) return 1;

  manual::ShotHost host(outDir);
  host.EchoText(argc == 4 && std::string(argv[3]) == "--texto");
  const bool ended = RunSessions(host, home);
  for (const std::string& f : host.Failures()) std::fprintf(stderr, "vantu_screens: %s\n", f.c_str());
  if (!ended) {
    std::fprintf(stderr, "vantu_screens: la sesion se detuvo antes del final del guion\n%s\n",
                 ScreenText().c_str());
    for (const auto& box : host.Boxes())
      std::fprintf(stderr, "  cuadro \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
  }
  ResetCoreState();
  return ended && host.Failures().empty() ? 0 : 1;
}
