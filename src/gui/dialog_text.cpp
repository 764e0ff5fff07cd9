#include "gui/dialog_text.h"

namespace vantu {

namespace {

// Bytes 128-159 of Windows-1252; 0 marks the five unassigned codes, which
// are kept as the C1 control of the same number.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

char16_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
  return byte;
}

QString ConsoleDisplayable(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u == u'\u00D1' || u == u'\u00F1' || (u >= 0x20 && u < 0x7F)) {
      out.append(ch);
      continue;
    }
    // The canonical decomposition of an accented letter starts with its
    // plain letter (á is a and an acute accent).
    const QString parts = QString(ch).normalized(QString::NormalizationForm_D);
    if (!parts.isEmpty() && parts.at(0).unicode() >= 0x20 && parts.at(0).unicode() < 0x7F)
      out.append(parts.at(0));
  }
  return out;
}

QString CoreToQt(const std::string& bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char b : bytes) out.append(QChar(Cp1252ToUnicode(b)));
  return out;
}

std::string QtToCore(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i) {
      if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i)) {
        mapped = static_cast<char>(0x80 + i);
        break;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

QString BoxText(const std::string& bytes) {
  QString text = CoreToQt(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

}  // namespace vantu
