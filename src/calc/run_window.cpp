// The run window: a framed window of 19 rows while the run has something to
// do (rows 3, 10 and 14 the phase titles, one row per step, row 19 the
// interruption hint and at the end the result), a small one otherwise.
#include "calc/run_window.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "calc/review_and_calc.h"
#include "console/console.h"
#include "console/keys.h"
#include "session/shell_state.h"
#include "toolkit/error_review.h"
#include "toolkit/key_reader.h"
#include "toolkit/message_boxes.h"
#include "toolkit/numbers.h"
#include "toolkit/progress.h"
#include "toolkit/prompts.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

constexpr int kInnerWidth = 58;
constexpr int kWindowLeft = (80 - kInnerWidth - 2) / 2 + 1;
constexpr int kFullRows = 19;
constexpr int kSmallRows = 5;
constexpr int kMessageRow = 19;
constexpr int kSmallMessageRow = 3;
constexpr int kLabelColumn = 3;
constexpr int kLabelRoom = 17;
constexpr const char* kTitle = "Revision y Calculo";
constexpr const char* kHint = "Para interrumpir oprima cualquier Tecla";
constexpr const char* kAskInterrupt = "Desea interrumpir el proceso (S/N)";
constexpr const char* kCounting = "  procesando el No. [";

void ClearRow(int row) {
  GotoXY(1, row);
  ClrEol();
}

void Centre(int row, const std::string& text) {
  GotoXY(std::max(1, (kInnerWidth - static_cast<int>(text.size())) / 2 + 1), row);
  WriteText(text);
}

// The label and its dots: "Basicos .........."
std::string Lead(const char* label) {
  const std::string l = label;
  return l + " " + RepeatChar('.', kLabelRoom - static_cast<int>(l.size()));
}

void DropWaitingKeys() {
  while (KeyPressed()) ReadKey();
}

class RunWindow : public CalcObserver {
 public:
  explicit RunWindow(bool obra) : obra_(obra) {}

  void StepSkipped(CalcStep step) override {
    if (NeedsObra(step) && !obra_) return;
    const StepLine s = StepLineOf(step);
    ClearRow(s.row);
    GotoXY(kLabelColumn, s.row);
    WriteText(Lead(s.label) + " << ... no requiere proceso ... >>");
  }

  // Called for every record. The row's text is written when the step
  // starts and again when the record number gains a digit; in between only
  // the number's digits change.
  void StepRecord(CalcStep step, int i, int n) override {
    const StepLine s = StepLineOf(step);
    number_.clear();
    AppendNumber(number_, i);
    if (s.row != lastRow_ || number_.size() != lastDigits_) {
      ClearRow(s.row);
      GotoXY(kLabelColumn, s.row);
      std::string text = Lead(s.label) + kCounting;
      countColumn_ = kLabelColumn + static_cast<int>(text.size());
      text += number_ + "] de [";
      AppendNumber(text, n);
      WriteText(text + "]");
      lastRow_ = s.row;
      lastDigits_ = number_.size();
      return;
    }
    GotoXY(countColumn_, s.row);
    WriteText(number_);
  }

  // Any waiting key offers to stop; only N (or Intro) goes on. The host
  // repaints and takes keys only on its paced turns.
  bool StopWanted() override {
    if (!RunKeyPressed()) return false;
    DropWaitingKeys();
    ClearRow(kMessageRow);
    Centre(kMessageRow, std::string(kAskInterrupt) + " N");
    GotoXY(WhereX() - 1, kMessageRow);
    SetCaret(true);
    uint8_t answer = UpperChar(GetKey());
    if (answer == kKeyEnter) answer = 'N';
    SetCaret(false);
    DropWaitingKeys();
    if (answer != 'N') return true;
    ClearRow(kMessageRow);
    Centre(kMessageRow, kHint);
    return false;
  }

 private:
  static void AppendNumber(std::string& text, int value) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
  }

  bool obra_;
  int lastRow_ = 0;
  int countColumn_ = 0;  // where the record number starts on lastRow_
  size_t lastDigits_ = 0;
  std::string number_;
};

bool OpenRunWindow(bool full) {
  const int rows = full ? kFullRows : kSmallRows;
  WindowDesc w;
  w.scheme = kSchemeModule;
  w.frame = 'D';
  w.left = kWindowLeft;
  w.right = kWindowLeft + kInnerWidth + 1;
  w.top = (25 - rows - 2) / 2 + 1;
  w.bottom = w.top + rows + 1;
  w.title = std::string(" ") + kTitle + " ";
  w.buttons = "Esc^regresa";
  if (!OpenWindow(w)) return false;
  NormalText();
  if (!full) return true;
  BoldText();
  for (CalcPhase p : {kPhaseContent, kPhaseCross, kPhaseCalc}) Centre(PhaseRow(p), PhaseTitle(p));
  NormalText();
  Centre(kMessageRow, kHint);
  return true;
}

// "... Hay n Errores ..."; true when the user wants to review them now.
bool OfferErrorReview(int total) {
  const std::string text =
      "... Hay " + std::to_string(total) + " Errores ...\r\rDesea revisarlos ahora ?";
  return ConfirmBox(text, "Mensaje de Error") == 'S';
}

}  // namespace

void RunReviewAndCalculation() {
  const RunPlan plan = PrepareRun();
  const bool full = plan.SomethingToDo();
  const bool shown = OpenRunWindow(full);
  SetCaret(false);
  RunWindow window(plan.obra);
  const RunOutcome out = ExecuteRun(plan, window, Shell().errorFileName);
  if (out.interrupted || out.TotalErrors() > 0) {
    const bool review = !out.interrupted && OfferErrorReview(out.TotalErrors());
    if (shown) CloseWindow();
    if (review) {
      StartErrorReview(static_cast<int16_t>(std::min(out.TotalErrors(), 32767)));
      ShowReviewButtons();
    }
    return;
  }
  const int row = full ? kMessageRow : kSmallMessageRow;
  ClearRow(row);
  BoldText();
  Centre(row, ClosingText(out));
  NormalText();
  WaitKeyIn(std::string(1, static_cast<char>(kKeyEsc)));
  if (shown) CloseWindow();
}

}  // namespace vantu
