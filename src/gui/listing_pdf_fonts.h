#pragma once
// The pieces of an embedded TrueType face in a PDF: the font program
// rebuilt from the face's tables, and its bounding box.

#include <QByteArray>
#include <QRawFont>
#include <QRectF>

namespace vantu {

// The face's tables as one TrueType font file.
QByteArray TrueTypeProgram(const QRawFont& raw);

// The glyph box of the face in thousandths of the em.
QRectF FontBox(const QRawFont& raw);

}  // namespace vantu
