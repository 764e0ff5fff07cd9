// The program: one window with the console, the core's main program running
// on the same thread until it ends.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

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
    "uso: vantu [--version | --help | ARCHIVO.bc3]\n"
    "     vantu --listing-pdf LISTADO SALIDA.pdf [--landscape]\n"
    "  Sin opciones abre la ventana del programa de presupuesto de obra; con un\n"
    "  archivo FIEBDC-3, lo ofrece para importar despues de la seleccion.\n"
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

  // A file given (a double click on a .bc3): offered for import once the
  // selection is done. Its path is made whole before the program changes
  // to the data folder.
  std::string importFile;
  if (argc == 2 && argv[1][0] != '-') {
    std::error_code ec;
    importFile = std::filesystem::absolute(argv[1], ec).string();
  }

  gui::SingleInstance instance;
  if (!instance.Acquire()) {
    // The copy already open came forward; this one cannot import into it.
    if (!importFile.empty())
      QMessageBox::information(nullptr, QStringLiteral("Vantu"),
                               QStringLiteral("El programa ya esta abierto. Para importar %1 use "
                                              "Archivos/Importar en su ventana.")
                                   .arg(QString::fromStdString(importFile)));
    return 0;
  }

  gui::QtHost host;
  SetHost(&host);
  int exitCode = 0;
  {
    gui::TForm1 window(&host);
    host.Attach(&window);
    instance.OnRaise([&window] { window.BringToFront(); });
    InstallModules();
    Shell().importOnStart = importFile;
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
