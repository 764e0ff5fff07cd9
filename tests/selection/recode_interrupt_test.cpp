// A recodification stopped at each of its writes, then completed as the
// end of the next selection completes it: the set must come out byte for
// byte as an uninterrupted run leaves it, with every record, reference and
// index intact, also when the start-up recovery rebuilt the indexes first.
#include <filesystem>
#include <map>

#include "selection/recode_fixture.h"
#include "storage/memory_files.h"
#include "storage/recovery.h"
#include "toolkit/window_stack.h"

namespace vantu::test {
namespace {

using Snapshot = std::map<std::string, std::vector<uint8_t>>;

class RecodeInterruptTest : public RecodeTest {
 protected:
  void SetUp() override {
    RecodeTest::SetUp();
    SetStorageFiles(&files);
    Generate(TinyShape());
    initial = files.Contents();
  }
  void TearDown() override {
    Restart();  // a failed case may leave areas of a stopped run open
    ClearStateFiles();
    SetStorageFiles(nullptr);
    RecodeTest::TearDown();
  }

  // What a new start of the program has: the files as they are, nothing
  // open, a fresh engine.
  void Restart() {
    files.ForgetHandles();  // a run stopped by a failed write left its files open
    ResetStorageEngine();
    ResetWorkAreas();
    ResetRecodification();
    ResetWindowStack();
  }

  void ClearStateFiles() {
    for (const char* name : {"Apr07ct1.A01", "Apr07ct2.A01", "Apr07ctn.A01"})
      fs::remove(dataDir / name);
  }

  // Runs the recodification from the initial files; returns the writes it made.
  int RunWhole() {
    files.Contents() = initial;
    Restart();
    Open();
    const int before = files.Writes();
    EXPECT_EQ(RunRecodification(kRecodeIdle, kParams), 0);
    const int writes = files.Writes() - before;
    CloseSet();
    return writes;
  }

  // Runs it with the n-th write failing; true when the run stopped.
  bool RunStoppedAt(int n) {
    files.Contents() = initial;
    ClearStateFiles();
    Restart();
    Open();
    files.FailWrite(n);
    host.PushKeys({kKeyEnter});  // dismisses the engine's error box
    try {
      RunRecodification(kRecodeIdle, kParams);
    } catch (const Halt&) {
      files.FailWrite(0);
      return true;
    }
    files.FailWrite(0);
    return false;
  }

  // The next start: optionally the recovery's index rebuild, then the
  // selection opens the set and completes the run.
  void Resume(bool recovered) {
    Restart();
    if (recovered) {
      for (int n : CodedFiles()) RebuildFile(n, kSetRecordLength[n], n == 6 ? "A01" : "A");
      Restart();
    }
    Open();
    Recodify(false);
  }

  // The generator numbers chapters 01, 02, ... and items by 10: chapters
  // move up onto codes still in use, items move down.
  static constexpr RecodeParams kParams{2, 1, 5};
  MemoryFiles files;
  Snapshot initial;
};

TEST_F(RecodeInterruptTest, EveryWritePointCompletesToTheSameSet) {
  const int writes = RunWhole();
  ASSERT_GT(writes, 100);
  const Snapshot expected = files.Contents();
  EXPECT_NE(expected, initial) << "the run must change the codes";
  for (bool recovered : {false, true}) {
    for (int n = 1; n <= writes; ++n) {
      SCOPED_TRACE("stopped at write " + std::to_string(n) + (recovered ? " with recovery" : ""));
      ASSERT_TRUE(RunStoppedAt(n));
      if (FindRecodePhase(dataDir.string(), "A01") == kRecodeIdle) {
        // Stopped before the run was recorded: nothing may have changed.
        ASSERT_EQ(files.Contents(), initial);
        continue;
      }
      // A stop leaves the set marked in use, so the next start rebuilds
      // the indexes before the selection. Without that rebuild only the
      // renumbering phase, which writes no index, can be resumed.
      if (!recovered && FindRecodePhase(dataDir.string(), "A01") != kRecodeRenumbering) continue;
      Resume(recovered);
      EXPECT_EQ(FindRecodePhase(dataDir.string(), "A01"), kRecodeIdle);
      ExpectIndexesMatchData();
      ExpectReferencesResolve();
      CloseSet();
      for (const auto& [name, bytes] : expected)
        ASSERT_EQ(files.Contents()[name], bytes) << fs::path(name).filename();
      ASSERT_EQ(files.Contents().size(), expected.size());
    }
  }
}

// A stop and a completion in between does not make a second completion
// change anything: the completion is repeatable.
TEST_F(RecodeInterruptTest, CompletingTwiceChangesNothing) {
  RunWhole();
  const Snapshot expected = files.Contents();
  ASSERT_TRUE(RunStoppedAt(40));
  Resume(false);
  CloseSet();
  std::ofstream(dataDir / "Apr07ct2.A01").flush();
  Resume(false);
  CloseSet();
  EXPECT_EQ(files.Contents(), expected);
}

}  // namespace
}  // namespace vantu::test
