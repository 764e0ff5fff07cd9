#include "exchange/export_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace vantu {

namespace {

// Code points of bytes 128..159; 0 where the code page has none.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& text) {
  std::string out;
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t c = b;
    if (b >= 0x80 && b < 0xA0) c = kHigh[b - 0x80] ? kHigh[b - 0x80] : U'?';
    AppendUtf8(out, c);
  }
  return out;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string DecimalText(long double x, int decimals, bool trim) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%.*Lf", decimals, x);
  std::string s = buf;
  if (s == "-0" || s.find_first_not_of("-0.") == std::string::npos) s = s.substr(s[0] == '-');
  if (trim && s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

std::string CompactDate(const std::string& date) {
  if (date.size() < 8 || date[2] != '/' || date[5] != '/') return "";
  return date.substr(0, 2) + date.substr(3, 2) + date.substr(6);
}

std::string WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return "no se puede crear " + path + ": " + std::strerror(errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeErr = errno;
  if (std::fclose(f) != 0 || !written) {
    std::remove(temp.c_str());
    return "no se puede escribir " + path + ": " + std::strerror(written ? errno : writeErr);
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::remove(temp.c_str());
    return "no se puede escribir " + path + ": " + ec.message();
  }
  return "";
}

}  // namespace vantu
