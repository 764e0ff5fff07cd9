#include "exchange/export_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "exchange/text_charsets.h"
#include "platform/file_system.h"

namespace vantu {

namespace {

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
    const char32_t c = CodePointOfCp1252(static_cast<unsigned char>(ch));
    AppendUtf8(out, c != 0 ? c : U'?');
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
  std::FILE* f = os::OpenStream(temp, "wb");
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

std::string CsvField(const std::string& cp1252) {
  const std::string text = Cp1252ToUtf8(cp1252);
  if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ';' && !quoted) {
      fields.emplace_back();
    } else if (c != '\r' || i + 1 != line.size()) {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace vantu
