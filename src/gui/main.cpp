// The program: one window with the console, the core's main program running
// on the same thread until it ends.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "gui/dialog_consultant.h"
#include "gui/listing_pdf_mode.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/single_instance.h"
#include "gui/spanish_ui.h"
#include "platform/halt.h"
#include "session/paths.h"
#include "session/program_version.h"
#include "session/shell_state.h"

namespace {

constexpr const char* kHelp =
    "uso: vantu [--version | --help]\n"
    "     vantu --listing-pdf LISTADO SALIDA.pdf [--landscape]\n"
    "  Sin opciones abre la ventana del programa de presupuesto de obra.\n"
    "  --listing-pdf dibuja un archivo de listado en un PDF, sin ventana.\n"
    "  Estado de salida: 0 terminado, 1 error del programa, 2 fallo de --listing-pdf.\n";

// --version and --help answer without a window; true when one was given.
bool AnswersOption(int argc, char** argv, int& status) {
  if (argc != 2) return false;
  status = 0;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("vantu %s\n", vantu::ProgramVersion());
  } else if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kHelp, stdout);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vantu;
  if (int status = 0; AnswersOption(argc, argv, status)) return status;
  AnchorHomeVariable();
  // A listing drawn into a PDF: no window, no second-copy check, no data.
  if (gui::IsListingPdfRun(argc, argv)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return gui::RunListingPdf(argc, argv);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vantu"));
  gui::InstallSpanishTranslations(app);

  gui::SingleInstance instance;
  if (!instance.Acquire()) return 0;

  gui::QtHost host;
  SetHost(&host);
  int exitCode = 0;
  {
    gui::TForm1 window(&host);
    host.Attach(&window);
    instance.OnRaise([&window] { window.BringToFront(); });
    InstallModules();
    Hooks().askConsultant = [&window] { AskConsultant(&window); };
    window.ShowStartup();
    try {
      RunMain(QCoreApplication::applicationFilePath().toStdString());
    } catch (const Halt& h) {
      exitCode = h.exitCode;
    } catch (const std::exception& e) {
      QMessageBox::critical(&window, QStringLiteral("Error Aplicativo"),
                            QString::fromLocal8Bit(e.what()));
      exitCode = 1;
    }
    try {
      ShellFinalize();
    } catch (const Halt&) {
    }
    host.Attach(nullptr);
  }
  SetHost(nullptr);
  return exitCode;
}
