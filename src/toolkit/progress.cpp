#include "toolkit/progress.h"

#include "console/console.h"
#include "console/keys.h"
#include "platform/platform.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

struct ProgressState {
  bool open = false;
  int phase = 0;
};
ProgressState gProgress;

using TimePoint = std::chrono::steady_clock::time_point;
// The time of the last turn given to the host; none yet when unset.
struct PaceState {
  bool started = false;
  TimePoint lastTurn{};
};
PaceState gPace;

constexpr uint8_t kTrack = 176;  // light shade
constexpr uint8_t kMark = 219;   // full block
// The 8 cells round the centre of the 9 x 3 inside, clockwise from the top
// left, as (column, row) inside the window.
constexpr int kRing[kProgressPhases][2] = {{4, 1}, {5, 1}, {6, 1}, {6, 2},
                                           {6, 3}, {5, 3}, {4, 3}, {4, 2}};

void PutCell(int phase, uint8_t ch) {
  GotoXY(kRing[phase][0], kRing[phase][1]);
  WriteText(std::string(1, static_cast<char>(ch)));
}

}  // namespace

void ResetProgress() {
  gProgress = ProgressState{};
  gPace = PaceState{};
}

bool HostTurnDue() {
  return !gPace.started || Host().Now() - gPace.lastTurn >= kHostTurnInterval;
}

void GiveHostTurn() {
  gPace.started = true;
  gPace.lastTurn = Host().Now();
  Host().ProcessEvents();
}

bool PaceHost() {
  if (!HostTurnDue()) return false;
  GiveHostTurn();
  return true;
}

bool RunKeyPressed() {
  if (!KeyQueueEmpty()) return true;
  return PaceHost() && !KeyQueueEmpty();
}

bool ShowProgress(int col, int row) {
  WindowDesc w;
  w.scheme = kProgressScheme;
  w.frame = 'D';
  w.left = col - 5, w.right = col + 5, w.top = row - 2, w.bottom = row + 2;
  gProgress = ProgressState{};
  gProgress.open = OpenWindow(w);
  return gProgress.open;
}

void StepProgress(bool first) {
  if (first) {
    gProgress.phase = 0;
    if (!gProgress.open) return;
    BoldText();
    for (int i = 0; i < kProgressPhases; ++i) PutCell(i, i == 0 ? kMark : kTrack);
    NormalText();
    return;
  }
  if (!HostTurnDue()) return;
  const int old = gProgress.phase;
  gProgress.phase = (old + 1) % kProgressPhases;
  if (gProgress.open) {
    BoldText();
    PutCell(old, kTrack);
    PutCell(gProgress.phase, kMark);
    NormalText();
  }
  GiveHostTurn();
}

void HideProgress() {
  if (gProgress.open) CloseWindow();
  gProgress = ProgressState{};
}

int ProgressPhase() {
  return gProgress.phase;
}

}  // namespace vantu
