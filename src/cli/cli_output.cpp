#include "cli/cli_output.h"

#include <algorithm>
#include <cctype>

#include "platform/headless/headless_host.h"

namespace vantu::cli {

namespace {
constexpr int kBarWidth = 30;
}  // namespace

std::string Utf8(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c >= 0xA0) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += '?';
    }
  }
  return out;
}

bool WindowOnlyLine(const std::string& line) {
  std::string lower = line;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.find("oprima") != std::string::npos || lower.find("presione") != std::string::npos;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonAmount(long double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2Lf", value);
  return text;
}

void Progress::Step(const std::string& label, int i, int n) {
  if (label != current_) {
    if (!current_.empty()) Done(current_, "");
    current_ = label;
    shownPercent_ = -1;
  }
  total_ = n;
  if (!terminal_) return;
  const int percent = n > 0 ? static_cast<int>(100LL * i / n) : 100;
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  const int filled = percent * kBarWidth / 100;
  std::fprintf(out_, "\r%-22s [%s%s] %3d%%", Utf8(label).c_str(), std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, '.').c_str(), percent);
  std::fflush(out_);
}

void Progress::Done(std::string label, const std::string& note) {
  if (label == current_) current_.clear();
  if (terminal_) std::fprintf(out_, "\r%*s\r", 22 + kBarWidth + 8, "");
  if (note.empty())
    std::fprintf(out_, "%s: %d registros\n", Utf8(label).c_str(), total_);
  else
    std::fprintf(out_, "%s: %s\n", Utf8(label).c_str(), note.c_str());
  std::fflush(out_);
}

std::string ScreenMessage() {
  std::string out;
  for (int row = 1; row <= 25; ++row) {
    std::string line = ScreenRow(row);
    for (char& c : line)
      if (static_cast<unsigned char>(c) >= 0xB0 && static_cast<unsigned char>(c) <= 0xDF) c = ' ';
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    if (WindowOnlyLine(line)) continue;
    out += "  " + Utf8(line.substr(first, line.find_last_not_of(' ') - first + 1)) + "\n";
  }
  return out;
}

}  // namespace vantu::cli
