#include "cli/pdf_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace vantu::cli {

namespace fs = std::filesystem;

namespace {

bool Executable(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

fs::path OwnDirectory() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self.parent_path();
}

}  // namespace

std::string FindGuiProgram(std::string& why) {
  if (const char* chosen = std::getenv("VANTU_GUI_PROGRAM"); chosen != nullptr && *chosen) {
    if (Executable(chosen)) return chosen;
    why = std::string("VANTU_GUI_PROGRAM=") + chosen + " no es un programa ejecutable";
    return {};
  }
  const fs::path own = OwnDirectory();
  for (const fs::path& candidate : {own / "vantu", own / "gui" / "vantu"})
    if (Executable(candidate)) return candidate.string();
  why = "no se encuentra el programa vantu en " + own.string() +
        " (se puede indicar con VANTU_GUI_PROGRAM)";
  return {};
}

bool DrawListingPdf(const std::string& program, const std::string& listingFile,
                    const std::string& pdf, bool landscape, std::string& error) {
  std::vector<std::string> args = {program, "--listing-pdf", listingFile, pdf};
  if (landscape) args.emplace_back("--landscape");
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
}

}  // namespace vantu::cli
