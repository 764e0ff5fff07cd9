#pragma once
// Command R, "Importar...": an exchange file (.bc3) chosen in the open
// dialog becomes a new Rama (the first code free in the data directory)
// with its Obra "01". The open set, if any, is closed while the new one is
// written and opened again afterwards; what the import did, or why it
// refused, is shown.

#include <functional>
#include <string>

namespace vantu {

// The dialog's file types, in the "label|pattern|..." form of ChooseFile.
inline constexpr const char* kImportFilter = "Presupuesto FIEBDC-3 (.bc3)|*.bc3";
inline constexpr const char* kImportedObra = "01";

// The first Rama code (A-Z, then 0-9) with no file in dir; "" when every
// one is taken.
std::string FreeRamaCode(const std::string& dir);

// How the program closes the open set and opens it again: the selection's
// own steps, given by the command's installer.
struct OpenSetSteps {
  std::function<void()> close;
  std::function<void(const std::string& rama, const std::string& obra)> reopen;
};

// `file` given (a file the program was started with), the file dialog is
// skipped and the import still asks before it writes.
void RunImport(const OpenSetSteps& steps, const std::string& file = {});

}  // namespace vantu
