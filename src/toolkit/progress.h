#pragma once
// The progress window shown during long operations: a small window with a
// spinner that turns one of 8 phases per step.

namespace vantu {

constexpr int kProgressScheme = 11;
constexpr int kProgressPhases = 8;

// Opens the window centred on (col, row): 5 columns either side, 2 rows
// above and below. False when no window could be opened; the steps then
// only let the host breathe.
bool ShowProgress(int col, int row);
// First call: draws the spinner frame. Later calls: pause 5 ms, let the
// host process its events and advance the spinner.
void StepProgress(bool first);
// Closes the progress window opened by ShowProgress.
void HideProgress();
// The current phase, 0..7.
int ProgressPhase();
void ResetProgress();

}  // namespace vantu
