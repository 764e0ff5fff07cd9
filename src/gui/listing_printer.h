#pragma once
// The laser route of the listings: the listing file drawn on a Qt printer
// (a real one or a PDF file) in Liberation Mono, the face metric-compatible
// with Courier New, with the box and block bytes drawn as lines and fills.

#include <QPainter>
#include <QPrinter>
#include <cstdint>
#include <string>

namespace vantu {

inline constexpr const char* kListingPrinterFace = "Liberation Mono";

// Draws the bytes of a listing file on the printer, new pages at FF; SI
// selects 7 points, DC2 9 points, ESC G / ESC H bold. False when painting
// could not begin.
bool DrawListingFile(QPrinter& printer, const std::string& bytes, bool landscape);

// One box or block byte in the cell at (x, y) of width w and height h;
// double strokes use the pen width `thick`. Bytes without a drawing leave
// the cell blank.
void DrawBoxCharacter(QPainter& painter, int x, int y, uint8_t byte, int w, int h, int thick);

}  // namespace vantu
