#pragma once
// The listing file's bytes as the viewer shows them: bytes 176-224 are the
// code page 437 box and shade shapes (224 is the piece with a single line
// down and a double line across), every other byte is Windows-1252; a byte
// after the letter mark is always the Windows-1252 letter and the mark
// itself is not shown.

#include <QByteArray>
#include <QString>
#include <optional>

namespace vantu {

char16_t ListingCharToUnicode(unsigned char byte);
// Whole text; "\r\n" and "\r" line ends become "\n".
QString ListingToUnicode(const QByteArray& bytes);
// The file's text, or nullopt when it cannot be read.
std::optional<QString> LoadListingText(const QString& path);

}  // namespace vantu
