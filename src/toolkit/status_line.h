#pragma once
// Row 25 as the status line: a message replaces it and ClearMessage puts
// back what was there (or the error review's line).

#include <string>

namespace vantu {

// The output window is set to the full screen, and the window and cursor
// are put back at the end of scope: always, or (by default) only while a
// module level is open (EscDepth > 0).
class FullScreenWindow {
 public:
  explicit FullScreenWindow(bool always = false);
  ~FullScreenWindow();
  FullScreenWindow(const FullScreenWindow&) = delete;
  FullScreenWindow& operator=(const FullScreenWindow&) = delete;

 private:
  bool active_ = false;
  int left_ = 1, top_ = 1, right_ = 80, bottom_ = 25, x_ = 1, y_ = 1;
};

// The text of row 25 saved before a message (SavedStatusLine, 80 characters).
std::string& SavedStatusLine();
void ResetStatusLine();

// Saves row 25 and clears it, leaving the cursor at (1, 25).
void SaveStatusLine();
// Bold, centred message on row 25 (up to 80 characters); sets MessageShown.
void ShowStatusMessage(const std::string& text);
// Drops waiting codes, shows the message and beeps; does not wait.
void ShowError(const std::string& text);
// A message of ShowError is on row 25: the next value accepted in a field
// answers it, and the field editor takes it away.
bool ErrorOnStatusLine();
// Ends a message: the review line when the current error is the record of
// work area `kind`, else the saved line (or a cleared one for kinds 2-4, 6).
void ClearMessage(int kind);

// Up to 80 characters at (1, row).
void WriteLineAt(int row, const std::string& text);
// Up to 80 characters centred at column (width - length) div 2 of the
// output window (80 columns wide on the full screen).
void WriteCentered(int row, const std::string& text);

}  // namespace vantu
