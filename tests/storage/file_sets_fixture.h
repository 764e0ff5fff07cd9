#pragma once
// Fixture for the file sets: real files in a fresh data directory, the
// configuration file in a fresh program directory.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/install_modules.h"
#include "session/preferences.h"
#include "session/pstring.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/memory_files.h"
#include "storage/recovery.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"
#include "support/headless_fixture.h"

namespace vantu::test {

namespace fs = std::filesystem;

class FileSetsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetStorageEngine();
    InstallEngineFailureScreen();
    ResetWorkAreas();
    ResetSelection();
    ResetShell();
    StampMax() = 0;
    root = fs::temp_directory_path() /
           ("vantu-sets-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    dataDir = root / "datos";
    fs::create_directories(dataDir);
    fs::create_directories(root / "prog");
    Shell().programDir = (root / "prog").string();
    Selection().DataDirectory = dataDir.string();
    savedCwd = fs::current_path();
    fs::current_path(dataDir);
  }
  void TearDown() override {
    for (int n = 0; n < kWorkAreaCount; ++n)
      if (Area(n).Data.isOpen) CloseWorkArea(n);
    fs::current_path(savedCwd);
    fs::remove_all(root);
    HeadlessTest::TearDown();
  }

  std::vector<uint8_t> FileBytes(const std::string& name) {
    std::ifstream in(dataDir / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  // Opens the Rama's five areas (and the Obra's when given).
  void OpenSet(const std::string& rama, const std::string& obra = "") {
    std::vector<uint8_t> buf(1024);
    for (int n = 1; n <= 5; ++n) OpenWorkArea(n, false, buf.data(), rama, kSetRecordLength[n]);
    if (!obra.empty()) OpenWorkArea(6, false, buf.data(), rama + obra, kSetRecordLength[6]);
  }
  void CloseSet() {
    for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
  }

  // Adds a record with the code through the area's files; returns its number.
  int16_t AddCoded(int n, const std::string& code, bool withKey = true) {
    WorkArea& a = Area(n);
    std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength), 0);
    WriteStr(rec.data() + kRecordCode, 6, code);
    int16_t r = 0;
    AddRec(a.Data, r, rec.data());
    if (withKey) {
      std::string key = code;
      AddKey(a.Index, r, key);
    }
    return r;
  }

  // The program starting again: the engine and the work areas forgotten,
  // then the start-up recovery.
  void Restart() {
    ResetStorageEngine();
    ResetWorkAreas();
    ResetSetLocks();  // a new process holds no lock
    StartupRecoveryCheck();
  }

  // The files as `image` holds them, everything synced and no handle open,
  // and the set marked in use as an opening marks it.
  void StartFrom(MemoryFiles& files, const MemoryFiles::Image& image, const std::string& rama,
                 const std::string& obra) {
    files.Contents() = image;
    files.FreeSpace();
    files.RestoreStopImage();
    ResetStorageEngine();
    ResetWorkAreas();
    ASSERT_TRUE(TryMarkSetInUseAs(dataDir.string(), rama, obra));
  }

  fs::path root, dataDir, savedCwd;
};

}  // namespace vantu::test
