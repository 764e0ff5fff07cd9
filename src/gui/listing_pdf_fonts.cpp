#include "gui/listing_pdf_fonts.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace vantu {

namespace {

void PutBe16(QByteArray& out, quint32 v) {
  out.append(static_cast<char>((v >> 8) & 0xFF));
  out.append(static_cast<char>(v & 0xFF));
}

void PutBe32(QByteArray& out, quint32 v) {
  PutBe16(out, v >> 16);
  PutBe16(out, v & 0xFFFF);
}

int Be16(const QByteArray& t, int at) {
  if (t.size() < at + 2) return 0;
  return static_cast<int16_t>((static_cast<uint8_t>(t[at]) << 8) | static_cast<uint8_t>(t[at + 1]));
}

quint32 CheckSum(const QByteArray& padded) {
  quint32 sum = 0;
  for (int i = 0; i + 3 < padded.size(); i += 4)
    sum += (quint32(uint8_t(padded[i])) << 24) | (quint32(uint8_t(padded[i + 1])) << 16) |
           (quint32(uint8_t(padded[i + 2])) << 8) | quint32(uint8_t(padded[i + 3]));
  return sum;
}

}  // namespace

QByteArray TrueTypeProgram(const QRawFont& raw) {
  // In the order of their tags, as the table directory wants them.
  static const char* const kTags[] = {"OS/2", "cmap", "cvt ", "fpgm", "glyf", "head", "hhea",
                                      "hmtx", "loca", "maxp", "name", "post", "prep"};
  std::vector<std::pair<const char*, QByteArray>> tables;
  for (const char* tag : kTags) {
    QByteArray data = raw.fontTable(tag);
    if (data.isEmpty()) continue;
    while (data.size() % 4 != 0) data.append('\0');
    tables.emplace_back(tag, data);
  }
  const auto n = static_cast<quint32>(tables.size());
  quint32 power = 1, log2 = 0;
  while (power * 2 <= n) {
    power *= 2;
    ++log2;
  }
  QByteArray out;
  PutBe32(out, 0x00010000);
  PutBe16(out, n);
  PutBe16(out, power * 16);
  PutBe16(out, log2);
  PutBe16(out, n * 16 - power * 16);
  quint32 offset = 12 + 16 * n;
  for (const auto& [tag, data] : tables) {
    out.append(tag, 4);
    PutBe32(out, CheckSum(data));
    PutBe32(out, offset);
    PutBe32(out, static_cast<quint32>(data.size()));
    offset += static_cast<quint32>(data.size());
  }
  for (const auto& table : tables) out.append(table.second);
  return out;
}

QRectF FontBox(const QRawFont& raw) {
  const QByteArray head = raw.fontTable("head");
  const int unitsPerEm = Be16(head, 18) & 0xFFFF;
  if (unitsPerEm == 0) return QRectF(0, -300, 1000, 1300);
  const double k = 1000.0 / unitsPerEm;
  const double x0 = Be16(head, 36) * k, y0 = Be16(head, 38) * k;
  const double x1 = Be16(head, 40) * k, y1 = Be16(head, 42) * k;
  return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

}  // namespace vantu
