// Test main of the Qt host's tests: the offscreen platform (unless a display
// platform is chosen), a private runtime directory and a scratch program home.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gui/spanish_ui.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || *platform == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const fs::path home =
      fs::temp_directory_path() / ("vantu-gui-test-" + std::to_string(::getpid()));
  const fs::path runtime = home / "runtime";
  fs::create_directories(runtime);
  fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  setenv("VANTU_HOME", home.c_str(), 1);

  QApplication app(argc, argv);
  vantu::gui::InstallSpanishTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  std::error_code ec;
  fs::remove_all(home, ec);
  return rc;
}
