// Fuzz target over the opening of a whole set: a small Rama and Obra is
// written in memory, the input damages bytes of its files (or cuts them),
// the previous run is taken as ended abnormally, and the start-up recovery
// runs, then the set opens. Any outcome but a normal return or the
// engine's stop is a fault; so is a set that opens with an index that
// fails the checker or disagrees with the count of records in use. Built
// alone with libFuzzer (VANTU_FUZZ); the test below replays a few inputs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "console/keys.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "session/pstring.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/index_check.h"
#include "storage/memory_files.h"
#include "storage/recovery.h"
#include "storage/set_in_use.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

namespace fs = std::filesystem;

const char* const kSetFiles[] = {"Apr01dat.A",   "Apr02dat.A",  "Apr02ixc.A", "Apr03dat.A",
                                 "Apr03ixc.A",   "Apr04dat.A",  "Apr04ixc.A", "Apr05dat.A",
                                 "Apr06dat.A01", "Apr06ixc.A01"};

void OpenWholeSet() {
  std::vector<uint8_t> buf(kMaxRecordLength);
  for (int n = 1; n <= 5; ++n) OpenWorkArea(n, false, buf.data(), "A", kSetRecordLength[n]);
  OpenWorkArea(6, false, buf.data(), "A01", kSetRecordLength[6]);
}

void CloseWholeSet() {
  for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
}

void BuildSet(int records) {
  OpenWholeSet();
  for (int n : {2, 3, 6}) {
    std::vector<uint8_t> rec(static_cast<size_t>(Area(n).RecordLength), 0);
    for (int i = 1; i <= records; ++i) {
      char code[8];
      std::snprintf(code, sizeof code, n == 3 ? "01%04d" : "01%03d", i);
      WriteStr(rec.data() + kRecordCode, 6, code);
      int16_t r = 0;
      AddRec(Area(n).Data, r, rec.data());
      std::string key = code;
      AddKey(Area(n).Index, r, key);
      if (i % 4 == 0) {
        DeleteKey(Area(n).Index, r, key);
        DeleteRec(Area(n).Data, r);
      }
    }
  }
  CloseWholeSet();
}

// Patches: (file, offset low, offset high, value) until the input ends.
void Damage(const uint8_t* p, size_t n, MemoryFiles& files) {
  for (size_t at = 0; at + 4 <= n; at += 4) {
    auto& bytes = files.Contents()[fs::path(".") / kSetFiles[p[at] % std::size(kSetFiles)]];
    const size_t offset = static_cast<size_t>(p[at + 1] | (p[at + 2] << 8));
    if (p[at + 3] == 0xFF && offset % 5 == 0)
      bytes.resize(std::min(bytes.size(), offset));
    else if (offset < bytes.size())
      bytes[offset] = p[at + 3];
  }
}

void CheckOpenedSet() {
  for (int n : {2, 3, 4, 6}) {
    const std::string fault = CheckIndexIntegrity(Area(n).Index);
    std::vector<IndexEntry> entries;
    CheckIndexIntegrity(Area(n).Index, &entries);
    if (fault.empty() && static_cast<int>(entries.size()) == UsedRecordCount(Area(n).Data))
      continue;
    std::fprintf(stderr, "area %d opened unsound: %s\n", n, fault.c_str());
    std::abort();
  }
}

}  // namespace

int RunSetFuzzInput(const uint8_t* data, size_t size) {
  static HeadlessHost host;
  static const fs::path program = fs::temp_directory_path() / "vantu-set-fuzz";
  static MemoryFiles* files = nullptr;
  fs::create_directories(program);
  SetHost(&host);
  delete files;
  files = new MemoryFiles;
  SetStorageFiles(files);
  ResetStorageEngine();
  ResetWorkAreas();
  ResetRecovery();
  ResetInput();
  Shell().programDir = program.string();
  Selection().DataDirectory = ".";
  const int records = size > 0 ? 8 + data[0] % 64 : 8;
  try {
    BuildSet(records);
    if (size > 1) Damage(data + 1, size - 1, *files);
    MarkSetInUseAs(".", "A", "01");
    for (int i = 0; i < 4; ++i) PushKey(kKeyEnter);  // answers any box
    StartupRecoveryCheck();
    OpenWholeSet();
    CheckOpenedSet();
    CloseWholeSet();
  } catch (const Halt&) {
  }
  ResetWorkAreas();
  SetStorageFiles(nullptr);
  return 0;
}

}  // namespace vantu

#ifdef VANTU_FUZZING
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vantu::RunSetFuzzInput(data, size);
}
#else
#include <gtest/gtest.h>

#include <random>

namespace vantu {
namespace {

TEST(SetFuzz, DamagedSetsOpenSoundOrStop) {
  const fs::path cwd = fs::current_path();
  std::mt19937 rng(17);
  for (int run = 0; run < 60; ++run) {
    std::vector<uint8_t> input(1 + 4 * (run % 6));
    for (auto& b : input) b = static_cast<uint8_t>(rng());
    // Aim most patches at headers and first records.
    for (size_t i = 1; i + 3 < input.size(); i += 4) input[i + 2] %= 2;
    EXPECT_NO_THROW(RunSetFuzzInput(input.data(), input.size())) << "run " << run;
    fs::current_path(cwd);
  }
}

}  // namespace
}  // namespace vantu
#endif
