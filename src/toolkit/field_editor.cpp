#include "toolkit/field_editor.h"

#include <algorithm>

#include "console/console.h"
#include "console/keys.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "toolkit/code_list.h"
#include "toolkit/error_review.h"
#include "toolkit/field_cost_window.h"
#include "toolkit/field_format.h"
#include "toolkit/field_hooks.h"
#include "toolkit/field_validate.h"
#include "toolkit/help_screens.h"
#include "toolkit/key_reader.h"
#include "toolkit/numbers.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"
#include "toolkit/window_message.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

// The field being edited stands out on white.
constexpr int kFocusedBackground = 15;

constexpr int kDateDigits = 6;

bool IsReviewKey(uint8_t k) {
  return k == kKeyCtrlPgUp || k == kKeyCtrlPgDn || k == kKeyCtrlEnd;
}

// A message on row 25 also from inside a pop-up window.
void ShowMessage(const std::string& text) {
  FullScreenWindow whole(true);
  ShowError(text);
}

class Editor {
 public:
  Editor(int area, const FieldDescriptor& d) : area_(area), d_(d) {}

  uint8_t Run(FieldValue& value, const KeySet& exitKeys);

 private:
  bool IsDate() const { return d_.kind == kKindDate; }
  std::string EmptyText() const { return IsDate() ? kDateTemplate : std::string(); }
  bool HasText() const { return !s_.text.empty() && s_.text != kDateTemplate; }
  int ScreenPos() const { return s_.cursor + s_.datePart; }
  int Limit() const { return IsDate() ? kDateDigits : d_.width; }
  int TypedLength() const { return IsDate() ? kDateDigits : static_cast<int>(s_.text.size()); }
  void SetCursor(int c) {
    s_.cursor = std::max(0, c);
    s_.datePart = IsDate() ? std::min(s_.cursor / 2, 2) : 0;
  }

  void Draw();
  void PlaceCursor();
  void TypeChar(uint8_t c);
  void Backspace();
  void Delete();
  void ListKey(uint8_t& pending);
  bool EscRestores();
  bool TryExit(uint8_t k, const KeySet& exitKeys);
  void Finish(FieldValue& value, bool store);
  void Unfocus(const FieldValue& value);

  int area_;
  const FieldDescriptor& d_;
  FieldEditState s_;
  bool readOnly_ = false;
  bool refused_ = false;  // this editing showed a validation message
};

void Editor::Draw() {
  const int width = ValueDisplayWidth(d_);
  std::string shown = s_.text;
  if (d_.kind == kKindReal && !s_.edited && static_cast<int>(shown.size()) < width)
    shown = std::string(width - shown.size(), ' ') + shown;
  if (readOnly_) shown = "<POR DEFINIR>";
  GotoXY(ValueColumn(d_), d_.row);
  if (IsChoiceField(d_))
    FieldBoldText();
  else
    FieldText();
  TextBackground(kFocusedBackground);
  WriteField(width, shown, 0, false);
  NormalText();
  PlaceCursor();
}

void Editor::PlaceCursor() {
  GotoXY(ValueColumn(d_) + ScreenPos(), d_.row);
  SetCaret(true);
}

void Editor::TypeChar(uint8_t c) {
  // Where numbers show the decimal comma, a typed comma is the decimal
  // separator; the text being edited keeps the point.
  if (d_.kind == kKindReal && c == ',' && NumberStyle() == 0) c = '.';
  if (c == ' ' && (!s_.edited || s_.cursor == 0 || s_.text[s_.cursor - 1] == ' ')) {
    Beep();
    return;
  }
  if (!KindAcceptsChar(d_.kind, c) || s_.cursor >= Limit()) {
    Beep();
    return;
  }
  const char ch = static_cast<char>(c);
  if (!s_.edited) {
    s_.text = IsDate() ? std::string(1, ch) + kDateTemplate.substr(1) : std::string(1, ch);
    s_.edited = true;
    SetCursor(1);
  } else if (IsDate()) {
    s_.text[ScreenPos()] = ch;
    SetCursor(s_.cursor + 1);
  } else {
    if (static_cast<int>(s_.text.size()) >= d_.width) s_.text.pop_back();
    s_.text.insert(s_.text.begin() + s_.cursor, ch);
    SetCursor(s_.cursor + 1);
  }
  Draw();
}

void Editor::Backspace() {
  if (IsDate() || s_.cursor == 0) {
    Beep();
    return;
  }
  s_.text.erase(s_.cursor - 1, 1);
  SetCursor(s_.cursor - 1);
  s_.edited = true;
  Draw();
}

void Editor::Delete() {
  if (ScreenPos() >= static_cast<int>(s_.text.size())) {
    Beep();
    return;
  }
  if (IsDate())
    s_.text[ScreenPos()] = kDateTemplate[ScreenPos()];
  else
    s_.text.erase(s_.cursor, 1);
  s_.edited = true;
  Draw();
}

