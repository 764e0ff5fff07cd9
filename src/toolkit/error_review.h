#pragma once
// The error review: after a calculation has written the error file,
// Ctrl+RePag / Ctrl+AvPag (173 / 174) move to the previous / next visible
// error and GetKey drives the modules to its record by replaying keys: Esc
// until the main menu, then the module letter, the record code and Intro,
// then 128. Ctrl+Fin (178) ends the review.

#include <cstdint>
#include <string>

#include "toolkit/error_file.h"

namespace vantu {

struct ReviewState {
  bool active = false;           // ReviewActive
  int16_t errorCount = 0;        // ErrorCount: visible errors
  int16_t lastErrorIndex = -1;   // LastErrorIndex: highest record number
  int16_t currentError = -1;     // CurrentError: -1 before the first
  int16_t errorPosition = 0;     // ErrorPosition: visible errors before the current one
  bool replayActive = false;     // ReplayActive
  std::string replayKeys;        // ReplayKeys: string[20]
  uint8_t reviewKey = 0;         // ReviewKey: 173, 174 or 0
  std::string reviewText;        // ReviewText: string[80]
  uint8_t reviewTargetKind = 0;  // ReviewTargetKind: 1, 2, 3, 4 or 6
  ErrorEntry current;            // the record of CurrentError
};

ReviewState& Review();
void ResetReview();

// Starts the review over the error file with `count` records, all visible,
// positioned before the first one.
void StartErrorReview(int16_t count);
// Ends the review (Ctrl+Fin): state cleared, key-button row 2 removed, the
// module's background and status line restored.
void EndErrorReview();
// Marks record `index` of the error file hidden (its record was deleted)
// and counts one error less; the review ends when none is left.
void HideError(int16_t index);

// Moves to the previous (173) or next (174) visible error of the file and
// builds ReviewText, ReplayKeys and ReviewTargetKind for it. Beeps when
// there is none in that direction.
void MoveToError(uint8_t reviewKey);

// "** [pos:count] SEVERITY description" on row 25; `save` keeps the row's
// old text in SavedStatusLine first.
void ShowReviewLine(bool save);

// Texts of the review.
std::string MissingItemText(uint8_t value);
std::string AreaName(uint8_t index);
std::string SeverityWord(uint8_t severity);
std::string ErrorDescription(const ErrorEntry& r);
// Keys that drive the modules to the record; empty when no module shows it.
// The letter decides the target area (1, 2, 3, 4 or 6) given in `kind`.
std::string ErrorReplayKeys(const ErrorEntry& r, uint8_t& kind);

}  // namespace vantu
