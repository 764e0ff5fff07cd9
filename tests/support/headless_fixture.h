#pragma once
// Fixture that gives each test a fresh headless host and fresh core state.

#include <gtest/gtest.h>

#include "app/reset_core_state.h"
#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "console/zones.h"
#include "platform/headless/headless_host.h"
#include "platform/platform.h"

namespace vantu::test {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCoreState();
    SetHost(&host);
  }
  void TearDown() override { ResetCoreState(); }

  HeadlessHost host;
};

}  // namespace vantu::test
