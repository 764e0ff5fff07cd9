#pragma once
// Where the program keeps its files on this system.
//   program directory: the executable's directory when writable, else
//     ~/.local/share/vantu; VANTU_HOME replaces it (and the home below).
//   documents root: ~/01 Archivos Presupuesto (under VANTU_HOME when set).

#include <string>

namespace vantu {

// Settings key of the consultant's name ("sConsultor") and the project
// directory ("sProyDir").
constexpr const char* kSettingsKey = "\\Presupuesto";

// Directory of the program's own files (configuration record, "LPT", font).
std::string ResolveProgramDir(const std::string& argv0);
// A file that belongs beside the program ("Vantu.TTF", "Vantu.pdf"): in
// the program directory, else beside the executable. The program directory's
// path when it is in neither.
std::string FindProgramFile(const std::string& name);
// The folder that stands for "C:\01 Archivos Presupuesto".
std::string DocumentsRoot();

// A relative VANTU_HOME is taken from the directory the program started
// in: the program changes into the data directory later, and the
// configuration must not move with it. Called first thing by each program.
void AnchorHomeVariable();

}  // namespace vantu
