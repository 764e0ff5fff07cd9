#pragma once
// vantu-cli list --dir DIR --rama R [--obra O] --listing NAME [--pages A-B]
//                (--pdf FILE | --text FILE)
//
// Writes one budget listing, or the total listing, of a calculated set with
// the listing engine: --text the text the viewer shows, --pdf the pages the
// laser printer route draws (by the window program, see pdf_program.h).
// Exit status: 0 written, 1 nothing written because of the data (changed
// since the last calculation, nothing to list, no page in the range), 2
// failure (bad arguments, no set, no window program, a file that cannot be
// written); only a status 0 leaves the output file.

#include <string>
#include <vector>

namespace vantu::cli {

int ListCommand(const std::vector<std::string>& args, const std::string& argv0);

// The lines of vantu-cli --help about list.
std::string ListUsage();

}  // namespace vantu::cli
