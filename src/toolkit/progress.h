#pragma once
// The progress of long runs (calculation, recovery, regeneration,
// recodification, listings): the pace at which they hand control to the
// host, and the progress window, a small window with a spinner that turns
// one of 8 phases per step.
//
// A long run writes its progress into the screen at every record, which
// costs nothing, but lets the host process its events (the repaint of what
// changed, the keys typed, the menus) only when a turn is due: at most once
// per kHostTurnInterval of the host's monotonic clock. A key waiting in the
// queue is seen at once, at the next record.

#include <chrono>

namespace vantu {

constexpr int kProgressScheme = 11;
constexpr int kProgressPhases = 8;
constexpr std::chrono::milliseconds kHostTurnInterval{30};

// True when the last turn given to the host is at least kHostTurnInterval
// old (always true for the first turn).
bool HostTurnDue();
// Lets the host process its events now and starts a new interval.
void GiveHostTurn();
// Gives the host its turn when one is due; true when it was given.
bool PaceHost();
// The key check of a long run, made before every record: true when a key
// waits. The host's events are processed only on a due turn.
bool RunKeyPressed();

// Opens the window centred on (col, row): 5 columns either side, 2 rows
// above and below. False when no window could be opened; the steps then
// only pace the host.
bool ShowProgress(int col, int row);
// First call: draws the spinner frame. Later calls, one per record or so:
// on a due turn, advance the spinner and give the host its turn.
void StepProgress(bool first);
// Closes the progress window opened by ShowProgress.
void HideProgress();
// The current phase, 0..7.
int ProgressPhase();
// Forgets the window and the time of the last turn.
void ResetProgress();

}  // namespace vantu
