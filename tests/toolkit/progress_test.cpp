// The pace of long runs: the host gets its turn by the clock, not by the
// record, while a waiting key is seen at every record.
#include "toolkit/progress.h"

#include <gtest/gtest.h>

#include "console/keys.h"
#include "support/clocked_host.h"
#include "support/headless_fixture.h"

namespace vantu::test {
namespace {

using std::chrono::milliseconds;

class ProgressPaceTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    SetHost(&clocked);
  }
  void TearDown() override {
    SetHost(&host);
    HeadlessTest::TearDown();
  }
  ClockedHost clocked;
};

TEST_F(ProgressPaceTest, TheHostGetsATurnPerIntervalNotPerRecord) {
  struct Case {
    const char* name;
    milliseconds perRecord;
    int records;
    int turns;
  };
  const Case cases[] = {
      {"fast_records", milliseconds(1), 300, 10},  // t = 0, 30, ..., 270
      {"just_under_the_interval", milliseconds(29), 4, 2},
      {"exactly_the_interval", milliseconds(30), 4, 4},
      {"slow_records", milliseconds(45), 5, 5},
      {"clock_standing_still", milliseconds(0), 1000, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProgress();
    clocked.turns = 0;
    for (int i = 0; i < c.records; ++i) {
      EXPECT_FALSE(RunKeyPressed());
      clocked.Advance(c.perRecord);
    }
    EXPECT_EQ(clocked.turns, c.turns);
  }
}

TEST_F(ProgressPaceTest, AWaitingKeyIsSeenAtOnceWithoutATurn) {
  ASSERT_TRUE(PaceHost());
  const int turns = clocked.turns;
  EXPECT_FALSE(PaceHost()) << "the clock has not moved";
  PushKey('x');
  EXPECT_TRUE(RunKeyPressed());
  EXPECT_EQ(clocked.turns, turns);
}

TEST_F(ProgressPaceTest, AKeyTypedDuringTheRunIsSeenAtTheNextTurn) {
  ASSERT_TRUE(PaceHost());
  clocked.onTurn = [] { PushKey('x'); };
  int record = 0;
  while (!RunKeyPressed() && record < 100) {
    clocked.Advance(milliseconds(1));
    ++record;
  }
  EXPECT_EQ(record, 30);
}

TEST_F(ProgressPaceTest, TheSpinnerTurnsOncePerTurnOfTheHost) {
  ASSERT_TRUE(ShowProgress(40, 12));
  StepProgress(true);
  EXPECT_EQ(clocked.turns, 0);
  // Steps every 10 ms: turns at 10 (the first), 40, 70 and 100.
  for (int i = 0; i < 10; ++i) {
    clocked.Advance(milliseconds(10));
    StepProgress(false);
  }
  EXPECT_EQ(ProgressPhase(), 4);
  EXPECT_EQ(clocked.turns, 4);
  // The window's inside starts at column 36, row 11: phase 4 is the bottom
  // right, phase 1 (top middle) is back to the track.
  EXPECT_EQ(Screen().At(36 + 5, 13).ch, 219);
  EXPECT_EQ(Screen().At(36 + 4, 11).ch, 176);
  HideProgress();
}

TEST_F(ProgressPaceTest, TheResetForgetsTheLastTurn) {
  ASSERT_TRUE(PaceHost());
  EXPECT_FALSE(HostTurnDue());
  ResetProgress();
  EXPECT_TRUE(HostTurnDue());
}

}  // namespace
}  // namespace vantu::test
