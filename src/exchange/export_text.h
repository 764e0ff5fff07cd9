#pragma once
// Text and number forms shared by the exchange writers.

#include <string>
#include <vector>

namespace vantu {

// Windows-1252 bytes as UTF-8, every code point of the code page mapped
// (the five bytes the code page leaves undefined become '?').
std::string Cp1252ToUtf8(const std::string& text);

// Blanks at both ends removed.
std::string Trimmed(const std::string& text);

// x with `decimals` decimals and '.' as the mark; with `trim`, trailing
// zeros (and a bare mark) dropped.
std::string DecimalText(long double x, int decimals, bool trim = false);

// "dd/mm/aa" as "ddmmaa"; "" for no date.
std::string CompactDate(const std::string& date);

// Writes bytes to path through a temporary file beside it and a rename, so
// a stop leaves either the old file or the new one. Returns "" or the
// reason it failed, naming the file.
std::string WriteFileReplacing(const std::string& path, const std::string& bytes);

// A field of the program's CSV files (UTF-8, ';' between fields): the
// Windows-1252 text as UTF-8, quoted when it holds ';', a quote or a line
// break. CsvFields splits such a line (its '\r' dropped) back into fields,
// still in UTF-8.
std::string CsvField(const std::string& cp1252);
std::vector<std::string> CsvFields(const std::string& line);

}  // namespace vantu
