#pragma once
// Fresh toolkit, shell and preference state over the headless host, with
// the error file in a scratch directory of its own.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "session/preferences.h"
#include "session/shell_state.h"
#include "support/headless_fixture.h"
#include "toolkit/error_review.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/work_area_link.h"

namespace vantu::test {

class ToolkitTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetShell();
    ResetSchemes();
    ResetReview();
    ResetStatusLine();
    ResetPrefs();
    WorkAreaLinks() = WorkAreaLink{};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const char* home = std::getenv("VANTU_HOME");
    dir_ = std::filesystem::path(home ? home : std::filesystem::temp_directory_path().string()) /
           (std::string(info->test_suite_name()) + "-" + info->name());
    std::filesystem::create_directories(dir_);
    Shell().errorFileName = (dir_ / "ApError").string();
  }
  void TearDown() override {
    WorkAreaLinks() = WorkAreaLink{};
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
    HeadlessTest::TearDown();
  }

  std::filesystem::path dir_;
};

}  // namespace vantu::test
