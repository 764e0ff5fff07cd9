#include "platform/headless/headless_host.h"

#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"

namespace vantu {

namespace {
// Waits allowed with an empty queue and no script left before the wait is
// taken as a hang.
constexpr int kMaxIdleWaits = 2000;
}  // namespace

HeadlessHost::HeadlessHost() = default;

void HeadlessHost::PushKeys(const std::vector<int>& codes) {
  QueueStep([codes] {
    for (int c : codes) PushKey(static_cast<uint8_t>(c));
  });
}

void HeadlessHost::TypeKeys(const std::vector<int>& codes) {
  QueueStep([codes] {
    for (int c : codes) {
      Input().noTypedKey = false;
      PushKey(static_cast<uint8_t>(c));
    }
  });
}

void HeadlessHost::TypeText(const std::string& text) {
  std::vector<int> codes;
  for (unsigned char ch : text) codes.push_back(ch);
  TypeKeys(codes);
}

void HeadlessHost::Click(int col0, int row0, bool left) {
  QueueStep([col0, row0, left] {
    PixelSize cell{9, 18};
    MouseDown(col0 * cell.width, row0 * cell.height, left ? MouseBtn::Left : MouseBtn::Right,
              cell.width, cell.height);
    MouseUp();
  });
}

void HeadlessHost::ProcessEvents() {
  // The scripted user acts only while the program waits (has slept or
  // waited since the last step) and nothing is queued, as a person would.
  if (!KeyQueueEmpty() || !waiting_) return;
  if (!steps_.empty()) {
    waiting_ = false;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    idleWaits_ = 0;
    step();
  }
}

void HeadlessHost::Sleep(int ms) {
  sleptMs_ += ms;
  waiting_ = true;
}

// The script is the only source of events: the wait hands the turn to the
// next step. Only a wait with nothing left to give can hang.
void HeadlessHost::WaitForEvents() {
  ++waits_;
  waiting_ = true;
  if (KeyQueueEmpty() && steps_.empty() && ++idleWaits_ > kMaxIdleWaits) {
    idleWaits_ = 0;
    throw ScriptExhausted();
  }
}

BoxAnswer HeadlessHost::MessageBox(const std::string& text, const std::string& caption,
                                   BoxIcon icon, BoxButtons buttons) {
  boxes_.push_back({text, caption, icon, buttons});
  if (boxAnswers_.empty()) {
    if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    throw ScriptExhausted();
  }
  BoxAnswer a = boxAnswers_.front();
  boxAnswers_.pop_front();
  return a;
}

bool HeadlessHost::PrintDialog() {
  ++printDialogs_;
  if (printAnswers_.empty()) throw ScriptExhausted();
  DialogOutcome outcome = printAnswers_.front();
  printAnswers_.pop_front();
  if (outcome == DialogOutcome::Fail) throw PlatformError("print dialog failed");
  return outcome == DialogOutcome::Accept;
}

bool HeadlessHost::OpenFileDialog(const std::string& initialDir, const std::string& title,
                                  const std::string& filter, int options, std::string& fileName) {
  fileDialogs_.push_back({initialDir, title, filter, options});
  if (fileAnswers_.empty()) throw ScriptExhausted();
  auto [outcome, path] = fileAnswers_.front();
  fileAnswers_.pop_front();
  if (outcome == DialogOutcome::Fail) throw PlatformError("open-file dialog failed");
  if (outcome == DialogOutcome::Accept) fileName = path;
  return outcome == DialogOutcome::Accept;
}

void HeadlessHost::ManageFiles(const std::string& title, FileGroups& groups) {
  filesTitles_.push_back(title);
  if (filesAnswers_.empty()) throw ScriptExhausted();
  FilesAction action = std::move(filesAnswers_.front());
  filesAnswers_.pop_front();
  if (action) action(groups);
}

std::string HeadlessHost::ReadSetting(const std::string& key, const std::string& value) {
  auto it = settings_.find(key + "\\" + value);
  return it == settings_.end() ? std::string() : it->second;
}

void HeadlessHost::WriteSetting(const std::string& key, const std::string& value,
                                const std::string& text) {
  settings_[key + "\\" + value] = text;
}

std::string ScreenRow(int row) {
  std::string s;
  for (int c = 1; c <= Screen().columns; ++c) s += static_cast<char>(Screen().At(c, row).ch);
  return s;
}

std::string ScreenText() {
  std::string all;
  for (int r = 1; r <= Screen().rows; ++r) {
    std::string line = ScreenRow(r);
    line.erase(line.find_last_not_of(' ') + 1);
    all += line;
    if (r < Screen().rows) all += '\n';
  }
  return all;
}

bool ScreenContains(const std::string& text) {
  return ScreenText().find(text) != std::string::npos;
}

}  // namespace vantu
