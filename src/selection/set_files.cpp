#include "selection/set_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "storage/file_sets.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

const char* const kAllFiles = "Todos los Archivos del Directorio";

std::vector<std::string> Patterns(std::initializer_list<const char*> bases,
                                  const std::string& ext) {
  std::vector<std::string> out;
  for (const char* b : bases) out.push_back(std::string(b) + ext);
  return out;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

char Fold(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool Match(const char* n, const char* p) {
  for (; *p != '\0'; ++p, ++n) {
    if (*p == '*') {
      for (const char* rest = n;; ++rest) {
        if (Match(rest, p + 1)) return true;
        if (*rest == '\0') return false;
      }
    }
    if (*n == '\0' || (*p != '?' && Fold(*p) != Fold(*n))) return false;
  }
  return *n == '\0';
}

// "1 archivo copiado", "3 archivos copiados"; `what` is given in the plural.
std::string Counted(int n, std::string what) {
  if (n == 1 && what.back() == 's') what.pop_back();
  return std::to_string(n) + (n == 1 ? " archivo " : " archivos ") + what;
}

// Copies through a temporary name in the target, so that a failed copy
// never leaves a half-written file under the real name.
bool CopyOne(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  const fs::path temp = to.string() + ".tmp~";
  if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temp, ec);
    return false;
  }
  fs::rename(temp, to, ec);
  if (ec) fs::remove(temp, ec);
  return !ec;
}

bool MoveOne(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (!ec) return true;
  if (!CopyOne(from, to)) return false;
  fs::remove(from, ec);
  return !ec;
}

}  // namespace

std::vector<SetFileGroup> FileGroupsOf(const std::string& code) {
  if (code.size() == 1) {
    const auto rama = Patterns({"Apr??dat.", "Apr??ixc."}, code);
    const auto obras = Patterns({"Apr??dat.", "Apr??ixc.", "Apr??cro."}, code + "??");
    return {{"Archivos de la Rama " + code, rama},
            {"Archivos de todas las Obras de Rama " + code, obras},
            {"Archivo de la Rama " + code + " y de todas sus Obras", Join(rama, obras)},
            {kAllFiles, {"*.*"}}};
  }
  const auto obra = Patterns({"Apr??dat.", "Apr??ixc.", "Apr??cro."}, code);
  const auto rama = Patterns({"Apr??dat.", "Apr??ixc."}, code.substr(0, 1));
  return {{"Archivos de la Obra " + code, obra},
          {"Archivos de la Obra " + code + " y de su Rama", Join(obra, rama)},
          {kAllFiles, {"*.*"}}};
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  // As in the directory search, "*.*" takes names without a dot as well.
  if (pattern == "*.*") return !name.empty();
  return Match(name.c_str(), pattern.c_str());
}

std::vector<std::string> GroupFiles(const std::string& dir, const SetFileGroup& group) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string name = it->path().filename().string();
    for (const std::string& p : group.patterns)
      if (MatchesPattern(name, p)) {
        names.push_back(name);
        break;
      }
  }
  std::sort(names.begin(), names.end());
  return names;
}

SetFiles::SetFiles(std::string directory, const std::string& code)
    : dir_(std::move(directory)), groups_(FileGroupsOf(code)) {}

std::string SetFiles::Name(int group) const {
  return Valid(group) ? groups_[group].description : std::string();
}

std::vector<std::string> SetFiles::Files(int group) const {
  return Valid(group) ? GroupFiles(dir_, groups_[group]) : std::vector<std::string>{};
}

std::string SetFiles::CopyTo(int group, const std::string& target, bool move,
                             const std::function<bool(const std::string& name)>& overwrite) {
  std::error_code ec;
  if (!fs::is_directory(target, ec)) return "No existe el directorio " + target;
  if (fs::equivalent(dir_, target, ec)) return "El destino es el mismo directorio de los datos";
  int done = 0, kept = 0;
  std::string failed;
  for (const std::string& name : Files(group)) {
    // A file of the same name in another letter case counts as the same file.
    const fs::path existing = FindFileIn(target, name);
    if (fs::exists(existing, ec)) {
      if (!overwrite || !overwrite(name)) {
        ++kept;
        continue;
      }
      if (existing.filename() != name) fs::remove(existing, ec);
    }
    const fs::path from = fs::path(dir_) / name, to = fs::path(target) / name;
    if (move ? MoveOne(from, to) : CopyOne(from, to))
      ++done;
    else
      failed += (failed.empty() ? "" : ", ") + name;
  }
  std::string report = Counted(done, move ? "movidos" : "copiados");
  if (kept > 0) report += ", " + Counted(kept, "sin reemplazar");
  if (!failed.empty()) report += ". Fallaron: " + failed;
  return report;
}

std::string SetFiles::Delete(int group) {
  int done = 0;
  std::string failed;
  for (const std::string& name : Files(group)) {
    std::error_code ec;
    if (fs::remove(fs::path(dir_) / name, ec))
      ++done;
    else
      failed += (failed.empty() ? "" : ", ") + name;
  }
  std::string report = Counted(done, "borrados");
  if (!failed.empty()) report += ". Fallaron: " + failed;
  return report;
}

}  // namespace vantu
