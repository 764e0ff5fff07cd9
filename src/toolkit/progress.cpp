#include "toolkit/progress.h"

#include "console/console.h"
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
  Host().Sleep(5);
  Host().ProcessEvents();
  const int old = gProgress.phase;
  gProgress.phase = (old + 1) % kProgressPhases;
  if (!gProgress.open) return;
  BoldText();
  PutCell(old, kTrack);
  PutCell(gProgress.phase, kMark);
  NormalText();
}

void HideProgress() {
  if (gProgress.open) CloseWindow();
  gProgress = ProgressState{};
}

int ProgressPhase() {
  return gProgress.phase;
}

}  // namespace vantu
