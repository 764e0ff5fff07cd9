#pragma once
// Conversion between the core's Windows-1252 bytes and Qt's Unicode text,
// for the dialogs, the settings file and the listing viewer.

#include <QString>
#include <string>

namespace vantu {

// Windows-1252 bytes to Unicode.
QString CoreToQt(const std::string& bytes);
// Unicode to Windows-1252 bytes; characters without a code become '?'.
std::string QtToCore(const QString& text);
// A message of the core, whose lines break with "\r", as a box shows it.
QString BoxText(const std::string& bytes);
// Text as the console can show it: accented letters become their plain
// letters (Ñ and ñ stay), and characters the console has no shape for are
// left out. Stored names pass through it, so the screen shows what was
// typed.
QString ConsoleDisplayable(const QString& text);
// The Unicode character of one Windows-1252 byte.
char16_t Cp1252ToUnicode(unsigned char byte);

}  // namespace vantu
