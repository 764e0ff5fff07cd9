#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/reset_core_state.h"

namespace {

// Every case starts and ends with the program's state as at start-up, so
// that the order of the cases never matters.
class CoreStateReset : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { vantu::ResetCoreState(); }
  void OnTestEnd(const ::testing::TestInfo&) override { vantu::ResetCoreState(); }
};

}  // namespace

int main(int argc, char** argv) {
  // Every test program works in a private scratch home, never the user's.
  namespace fs = std::filesystem;
  fs::path home = fs::temp_directory_path() / ("vantu-test-" + std::to_string(::getpid()));
  fs::create_directories(home);
  setenv("VANTU_HOME", home.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new CoreStateReset);
  int rc = RUN_ALL_TESTS();
  std::error_code ec;
  fs::remove_all(home, ec);
  return rc;
}
