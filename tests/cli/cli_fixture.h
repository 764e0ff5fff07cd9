#pragma once
// The command line's tests: generated sets with the program folder in the
// test's own VANTU_HOME, and what a command wrote on stdout and stderr.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "records/dataset_fixture.h"

namespace vantu::test {

class CliTest : public DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    setenv("VANTU_HOME", (root / "home").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VANTU_HOME");
    DatasetTest::TearDown();
  }
  void GenerateCalculated() {
    auto shape = SmallShape();
    shape.calculated = true;
    GenerateDataset(shape);
  }
};

struct CommandOutput {
  int status = -1;
  std::string out, err;
};

template <class Run>
CommandOutput Captured(Run run) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  CommandOutput o;
  o.status = run();
  o.out = testing::internal::GetCapturedStdout();
  o.err = testing::internal::GetCapturedStderr();
  return o;
}

}  // namespace vantu::test
