#pragma once
// The PDF of a listing, drawn by the window program itself so that it is
// exactly what its printer route draws, while vantu-cli stays free of the
// window library: vantu-cli runs
//   vantu --listing-pdf LISTINGFILE OUT.pdf [--landscape]
// on the offscreen platform and waits for it.

#include <string>

namespace vantu::cli {

// The window program: $VANTU_GUI_PROGRAM when set, else "vantu" beside
// this program, else "gui/vantu" below its directory (the build tree).
// Empty, with the places looked at in `why`, when none is executable.
std::string FindGuiProgram(std::string& why);

// Runs the window program to draw the listing file into pdf. False with
// the reason when it cannot be started or does not end with status 0.
bool DrawListingPdf(const std::string& program, const std::string& listingFile,
                    const std::string& pdf, bool landscape, std::string& error);

}  // namespace vantu::cli
