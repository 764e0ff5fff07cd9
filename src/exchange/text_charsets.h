#pragma once
// The character sets an exchange file may declare, turned into the
// Windows-1252 bytes the program stores: "ANSI" (already 1252), the DOS
// code pages "850" and "437", and "UTF-8". Characters 1252 has no place for
// become '?'.

#include <optional>
#include <string>

namespace vantu {

enum class TextCharset { kAnsi, kCp850, kCp437, kUtf8 };

// The set a declaration names ("ANSI", "850", "437", "UTF-8", any letter
// case); an empty declaration is "850", the format's default. nullopt for an unknown name.
std::optional<TextCharset> CharsetNamed(const std::string& name);

// Bytes of `charset` as Windows-1252.
std::string ToCp1252(const std::string& bytes, TextCharset charset);

// A code point as Windows-1252; '?' when the code page lacks it.
char Cp1252Of(char32_t c);

// The code point of a Windows-1252 byte; 0 for the five bytes the code
// page leaves undefined.
char32_t CodePointOfCp1252(unsigned char b);

}  // namespace vantu
