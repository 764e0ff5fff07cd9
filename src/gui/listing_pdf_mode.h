#pragma once
// The program's mode without a window: a listing file drawn into a PDF
// exactly as the printer route draws it (used by vantu-cli list --pdf).
//   vantu --listing-pdf LISTINGFILE OUT.pdf [--landscape]

namespace vantu::gui {

inline constexpr const char* kListingPdfOption = "--listing-pdf";

// True when the arguments ask for this mode.
bool IsListingPdfRun(int argc, char** argv);

// Draws the listing; exit status 0 when the PDF was written, 2 otherwise
// (with the reason on standard error). Needs a QGuiApplication.
int RunListingPdf(int argc, char** argv);

}  // namespace vantu::gui
