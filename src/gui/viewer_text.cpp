#include "gui/viewer_text.h"

#include <QFile>

#include "gui/dialog_text.h"
#include "reports/listing_engine.h"

namespace vantu {

namespace {

constexpr unsigned char kFirstShape = 176;
constexpr unsigned char kLastShape = 224;
constexpr unsigned char kEnye = 209;

// Code page 437 shapes of bytes 176-223, then the listing's own byte 224.
constexpr char16_t kShapes[kLastShape - kFirstShape + 1] = {
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563,  // 176
    0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C,  // 186
    0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,  // 196
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // 206
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,                  // 216
    0x2564};                                                                         // 224

}  // namespace

char16_t ListingCharToUnicode(unsigned char byte) {
  // 209 is the letter Ñ in a listing, as the printers show it; the box piece
  // of that code page 437 position is written as 224.
  if (byte >= kFirstShape && byte <= kLastShape && byte != kEnye)
    return kShapes[byte - kFirstShape];
  return Cp1252ToUnicode(byte);
}

QString ListingToUnicode(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    // A letter of the data: shown as that letter, never as a frame piece.
    if (byte == static_cast<unsigned char>(kLetterMark) && i + 1 < bytes.size() &&
        static_cast<unsigned char>(bytes[i + 1]) >= 32) {
      text.append(QChar(Cp1252ToUnicode(static_cast<unsigned char>(bytes[++i]))));
      continue;
    }
    if (byte == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
      text.append(QChar('\n'));
      continue;
    }
    text.append(QChar(ListingCharToUnicode(byte)));
  }
  return text;
}

std::optional<QString> LoadListingText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return ListingToUnicode(bytes);
}

}  // namespace vantu
