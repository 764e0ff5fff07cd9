#include "cli/pdf_program.h"

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/file_system.h"

namespace vantu::cli {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr const char* kProgramSuffix = ".exe";
#else
constexpr const char* kProgramSuffix = "";
#endif

bool Executable(const fs::path& p) {
  std::error_code ec;
#ifdef _WIN32
  return fs::is_regular_file(p, ec);
#else
  return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
#endif
}

fs::path OwnDirectory() {
  return fs::path(os::ExecutablePath()).parent_path();
}

#ifdef _WIN32
// An argument as the program's runtime splits its command line again:
// backslashes double only before a quote, the argument's own or the
// closing one.
std::string Quoted(const std::string& arg) {
  std::string q = "\"";
  size_t slashes = 0;
  for (const char c : arg) {
    if (c == '"') q.append(slashes + 1, '\\');
    slashes = c == '\\' ? slashes + 1 : 0;
    q += c;
  }
  q.append(slashes, '\\');
  return q + "\"";
}
#endif

}  // namespace

std::string FindGuiProgram(std::string& why) {
  if (const char* chosen = std::getenv("VANTU_GUI_PROGRAM"); chosen != nullptr && *chosen) {
    if (Executable(chosen)) return chosen;
    why = std::string("VANTU_GUI_PROGRAM=") + chosen + " no es un programa ejecutable";
    return {};
  }
  const fs::path own = OwnDirectory();
  const std::string name = std::string("vantu") + kProgramSuffix;
  for (const fs::path& candidate : {own / name, own / "gui" / name})
    if (Executable(candidate)) return candidate.string();
  why = "no se encuentra el programa vantu en " + own.string() +
        " (se puede indicar con VANTU_GUI_PROGRAM)";
  return {};
}

bool DrawListingPdf(const std::string& program, const std::string& listingFile,
                    const std::string& pdf, bool landscape, std::string& error) {
  std::vector<std::string> args = {program, "--listing-pdf", listingFile, pdf};
  if (landscape) args.emplace_back("--landscape");
#ifdef _WIN32
  // No window is shown: the drawing needs no display.
  os::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
  std::vector<std::string> quoted;
  for (const std::string& a : args) quoted.push_back(Quoted(a));
  std::vector<const char*> argv;
  for (const std::string& a : quoted) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  const intptr_t status = _spawnv(_P_WAIT, program.c_str(), argv.data());
  if (status == 0) return true;
  if (status < 0)
    error = "no se puede ejecutar " + program + ": " + std::strerror(errno);
  else
    error = program + " termino con el estado " + std::to_string(status);
  return false;
#else
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) {
    error = std::string("no se puede iniciar vantu: ") + std::strerror(errno);
    return false;
  }
  if (pid == 0) {
    // No window is shown: the drawing needs no display.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      error = std::string("no se puede esperar a vantu: ") + std::strerror(errno);
      return false;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
    error = "no se puede ejecutar " + program;
  else if (WIFEXITED(status))
    error = program + " termino con el estado " + std::to_string(WEXITSTATUS(status));
  else
    error = program + " se detuvo por la senal " + std::to_string(WTERMSIG(status));
  return false;
#endif
}

}  // namespace vantu::cli
