#pragma once
// A new set written in a work folder beside the data folder, then moved
// into place. The list of files to move is written in the work folder
// before the first move, so a stop in the middle of the moves is completed
// at the next opening of the Rama or the next import; a work folder without
// the list holds a set that was never moved, and goes.

#include <string>
#include <vector>

namespace vantu {

// The work folder of this process for a new set of `rama` in `dir`.
std::string ArrivalFolder(const std::string& dir, const std::string& rama);

// Moves `names` from `folder` into `dir` in their order, after writing
// the list of them in the folder. On a failed move the files already moved
// go back and the list is removed; the message says which file, or "".
std::string MoveSetIntoPlace(const std::string& folder, const std::string& dir,
                             const std::vector<std::string>& names);

// Whether a stopped import of `rama` left a work folder in `dir`.
bool ArrivalPending(const std::string& dir, const std::string& rama);

// Work folders of `rama` in `dir` that a stopped import left: the moves
// of one that had begun are completed, one that had not begun is removed.
// The caller holds the Rama's lock. Returns what was done, one line per
// folder, for the user; empty when there was nothing.
std::vector<std::string> SettleInterruptedArrivals(const std::string& dir,
                                                   const std::string& rama);

}  // namespace vantu
