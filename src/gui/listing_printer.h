#pragma once
// The laser route of the listings: the listing file drawn on a Qt printer
// (a real one or a PDF file) in Liberation Mono, the face metric-compatible
// with Courier New, with the box and block bytes drawn as lines and fills.

#include <QPrinter>
#include <string>
#include <vector>

#include "gui/box_character.h"

namespace vantu {

inline constexpr const char* kListingPrinterFace = "Liberation Mono";

// The face at no size: fixed pitch, Liberation Mono.
QFont ListingPrinterFont();

// Draws the bytes of a listing file on the printer, new pages at FF; SI
// selects 7 points, DC2 9 points, ESC G / ESC H bold. A printer that
// prints to a PDF file gets the file written directly, page for page the
// same. False when the drawing could not begin or the file not be written.
bool DrawListingFile(QPrinter& printer, const std::string& bytes, bool landscape);

// The same drawing, always painted through the printer's paint engine.
bool PaintListingFile(QPrinter& printer, const std::string& bytes, bool landscape);

// One listing of a print job, with the orientation it is printed in.
struct ListingPart {
  std::string bytes;
  bool landscape = false;
};

// Several listings as one job, each from a new page in its own orientation;
// one PDF file holds them all.
bool DrawListingParts(QPrinter& printer, const std::vector<ListingPart>& parts);

}  // namespace vantu
