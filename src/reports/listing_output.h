#pragma once
// The end of a listing command: the listing file goes to the viewer, raw to
// the dot-matrix printer's device, or to the platform printer.

#include <string>

namespace vantu {

// Sends the listing file along the route of the view mode and the printer
// preference and empties it. A file of 10 bytes or less holds no page of
// the chosen range: a note says so and nothing is sent.
void OutputListing(bool landscape);

// The bytes a dot-matrix printer gets: Ñ (209) and ñ (241) at their code
// page 437 positions 165 and 164, and every marked letter of the data
// without its mark, at its code page 437 position or, for the capitals that
// code page lacks (Á Í Ó Ú), as the plain letter.
std::string RawPrinterBytes(const std::string& listing);

// The device of the dot-matrix printer: the setting "sImpresoraMatriz", or
// the first local line-printer device; empty when there is none.
std::string DotMatrixDevice();

// Copies the listing to the device; false with the reason when the device
// cannot be opened or written.
bool SendToDevice(const std::string& listing, const std::string& device, std::string& error);

// The listing file without its final form feed and what follows it, so
// that no empty page follows the last one.
std::string CutAfterLastPage(const std::string& listing);

}  // namespace vantu
