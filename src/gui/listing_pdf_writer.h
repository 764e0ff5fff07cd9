#pragma once
// The printer route into a PDF file without the paint engine: the listing
// file is written as PDF text and paths directly, in the printer's page
// layout and resolution, with the same glyphs, cells, strokes and fills as
// the painted pages. A painted page writes every glyph as its own text
// operation; here a word is one string, so a listing of thousands of pages
// is written in a fraction of the time.

#include <QPrinter>
#include <string>

namespace vantu {

// False for listings holding the hatched blocks (177, 178), whose patterns
// only the paint engine draws.
bool CanWriteListingPdf(const std::string& bytes);

// Writes the listing into the printer's output file. False when the file
// cannot be written.
bool WriteListingPdf(QPrinter& printer, const std::string& bytes);

}  // namespace vantu
