// The set lock and its file: one holder at a time, the holder's words in
// the file, and the "abierto" state kept exactly until the files are known
// to be consistent again.
#include "storage/set_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_lock.h"
#include "storage/file_sets_fixture.h"

namespace vantu::test {
namespace {

class SetLockTest : public FileSetsTest {
 protected:
  void TearDown() override {
    ResetSetLocks();
    FileSetsTest::TearDown();
  }
  std::string Dir() const { return dataDir.string(); }
  std::string LockText() { return ReadLockFileText(SetLockPath(Dir(), "A")); }
  bool SaysOpen() { return LockText().find("estado=abierto") != std::string::npos; }
};

TEST_F(SetLockTest, OneHolderAtATimeAcrossProcessesAndWithinOne) {
  SetLockProgram("korven");
  const SetLockAttempt first = TakeSetLock(Dir(), "A");
  ASSERT_EQ(first.result, SetLockResult::kTaken);
  EXPECT_EQ(TakeSetLock(Dir(), "A").result, SetLockResult::kAlreadyOurs);
  EXPECT_TRUE(HoldsSetLock(Dir() + "/.", "A")) << "the same folder spelt otherwise";
  // A second open of the file in this process is another holder.
  FileLock other;
  EXPECT_EQ(other.TryTake(SetLockPath(Dir(), "A")), FileLock::Result::kHeldElsewhere);
  // Another process sees the holder and its words.
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ResetSetLocks();  // the child's copy of the table holds nothing
    const SetLockAttempt a = TakeSetLock(dataDir.string(), "A");
    const bool ok = a.result == SetLockResult::kInUse && a.holder.program == "korven" &&
                    a.holder.pid == static_cast<long>(::getppid()) && !a.holder.leftOpen;
    ::_exit(ok ? 0 : 1);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(TakeSetLock(Dir(), "B").result, SetLockResult::kTaken) << "another Rama";
  ReleaseSetLock(Dir(), "A", true);
  EXPECT_EQ(other.TryTake(SetLockPath(Dir(), "A")), FileLock::Result::kTaken);
}

TEST_F(SetLockTest, TheOpenStateLastsUntilTheFilesAreConsistentAgain) {
  ASSERT_EQ(TakeSetLock(Dir(), "A").result, SetLockResult::kTaken);
  EXPECT_FALSE(SaysOpen());
  ASSERT_TRUE(MarkHeldSetOpen(Dir(), "A", "01"));
  EXPECT_TRUE(SaysOpen());
  EXPECT_NE(LockText().find("obra=01"), std::string::npos);
  // A failure: the lock goes with the process, the state stays.
  ReleaseSetLock(Dir(), "A", false);
  EXPECT_TRUE(SaysOpen());

  // The next holder finds it left open; closing it without a rebuild (a
  // file dialog, a check) keeps saying so.
  SetLockAttempt again = TakeSetLock(Dir(), "A");
  ASSERT_EQ(again.result, SetLockResult::kTaken);
  EXPECT_TRUE(again.holder.leftOpen);
  EXPECT_TRUE(HeldSetLeftOpen(Dir(), "A"));
  NoteHeldSetsConsistent();  // a normal end does not rebuild it either
  ReleaseSetLock(Dir(), "A", true);
  EXPECT_TRUE(SaysOpen());

  // Rebuilt: closed.
  ASSERT_EQ(TakeSetLock(Dir(), "A").result, SetLockResult::kTaken);
  NoteHeldSetConsistent(Dir(), "A");
  EXPECT_FALSE(HeldSetLeftOpen(Dir(), "A"));
  ReleaseAllSetLocks();
  EXPECT_FALSE(SaysOpen());

  // Written and ended normally: closed.
  ASSERT_EQ(TakeSetLock(Dir(), "A").result, SetLockResult::kTaken);
  ASSERT_TRUE(MarkHeldSetOpen(Dir(), "A", ""));
  NoteHeldSetsConsistent();
  ReleaseAllSetLocks();
  EXPECT_FALSE(SaysOpen());
  // A longer text before never leaves a part of itself behind.
  EXPECT_EQ(LockText().find("obra=01"), std::string::npos);
}

TEST_F(SetLockTest, AFolderWhereNoLockCanBeMadeIsRefusedInWords) {
  const SetLockAttempt a = TakeSetLock((root / "no-existe").string(), "A");
  EXPECT_EQ(a.result, SetLockResult::kFailed);
  const std::vector<std::string> lines = SetInUseLines("A", a);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_NE(lines[0].find("RAMA A"), std::string::npos);
  EXPECT_NE(lines[1].find("Apr00blq.A"), std::string::npos);
}

}  // namespace
}  // namespace vantu::test