// F1: the list of the field's files, or why there is none.
void Editor::ListKey(uint8_t& pending) {
  const FieldHooks& h = FieldEditorHooks();
  if (d_.listAreas.empty()) {
    const bool unbalanced = h.percentagesUnbalanced && h.percentagesUnbalanced(area_);
    ShowMessageWindow({unbalanced ? ".. Ajuste los porcentajes para que sumen 100% .."
                                  : ".. Llamar Lista desde campo de Codigos .."});
  } else if (!AreaListsAllowed(area_)) {
    Beep();
  } else if (CodeListFilesEmpty(d_.listAreas)) {
    ShowMessage("No hay datos para consultar");
  } else {
    if (s_.text.empty()) s_.text = FieldEditor().entryText;
    uint8_t exitKey = kKeyF1;
    if (auto code = OpenCodeList(area_, d_.listAreas, s_.text, exitKey)) {
      s_.text = *code;
      pending = exitKey;
    }
    s_.edited = false;
  }
  SetCursor(0);
  Draw();
}

// Esc typed during the error review, or over a proposed code, restores the
// text instead of leaving. The Esc codes a replay sends to close the module
// leave as usual, or the replay could never get out.
bool Editor::EscRestores() {
  if (Review().active && !Review().replayActive) {
    s_.text = FieldEditor().entryText;
  } else if (const auto& w = FieldEditorHooks().withdrawProposal) {
    auto before = w(area_, d_.label);
    if (!before) return false;
    s_.text = *before;
  } else {
    return false;
  }
  SetCursor(0);
  s_.edited = false;
  Draw();
  return true;
}

bool Editor::TryExit(uint8_t k, const KeySet& exitKeys) {
  const bool isExit = exitKeys.Has(k) || k == kKeyFieldClick;
  if (isExit && !HasText()) s_.valid = true;
  if (isExit && HasText()) {
    std::string message;
    int pos = 0;
    s_.valid = ValidateField(area_, s_.text, d_, message, pos);
    if (!s_.valid) {
      refused_ = true;
      ShowMessage(message);
      SetCursor(pos);
      if (pos == 0) s_.edited = false;
      PlaceCursor();
    }
  }
  if (isExit && s_.valid) {
    // The corrected value is accepted: its refusal, or the module's error
    // it answers, leaves row 25.
    if ((refused_ && Shell().messageShown) || ErrorOnStatusLine()) {
      FullScreenWindow whole(true);
      ClearMessage(area_);
    }
    return true;
  }
  if (Review().active && IsReviewKey(k)) return true;
  if (!isExit) Beep();
  return false;
}

// The field as shown when not edited: in the field colours, off white.
void Editor::Unfocus(const FieldValue& value) {
  if (!readOnly_) {
    ShowField(area_, d_, value, ShowMode::Value);
    return;
  }
  GotoXY(ValueColumn(d_), d_.row);
  FieldText();
  WriteField(ValueDisplayWidth(d_), "<POR DEFINIR>", 0, false);
  NormalText();
}

void Editor::Finish(FieldValue& value, bool store) {
  if (readOnly_ || !store) {
    Unfocus(value);
    if (FieldEditorHooks().setFieldChanged) FieldEditorHooks().setFieldChanged(area_, false);
    return;
  }
  if ((d_.kind == kKindAlnum || d_.kind == kKindText) && s_.text.size() > 1) {
    const size_t a = s_.text.find_first_not_of(' ');
    const size_t b = s_.text.find_last_not_of(' ');
    s_.text = a == std::string::npos ? std::string() : s_.text.substr(a, b - a + 1);
  }
  ParseFieldValue(value, d_, s_.text);
  Unfocus(value);
  const bool changed = s_.text != FieldEditor().entryText;
  const FieldHooks& h = FieldEditorHooks();
  if (h.setFieldChanged) h.setFieldChanged(area_, changed);
  if (changed && d_.kind != kKindCode && h.markChanged) h.markChanged(area_);
}

