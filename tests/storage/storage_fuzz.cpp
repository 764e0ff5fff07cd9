// Fuzz target: builds a data file and an index from the input, damages
// their bytes as the input says, then opens and walks them. Any outcome
// but a normal return or the engine's stop (Halt) is a fault, and so is
// silent damage: when the opening check finds the files sound, the index
// must pass the integrity checker. Built alone with libFuzzer by
// scripts/fuzz-storage; the test below replays a few inputs in the normal
// test run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/keys.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "session/pstring.h"
#include "storage/btree.h"
#include "storage/file_repair.h"
#include "storage/file_sets.h"
#include "storage/index_check.h"
#include "storage/memory_files.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

constexpr int kLen = 40;
constexpr int kMaxSteps = 40000;

struct FuzzInput {
  const uint8_t* p;
  size_t n;
  size_t at = 0;
  int Byte() { return at < n ? p[at++] : 0; }
  bool Done() const { return at >= n; }
};

void BuildFiles(FuzzInput& in, int keyLength, bool duplicates) {
  DataFileState d;
  MakeFile(d, "dat", kLen);
  IndexFileState ix;
  MakeIndex(ix, "ixc", keyLength, duplicates);
  const int keys = in.Byte() * 4;
  std::vector<uint8_t> rec(kLen, 7);
  for (int i = 0; i < keys; ++i) {
    int16_t r;
    std::string key = std::to_string(100000 + (i * 7919) % 4099).substr(1);
    WriteStr(rec.data() + kRecordCode, 6, key);
    AddRec(d, r, rec.data());
    AddKey(ix, r, key);
    if (!LastOpOk() || i % 5 == 4) {
      if (LastOpOk()) DeleteKey(ix, r, key);
      DeleteRec(d, r);
    }
  }
  CloseIndex(ix);
  CloseFile(d);
}

// Patches: (file, offset low, offset high, value) until the input ends.
void Damage(FuzzInput& in, MemoryFiles& files) {
  while (!in.Done()) {
    auto& bytes = files.Contents()[in.Byte() % 2 ? "dat" : "ixc"];
    const size_t offset = static_cast<size_t>(in.Byte() | (in.Byte() << 8));
    const int value = in.Byte();
    if (value == 0xFF && offset % 7 == 0) {
      bytes.resize(std::min(bytes.size(), offset));  // truncate
    } else if (offset < bytes.size()) {
      bytes[offset] = static_cast<uint8_t>(value);
    }
  }
}

// What the opening check passes must be sound: a damaged index that the
// check lets through would be used silently.
void CheckNothingSilent(int keyLength) {
  const StoredFileCheck c = CheckStoredFile("dat", kLen, "ixc", keyLength);
  if (c.Repairable() || c.Unusable()) return;
  IndexFileState ix;
  OpenIndex(ix, "ixc", keyLength, false);
  const std::string fault = LastOpOk() ? CheckIndexIntegrity(ix) : "index did not open";
  if (!fault.empty()) {
    std::fprintf(stderr, "opening check passed a damaged index: %s\n", fault.c_str());
    std::abort();
  }
  CloseIndex(ix);
}

void Walk(int keyLength, bool duplicates) {
  DataFileState d;
  OpenFile(d, "dat", kLen);
  std::vector<uint8_t> rec(kLen);
  if (LastOpOk()) {
    int16_t r;
    AddRec(d, r, rec.data());
    CloseFile(d);
  }
  IndexFileState ix;
  OpenIndex(ix, "ixc", keyLength, duplicates);
  if (!LastOpOk()) return;
  // The walk at once never ends in the box, and gives what stepping gives
  // whenever it accepts the tree.
  std::vector<int16_t> whole, stepped;
  bool accepted = false;
  try {
    accepted = RecordsInKeyOrder(ix, whole);
  } catch (const Halt&) {
    std::fprintf(stderr, "the walk at once ended in the error box\n");
    std::abort();
  }
  int16_t r = 0;
  std::string key;
  int steps = 0;
  for (NextKey(ix, r, key); LastOpOk() && ++steps < kMaxSteps; NextKey(ix, r, key))
    stepped.push_back(r);
  if (accepted && !LastOpOk() && whole != stepped) {
    std::fprintf(stderr, "the walk at once differs from stepping\n");
    std::abort();
  }
  do PrevKey(ix, r, key);
  while (LastOpOk() && ++steps < 2 * kMaxSteps);
  for (int i = 0; i < 20; ++i) {
    key = std::to_string(100000 + i * 211).substr(1);
    FindKey(ix, r, key);
    SearchKey(ix, r, key);
    if (i % 2)
      AddKey(ix, 1, key);
    else
      DeleteKey(ix, r, key);
  }
  CheckIndexIntegrity(ix);
  CloseIndex(ix);
}

}  // namespace

int RunStorageFuzzInput(const uint8_t* data, size_t size) {
  static HeadlessHost host;
  static MemoryFiles* files = nullptr;
  SetHost(&host);
  delete files;
  files = new MemoryFiles;
  SetStorageFiles(files);
  ResetStorageEngine();
  ResetInput();
  PushKey(kKeyEnter);  // answers the error box
  FuzzInput in{data, size};
  const int shape = in.Byte();
  const int keyLength = 1 + shape % 6;
  const bool duplicates = shape & 0x40;
  try {
    BuildFiles(in, keyLength, duplicates);
    Damage(in, *files);
    if (!duplicates) CheckNothingSilent(keyLength);
    files->RestoreStopImage();  // forget handles a stop left open
    ResetStorageEngine();
    PushKey(kKeyEnter);
    Walk(keyLength, duplicates);
  } catch (const Halt&) {
  }
  SetStorageFiles(nullptr);
  return 0;
}

}  // namespace vantu

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vantu::RunStorageFuzzInput(data, size);
}

#ifndef VANTU_FUZZING
#include <gtest/gtest.h>

#include <random>

namespace vantu {
namespace {

TEST(StorageFuzz, RandomDamageNeverEscapesTheEngine) {
  std::mt19937 rng(42);
  for (int run = 0; run < 300; ++run) {
    std::vector<uint8_t> input(1 + 1 + 4 * (run % 12));
    for (auto& b : input) b = static_cast<uint8_t>(rng());
    input[1] = static_cast<uint8_t>(run % 40);
    // Aim most patches at the header and the first pages.
    for (size_t i = 2; i + 3 < input.size(); i += 4) input[i + 2] %= 4;
    EXPECT_NO_THROW(RunStorageFuzzInput(input.data(), input.size())) << "run " << run;
  }
}

}  // namespace
}  // namespace vantu
#endif
