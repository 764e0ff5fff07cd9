#pragma once
// How vantu-cli and korven talk: texts of the core (Windows-1252) turned
// into UTF-8, JSON values, and the progress of a long step as a bar on a
// terminal or as plain lines.

#include <cstdio>
#include <string>

namespace vantu::cli {

// Windows-1252 bytes as UTF-8 (the Latin-1 range as is, the rest as '?').
std::string Utf8(const std::string& text);

// A line of the core's boxes that speaks of keys to press: it means
// nothing without a window ("Para continuar oprima cualquier tecla").
bool WindowOnlyLine(const std::string& line);

// UTF-8 text as a quoted JSON string.
std::string JsonString(const std::string& text);
// An amount as a JSON number with two decimals.
std::string JsonAmount(long double value);

// The screen's text without window frames, one indented line per row that
// holds something, in UTF-8: what a note or an error box of the core says.
std::string ScreenMessage();

// One progress display on `out`.
class Progress {
 public:
  Progress(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}
  // Record i of n of the step called `label`.
  void Step(const std::string& label, int i, int n);
  // The step ended with `note` ("" when it simply finished).
  void Done(std::string label, const std::string& note);
  // Ends the step still showing, if any.
  void Finish() {
    if (!current_.empty()) Done(current_, "");
  }

 private:
  std::FILE* out_;
  bool terminal_;
  std::string current_;
  int shownPercent_ = -1;
  int total_ = 0;
};

}  // namespace vantu::cli
