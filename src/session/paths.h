#pragma once
// Where the program keeps its files on this system.
//   program directory: the executable's directory when it is a writable
//     build folder, else (an installed tree, <prefix>/bin beside
//     <prefix>/share/vantu, or a read-only folder) $XDG_DATA_HOME/vantu;
//     VANTU_HOME replaces it (and the home below).
//   shared files ("Vantu.TTF", "Vantu.pdf"): the program directory, the
//     executable's directory, then <exe>/../share/vantu.
//   documents root: ~/01 Archivos Presupuesto (under VANTU_HOME when set).

#include <string>

namespace vantu {

// Settings key of the consultant's name ("sConsultor") and the project
// directory ("sProyDir").
constexpr const char* kSettingsKey = "\\Presupuesto";

// Directory of the program's own files (configuration record, "LPT", font).
std::string ResolveProgramDir(const std::string& argv0);
// A file that belongs beside the program ("Vantu.TTF", "Vantu.pdf"): in
// the program directory, else beside the executable, else in the installed
// tree's share/vantu. The program directory's path when it is in none.
std::string FindProgramFile(const std::string& name);
// The same two for an executable in exeDir.
std::string ProgramDirFor(const std::string& exeDir);
std::string FindProgramFileFor(const std::string& exeDir, const std::string& name);
// The folder that stands for "C:\01 Archivos Presupuesto".
std::string DocumentsRoot();

// A relative VANTU_HOME is taken from the directory the program started
// in: the program changes into the data directory later, and the
// configuration must not move with it. Called first thing by each program.
void AnchorHomeVariable();

}  // namespace vantu
