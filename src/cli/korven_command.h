#pragma once
// korven DIRECTORIO RAMA [OBRA] [--reparar] [--json]: checks the files of a
// Rama (and Obra) and their indexes and says what it found, one line per
// file (or one JSON object). With --reparar, after copying every file of the
// set into a backup folder beside them, it repairs the set the way the
// automatic recovery does (the same code): partial trailing records cut into
// a side file, free chains and indexes rebuilt from the data records.
// Exit status: 0 the set is sound (or was repaired), 1 faults were found and
// left as they are, 2 the check or the repair could not be done.

#include <string>
#include <vector>

namespace vantu::cli {

int KorvenCommand(const std::vector<std::string>& args);

}  // namespace vantu::cli
