#include "cli/list_host.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/cli_output.h"
#include "console/keys.h"
#include "platform/file_system.h"

namespace vantu::cli {

namespace {

// A note waited on again and again means the run cannot go on by itself.
constexpr size_t kMaxNotes = 32;

std::string Slurp(const std::string& name) {
  std::ifstream in(std::filesystem::path(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string SettingsPath() {
  if (const char* home = std::getenv("VANTU_HOME"); home != nullptr && *home != '\0')
    return std::string(home) + "/Presupuesto.conf";
  return os::UserConfigFolder() + "/vantu/Presupuesto.conf";
}

// UTF-8 of the settings file to Windows-1252 (the Latin-1 range; other
// characters become '?').
std::string FromUtf8(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
      const int code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
      out += code < 0x100 ? static_cast<char>(code) : '?';
    } else if ((c & 0xC0) != 0x80) {
      out += '?';
    }
  }
  return out;
}

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

Date SystemToday() {
  const std::tm tm = os::LocalTime(std::time(nullptr));
  return {tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900};
}

ListHost::ListHost() {
  SetToday(SystemToday());
}

void ListHost::WaitForEvents() {
  HeadlessHost::WaitForEvents();
  if (!KeyQueueEmpty()) return;
  notes.push_back(ScreenMessage());
  if (notes.size() > kMaxNotes) throw ScriptExhausted();
  PushKey(kKeyEsc);
}

void ListHost::ShowListing(const std::string& fileName) {
  shown = Slurp(fileName);
  wasShown = true;
}

bool ListHost::PrintListingFile(const std::string& fileName, bool inLandscape, std::string&) {
  printed = Slurp(fileName);
  wasPrinted = true;
  landscape = inLandscape;
  return true;
}

std::string ListHost::ReadSetting(const std::string& key, const std::string& value) {
  return ReadUserSetting(key, value);
}

std::string ReadUserSetting(const std::string& key, const std::string& value) {
  // "\Presupuesto" is the group [Presupuesto]; values are "name=text",
  // possibly in double quotes.
  std::string group = key;
  while (!group.empty() && group.front() == '\\') group.erase(0, 1);
  std::ifstream in{std::filesystem::path(SettingsPath())};
  std::string line;
  bool inGroup = false;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      inGroup = line == "[" + group + "]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!inGroup || eq == std::string::npos || Trim(line.substr(0, eq)) != value) continue;
    std::string text = Trim(line.substr(eq + 1));
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
      text = text.substr(1, text.size() - 2);
    return FromUtf8(text);
  }
  return {};
}

}  // namespace vantu::cli
