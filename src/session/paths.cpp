#include "session/paths.h"

#include <cstdlib>
#include <filesystem>

#include "platform/file_system.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}

bool Writable(const fs::path& dir) {
  return os::FolderWritable(dir.string());
}

fs::path ExecutableDir(const std::string& argv0) {
  std::error_code ec;
  fs::path exe = os::ExecutablePath();
  if (exe.empty()) exe = fs::absolute(argv0, ec);
  return exe.parent_path();
}

// The shared files of an installed tree: <prefix>/share/vantu beside
// <prefix>/bin; "" in a build folder.
fs::path SharedDir(const fs::path& exeDir) {
  if (exeDir.empty()) return {};
  const fs::path shared = (exeDir / ".." / "share" / "vantu").lexically_normal();
  std::error_code ec;
  return fs::is_directory(shared, ec) ? shared : fs::path();
}

}  // namespace

std::string ProgramDirFor(const std::string& exeDir) {
  std::string home = EnvOr("VANTU_HOME", "");
  if (!home.empty()) return home;
  std::error_code ec;
  // A build folder keeps the program's files beside it; an installed tree
  // is never written, even by an administrator.
  if (!exeDir.empty() && SharedDir(exeDir).empty() && Writable(exeDir)) return exeDir;
  fs::path data = fs::path(os::UserDataFolder()) / "vantu";
  fs::create_directories(data, ec);
  return data.string();
}

std::string ResolveProgramDir(const std::string& argv0) {
  return ProgramDirFor(ExecutableDir(argv0).string());
}

std::string FindProgramFileFor(const std::string& exeDir, const std::string& name) {
  std::error_code ec;
  const fs::path inProgramDir = fs::path(ProgramDirFor(exeDir)) / name;
  if (fs::exists(inProgramDir, ec)) return inProgramDir.string();
  for (const fs::path& dir : {fs::path(exeDir), SharedDir(exeDir)})
    if (!dir.empty() && fs::exists(dir / name, ec)) return (dir / name).string();
  return inProgramDir.string();
}

std::string FindProgramFile(const std::string& name) {
  return FindProgramFileFor(ExecutableDir("").string(), name);
}

void AnchorHomeVariable() {
  const std::string home = EnvOr("VANTU_HOME", "");
  if (home.empty() || fs::path(home).is_absolute()) return;
  std::error_code ec;
  const fs::path absolute = fs::absolute(home, ec).lexically_normal();
  if (!ec) os::SetEnvironment("VANTU_HOME", absolute.string());
}

std::string DocumentsRoot() {
  std::string base = EnvOr("VANTU_HOME", os::HomeFolder());
  return (fs::path(base) / "01 Archivos Presupuesto").string();
}

}  // namespace vantu
