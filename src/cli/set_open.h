#pragma once
// How vantu-cli's commands reach a Rama (and Obra): the files checked
// first, then the set opened as the selection screen leaves it (recovery
// run when the last run did not end normally, files 1-6 open, the set
// marked in use), and the program's end afterwards.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vantu::cli {

// The first data file of the set that is missing in dir, or "".
std::string MissingSetFile(const std::string& dir, const std::string& rama,
                           const std::string& obra);

// The shell as the program's start leaves it (program directory from
// argv0, preferences, work areas), with no set open.
void StartWithoutSet(const std::string& argv0);

// A command that cannot go on, in words for the user (Windows-1252 lines);
// nothing was changed. RunOverHost prints it and ends with status 2.
struct Refusal : std::runtime_error {
  explicit Refusal(const std::vector<std::string>& lines);
  std::vector<std::string> lines;
};

// The Rama's lock, taken before anything of the set is read or written:
// the command line refuses a set that another program (on this computer
// or another) holds, and rebuilds one left open by a holder that died,
// saying so. Only the marker of this same set in the configuration is
// acted on: a marker left by a failed run on another set is not this
// command's business.
void ReserveSet(const std::string& dir, const std::string& rama);

// The shell as the program's start leaves it (program directory from
// argv0, preferences, work areas), then the set reserved, opened and
// marked in use.
void OpenSetAsSelected(const std::string& dir, const std::string& rama, const std::string& obra,
                       const std::string& argv0);

// The program end: files closed, the in-use mark cleared, work files gone.
void FinishSetRun();

// Runs a command's body over the scripted host with every module installed:
// a stop of the program (the engine's error box, a halt) or a failure is
// reported on stderr with what the screen showed, and the program's end runs
// in every case. The body's status, or kExitFailure when it did not finish.
int RunOverHost(Platform& host, const std::function<int()>& body);

}  // namespace vantu::cli
