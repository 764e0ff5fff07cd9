#include "toolkit/status_line.h"

#include <algorithm>

#include "console/console.h"
#include "console/keys.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "toolkit/error_review.h"
#include "toolkit/numbers.h"
#include "toolkit/schemes.h"
#include "toolkit/work_area_link.h"

namespace vantu {

namespace {

constexpr int kStatusRow = 25;
constexpr int kLineWidth = 80;

std::string gSavedStatusLine;
bool gErrorShown = false;

bool IsIndexedArea(int kind) {
  return IsCodedArea(kind);
}

}  // namespace

FullScreenWindow::FullScreenWindow(bool always) {
  if (!always && Shell().escDepth == 0) return;
  const ScreenState& s = Screen();
  active_ = true;
  left_ = s.left, top_ = s.top, right_ = s.right, bottom_ = s.bottom;
  x_ = s.cursorX, y_ = s.cursorY;
  Window(1, 1, kLineWidth, kStatusRow);
}

FullScreenWindow::~FullScreenWindow() {
  if (!active_) return;
  Window(left_, top_, right_, bottom_);
  Screen().cursorX = x_;
  Screen().cursorY = y_;
}

std::string& SavedStatusLine() {
  return gSavedStatusLine;
}
void ResetStatusLine() {
  gSavedStatusLine.clear();
  gErrorShown = false;
}

void SaveStatusLine() {
  gSavedStatusLine = ReadScreenText(1, kStatusRow, kLineWidth);
  GotoXY(1, kStatusRow);
  ClrEol();
}

void ShowStatusMessage(const std::string& text) {
  BoldText();
  // A message over a message keeps the line saved before the first, so
  // that clearing it never brings an old message back.
  if (Shell().messageShown) {
    GotoXY(1, kStatusRow);
    ClrEol();
  } else {
    SaveStatusLine();
  }
  gErrorShown = false;
  WriteCentered(kStatusRow, text);
  Shell().messageShown = true;
  NormalText();
}

void ShowError(const std::string& text) {
  FullScreenWindow full;
  // Drop what waits in the queue itself: a replay in progress has nothing
  // waiting there to drop.
  while (KeyPressed()) ReadKey();
  ShowStatusMessage(text);
  gErrorShown = true;
  Beep();
}

bool ErrorOnStatusLine() {
  return gErrorShown && Shell().messageShown;
}

void ClearMessage(int kind) {
  FullScreenWindow full;
  const ReviewState& rv = Review();
  if (rv.active && rv.currentError >= 0 &&
      TextToInt(rv.current.errCode) == TextToInt(AreaCurrentKey(kind))) {
    ShowReviewLine(false);
  } else if (IsIndexedArea(kind) && Shell().messageShown) {
    // The data screens keep row 25 for messages: it is left empty, and so
    // is the saved line, so that a later restore cannot bring the message
    // back.
    SaveStatusLine();
    gSavedStatusLine = ReadScreenText(1, kStatusRow, kLineWidth);
  } else {
    GotoXY(1, kStatusRow);
    WriteText(gSavedStatusLine);
  }
  Shell().messageShown = false;
  gErrorShown = false;
}

void WriteLineAt(int row, const std::string& text) {
  GotoXY(1, row);
  WriteText(text.substr(0, kLineWidth));
}

void WriteCentered(int row, const std::string& text) {
  // Centred in the output window, as a prompt of a menu window must be:
  // on the full screen that is the 80 columns.
  const int width = std::min(Screen().right - Screen().left + 1, kLineWidth);
  std::string t = text.substr(0, kLineWidth);
  GotoXY((width - static_cast<int>(t.size())) / 2, row);
  WriteText(t);
}

}  // namespace vantu
