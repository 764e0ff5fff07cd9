#pragma once
// A Rama (and Obra) opened from the command line as the selection screen
// leaves it, over the scripted host, and closed as the program ends.

#include <string>

namespace vantu::cli {

struct SetArgs {
  std::string dir, rama, obra;
};

// "" when --dir, --rama (one character) and --obra (two, if given) are
// acceptable, else why not.
std::string CheckSetArgs(const SetArgs& a);

// The first file of the set missing from the directory, or "".
std::string MissingSetFile(const SetArgs& a);

// Program directory and preferences as the program sets them up, then the
// set opened and marked in use. A failure of the storage engine halts.
void OpenSetSession(const SetArgs& a, const std::string& argv0);

// The program end: files closed, the in-use mark cleared, work files gone.
void CloseSetSession();

// The lines a window left on the screen, without its frame, in UTF-8.
std::string ScreenMessage();

}  // namespace vantu::cli