uint8_t Editor::Run(FieldValue& value, const KeySet& exitKeys) {
  s_.text = FormatFieldValue(area_, value, d_, false);
  if (IsDate() && s_.text.empty()) s_.text = kDateTemplate;
  FieldEditor().entryText = s_.text;
  const FieldHooks& h = FieldEditorHooks();
  readOnly_ = h.quantityUndefined && h.quantityUndefined(area_, d_.label);
  if (readOnly_) s_.text.clear();
  Draw();
  uint8_t pending = 0;
  for (;;) {
    uint8_t k = pending ? pending : GetKey();
    pending = 0;
    int clicked = 0;
    if (k == kKeyFieldClick && !readOnly_ && ClickedOnField(d_, false, clicked)) {
      const int len = static_cast<int>(s_.text.size());
      const int pos = std::min(clicked, len);
      SetCursor(IsDate() ? pos - pos / 3 : pos);
      s_.edited = true;
      PlaceCursor();
      continue;
    }
    if (d_.upperCase == 1) k = UpperChar(k);
    if (readOnly_) {
      if (exitKeys.Has(k) || k == kKeyFieldClick || (Review().active && IsReviewKey(k))) {
        Finish(value, false);
        return k;
      }
      Beep();
      continue;
    }
    switch (k) {
      case kKeyBackspace:
        Backspace();
        continue;
      case kKeyDelete:
        Delete();
        continue;
      case kKeyLeft:
        if (s_.cursor < 1)
          Beep();
        else
          SetCursor(s_.cursor - 1);
        PlaceCursor();
        continue;
      case kKeyRight:
        if (ScreenPos() < static_cast<int>(s_.text.size()) && s_.cursor < TypedLength())
          SetCursor(s_.cursor + 1);
        else
          Beep();
        s_.edited = true;
        Draw();
        continue;
      case kKeyF11:
      case kKeyCtrlY:
        s_.text = EmptyText();
        SetCursor(0);
        Draw();
        continue;
      case kKeyF12:
        s_.text = FieldEditor().entryText;
        SetCursor(0);
        s_.edited = true;
        Draw();
        continue;
      case kKeyF1:
        ListKey(pending);
        continue;
      case kKeyCtrlF1:
        FieldHelpKey(area_);
        PlaceCursor();
        continue;
      case kKeyInsert:
        if (area_ == 3 || area_ == 4) ShowCostWindow(area_, s_.text != FieldEditor().entryText);
        PlaceCursor();
        continue;
      default:
        break;
    }
    if (k == kKeyF3 && h.toggleTenderCode) {
      h.toggleTenderCode(area_);
      PlaceCursor();
      continue;
    }
    if (k == kKeyEsc && EscRestores()) continue;
    if (IsPrintableKey(k) && k != kKeyFieldClick) {
      TypeChar(k);
      continue;
    }
    if (TryExit(k, exitKeys)) {
      Finish(value, s_.valid);
      return k;
    }
  }
}

}  // namespace

bool ClickedOnField(const FieldDescriptor& d, bool withLabel, int& screenPos) {
  const ScreenState& sc = Screen();
  const InputState& in = Input();
  const int row = sc.top + d.row - 1;
  const int first = sc.left + ValueColumn(d) - 1;
  const int from = withLabel ? sc.left + d.column - 1 : first;
  const int col = in.mouseCol + 1;
  if (in.mouseRow + 1 != row || col < from || col >= first + ValueDisplayWidth(d)) return false;
  screenPos = col - first;
  return true;
}

bool IsRightClickOn(uint8_t key, const FieldDescriptor& d) {
  int pos = 0;
  return key == kKeyNoZone && Input().noTypedKey && Input().mouseButton == 1 &&
         ClickedOnField(d, true, pos);
}

void EditField(int area, FieldValue& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys) {
  Editor editor(area, d);
  key = editor.Run(value, exitKeys);
}

void EditField(int area, std::string& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys) {
  FieldValue v = value;
  EditField(area, v, d, key, exitKeys);
  if (auto* s = std::get_if<std::string>(&v)) value = *s;
}

void EditField(int area, int16_t& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys) {
  FieldValue v = value;
  EditField(area, v, d, key, exitKeys);
  if (auto* n = std::get_if<int16_t>(&v)) value = *n;
}

void EditField(int area, long double& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys) {
  FieldValue v = value;
  EditField(area, v, d, key, exitKeys);
  if (auto* r = std::get_if<long double>(&v)) value = *r;
}

void FieldHelpKey(int area) {
  if (AreaHelpAllowed(area))
    ShowGeneralMouseHelp();
  else
    Beep();
}

void ShowField(int area, const FieldDescriptor& d, const FieldValue& value, ShowMode mode) {
  if (mode != ShowMode::Value) {
    GotoXY(d.column, d.row);
    NormalText();
    WriteText(d.label);
  }
  if (mode == ShowMode::Label || d.kind == kKindLabel) return;
  std::string text = FormatFieldValue(area, value, d, true);
  if (IsChoiceField(d)) {
    const int16_t* n = std::get_if<int16_t>(&value);
    const int i = n ? *n : 0;
    text = i >= 1 && i <= static_cast<int>(d.choiceTexts->size()) ? (*d.choiceTexts)[i - 1] : "";
  }
  if (d.kind == kKindDate && text.empty()) text = kDateTemplate;
  GotoXY(ValueColumn(d), d.row);
  if (IsChoiceField(d))
    FieldBoldText();
  else
    FieldText();
  WriteField(IsChoiceField(d) ? std::max<int>(d.width, text.size()) : ValueDisplayWidth(d), text, 0,
             false);
  NormalText();
}

}  // namespace vantu
