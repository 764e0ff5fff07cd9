#pragma once
// A host without a display, for tests and scripted runs. Keys, clicks and
// message-box answers come from a script; the screen is read back from the
// console's cells. Waiting for input with an empty script throws
// ScriptExhausted, so a scripted run can never hang.

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vantu {

struct ScriptExhausted : std::runtime_error {
  ScriptExhausted() : std::runtime_error("headless script exhausted") {}
};

class HeadlessHost : public Platform {
 public:
  // One scripted step, run when the core processes events.
  using Step = std::function<void()>;

  HeadlessHost();

  // Script building.
  void QueueStep(Step step) { steps_.push_back(std::move(step)); }
  void PushKeys(const std::vector<int>& codes);  // as pushed by the menu
  void TypeKeys(const std::vector<int>& codes);  // as typed on the keyboard
  void TypeText(const std::string& text);
  void Click(int col0, int row0, bool left = true);  // 0-based cell
  void AnswerBox(BoxAnswer answer) { boxAnswers_.push_back(answer); }
  // Answers of the print and open-file dialogs, in order.
  enum class DialogOutcome { Accept, Cancel, Fail };
  void AnswerPrintDialog(DialogOutcome outcome) { printAnswers_.push_back(outcome); }
  void AnswerFileDialog(DialogOutcome outcome, const std::string& path = {}) {
    fileAnswers_.push_back({outcome, path});
  }
  // What the user does in the next file-management dialog.
  using FilesAction = std::function<void(FileGroups&)>;
  void AnswerManageFiles(FilesAction action) { filesAnswers_.push_back(std::move(action)); }

  // What happened.
  struct BoxShown {
    std::string text, caption;
    BoxIcon icon;
    BoxButtons buttons;
  };
  const std::vector<BoxShown>& Boxes() const { return boxes_; }
  struct FileDialogShown {
    std::string initialDir, title, filter;
    int options;
  };
  const std::vector<FileDialogShown>& FileDialogs() const { return fileDialogs_; }
  const std::vector<std::string>& FilesDialogTitles() const { return filesTitles_; }
  int PrintDialogCount() const { return printDialogs_; }
  int BeepCount() const { return beeps_; }
  int SleptMs() const { return sleptMs_; }
  int WaitCount() const { return waits_; }
  const std::string& Caption() const { return caption_; }
  bool CaretShown() const { return caretShown_; }
  int RedrawAllCount() const { return redrawAll_; }
  bool ScriptDone() const { return steps_.empty(); }

  void SetToday(Date d) { today_ = d; }
  void SetColourDepth(int bits) { depth_ = bits; }
  std::map<std::string, std::string>& Settings() { return settings_; }

  // Platform
  void ProcessEvents() override;
  void Sleep(int ms) override;
  void WaitForEvents() override;
  void Beep() override { ++beeps_; }
  Date Today() override { return today_; }
  BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                       BoxButtons buttons) override;
  bool PrintDialog() override;
  bool OpenFileDialog(const std::string& initialDir, const std::string& title,
                      const std::string& filter, int options, std::string& fileName) override;
  void ManageFiles(const std::string& title, FileGroups& groups) override;
  void RedrawCells(int, int, int) override {}
  void RedrawAll() override { ++redrawAll_; }
  void DrawRunFrame(int, int, int, uint32_t) override {}
  void ShowCaret(bool shown, int, int) override { caretShown_ = shown; }
  void FocusConsole() override {}
  void SetWindowCaption(const std::string& caption) override { caption_ = caption; }
  void ButtonsChanged(int) override {}
  int ColourDepth() override { return depth_; }
  PixelSize DesktopSize() override { return {1920, 1080}; }
  PixelSize CellSize() override { return {9, 18}; }
  std::string ReadSetting(const std::string& key, const std::string& value) override;
  void WriteSetting(const std::string& key, const std::string& value,
                    const std::string& text) override;

 private:
  std::deque<Step> steps_;
  std::deque<BoxAnswer> boxAnswers_;
  std::vector<BoxShown> boxes_;
  std::deque<DialogOutcome> printAnswers_;
  std::deque<std::pair<DialogOutcome, std::string>> fileAnswers_;
  std::vector<FileDialogShown> fileDialogs_;
  std::deque<FilesAction> filesAnswers_;
  std::vector<std::string> filesTitles_;
  int printDialogs_ = 0;
  std::map<std::string, std::string> settings_;
  Date today_{7, 12, 2026};
  std::string caption_;
  int depth_ = 32;
  int beeps_ = 0;
  int sleptMs_ = 0;
  int redrawAll_ = 0;
  int idleWaits_ = 0;
  int waits_ = 0;
  bool caretShown_ = false;
  bool waiting_ = false;
};

// Screen read-back helpers over the console's cells.
std::string ScreenRow(int row);  // the 80 characters of a row (1-based)
std::string ScreenText();        // all rows joined by '\n', trailing blanks cut
bool ScreenContains(const std::string& text);

}  // namespace vantu
