#pragma once
// The laser route of the listings: the listing file drawn on a Qt printer
// (a real one or a PDF file) in Liberation Mono, the face metric-compatible
// with Courier New, with the box and block bytes drawn as lines and fills.

#include <QPrinter>
#include <string>

#include "gui/box_character.h"

namespace vantu {

inline constexpr const char* kListingPrinterFace = "Liberation Mono";

// Draws the bytes of a listing file on the printer, new pages at FF; SI
// selects 7 points, DC2 9 points, ESC G / ESC H bold. False when painting
// could not begin.
bool DrawListingFile(QPrinter& printer, const std::string& bytes, bool landscape);

}  // namespace vantu
