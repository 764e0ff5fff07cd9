#include "session/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vantu {

namespace fs = std::filesystem;

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}

bool Writable(const fs::path& dir) {
  return ::access(dir.c_str(), W_OK) == 0;
}

}  // namespace

std::string ResolveProgramDir(const std::string& argv0) {
  std::string home = EnvOr("VANTU_HOME", "");
  if (!home.empty()) return home;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::absolute(argv0, ec);
  fs::path dir = exe.parent_path();
  if (!dir.empty() && Writable(dir)) return dir.string();
  fs::path data =
      fs::path(EnvOr("XDG_DATA_HOME", EnvOr("HOME", "/tmp") + "/.local/share")) / "vantu";
  fs::create_directories(data, ec);
  return data.string();
}

std::string FindProgramFile(const std::string& name) {
  std::error_code ec;
  const fs::path inProgramDir = fs::path(ResolveProgramDir("")) / name;
  if (fs::exists(inProgramDir, ec)) return inProgramDir.string();
  const fs::path besideExe = fs::read_symlink("/proc/self/exe", ec).parent_path() / name;
  if (!ec && fs::exists(besideExe, ec)) return besideExe.string();
  return inProgramDir.string();
}

void AnchorHomeVariable() {
  const std::string home = EnvOr("VANTU_HOME", "");
  if (home.empty() || fs::path(home).is_absolute()) return;
  std::error_code ec;
  const fs::path absolute = fs::absolute(home, ec).lexically_normal();
  if (!ec) ::setenv("VANTU_HOME", absolute.string().c_str(), 1);
}

std::string DocumentsRoot() {
  std::string base = EnvOr("VANTU_HOME", EnvOr("HOME", "/tmp"));
  return (fs::path(base) / "01 Archivos Presupuesto").string();
}

}  // namespace vantu
