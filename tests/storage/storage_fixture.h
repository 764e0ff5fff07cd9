#pragma once
// Fixture for engine tests: files in memory, a fresh engine, and a check
// that a call ends in the engine's error box.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/install_modules.h"
#include "platform/halt.h"
#include "storage/memory_files.h"
#include "storage/storage_engine.h"
#include "support/headless_fixture.h"

namespace vantu::test {

class StorageTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    SetStorageFiles(&files);
    ResetStorageEngine();
    InstallEngineFailureScreen();
  }
  void TearDown() override {
    SetStorageFiles(nullptr);
    HeadlessTest::TearDown();
  }

  std::vector<uint8_t>& Bytes(const std::string& name) { return files.Contents()[name]; }

  // Runs the call, which must show the error box with the status and stop
  // the program once a key is pressed.
  void ExpectFailureBox(int16_t status, const std::function<void()>& call) {
    host.PushKeys({kKeyEnter});
    bool halted = false;
    try {
      call();
    } catch (const Halt&) {
      halted = true;
    }
    ASSERT_TRUE(halted) << "no halt, expected status " << status;
    EXPECT_EQ(Engine().EngineStatus, status);
    EXPECT_NE(ScreenRow(18).find(" Falla en el Manejador de Archivos "), std::string::npos);
    EXPECT_NE(ScreenRow(20).find(StatusMessage(status)), std::string::npos) << ScreenRow(20);
    EXPECT_TRUE(host.ScriptDone());
  }

  MemoryFiles files;
};

// Sets the i16 at offset of a byte vector.
inline void PokeI16(std::vector<uint8_t>& b, size_t offset, int16_t v) {
  b[offset] = static_cast<uint8_t>(v);
  b[offset + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

}  // namespace vantu::test
