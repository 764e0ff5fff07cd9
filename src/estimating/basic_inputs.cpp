// Command E: the basic-input price list. A chapter record edits its
// description and group; an item record its description, unit and price,
// whose change dates the price today.
#include "estimating/basic_inputs.h"

#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "estimating/entry_screen.h"
#include "records/area_view.h"
#include "records/codes.h"
#include "records/record_ops.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"
#include "toolkit/field_editor.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"

namespace vantu {

namespace {

constexpr int kArea = 2;
constexpr int kDateColumn = 24;
constexpr int kDateRow = 17;
const std::string kDateLabel = "Fecha d/m/a :";
const std::vector<std::string> kGroupTexts = {"Equipos", "Materiales", "Transportes",
                                              "Mano de Obra"};

FieldDescriptor Field(const char* label, char kind, int width, int row) {
  return MakeField(label, kind, width, 2, row);
}

// Fields 1..6; index 0 unused.
const std::vector<FieldDescriptor>& Fields() {
  static const std::vector<FieldDescriptor> fields = [] {
    std::vector<FieldDescriptor> f(7);
    f[1] = Field("Codigo   (#####)      :", kKindCode, 5, 11);
    f[1].listAreas = "2";
    f[1].minValue = "2";
    f[1].maxValue = "3";
    f[2] = Field("DESCRIPCION CAPITULO  :", kKindText, 35, 8);
    f[3] = Field("     GRUPO            :", kKindInt, 14, 9);
    f[3].minValue = "1";
    f[3].maxValue = "4";
    f[3].choiceCount = 4;
    f[3].choiceTexts = &kGroupTexts;
    f[4] = Field("Descripcion Item      :", kKindText, 35, 13);
    f[5] = Field("Unidad de medida      :", kKindText, 6, 14);
    f[6] = Field("Tarifa,Precio o Costo :", kKindReal, 12, 15);
    f[6].decimals = 2;
    f[6].minValue = "0";
    return f;
  }();
  return fields;
}

class InputsScreen {
 public:
  InputsScreen() {
    screen_.area = kArea;
    screen_.buffer = rec_.data();
    screen_.codeField = &Fields()[1];
    screen_.redraw = [this] { Redraw(); };
  }
  void Run();

 private:
  bool IsChapter() const { return IsChapterCode(Get(rec_, coded::Code)); }
  bool HasRecord() const {
    return Area(kArea).CurrentRecord > 0 && !Get(rec_, coded::Code).empty();
  }
  std::vector<int> Range() const {
    if (!HasRecord()) return {1};
    return IsChapter() ? std::vector<int>{1, 2, 3} : std::vector<int>{1, 4, 5, 6};
  }
  InputRecord Chapter() const;
  FieldValue ValueOf(int n) const;
  void Redraw();
  void ShowDate();
  uint8_t EditAt(int n);
  uint8_t EditGroup();
  void PickDate();
  void Start();

  InputRecord rec_;
  CodedScreen screen_;
};

InputRecord InputsScreen::Chapter() const {
  if (IsChapter() || !HasRecord()) return rec_;
  InputRecord chapter;
  std::string key = ChapterOf(Get(rec_, coded::Code));
  int16_t r = 0;
  FindKey(Area(kArea).Index, r, key);
  if (LastOpOk()) GetRec(Area(kArea).Data, r, chapter.data());
  return chapter;
}

FieldValue InputsScreen::ValueOf(int n) const {
  switch (n) {
    case 1:
      return Get(rec_, coded::Code);
    case 2:
      return Get(Chapter(), input::Description);
    case 3:
      return static_cast<int16_t>(ChapterGroup(Chapter()));
    case 4:
      return Get(rec_, input::Description);
    case 5:
      return Get(rec_, input::Unit);
    default:
      return Get(rec_, input::Price);
  }
}

void InputsScreen::ShowDate() {
  GotoXY(kDateColumn, kDateRow);
  NormalText();
  WriteText(kDateLabel + " ");
  FieldText();
  const std::string date = Get(rec_, coded::CreatedDate);
  WriteText(HasDate(date) ? date : kDateTemplate);
  NormalText();
}

void InputsScreen::Redraw() {
  ShowUsage(kArea);
  for (int row = 8; row <= kDateRow; ++row) {
    GotoXY(1, row);
    ClrEol();
  }
  const bool item = HasRecord() && !IsChapter();
  std::vector<const FieldDescriptor*> zones(6, nullptr);
  for (int n = 1; n <= 6; ++n) {
    if (n >= 4 && !item) continue;
    ShowField(kArea, Fields()[n], ValueOf(n), ShowMode::LabelAndValue);
    if (n == 1 || (n <= 3 && !item) || (n >= 4 && item)) zones[n - 1] = &Fields()[n];
  }
  if (item) ShowDate();
  SetFieldZones(zones);
}

uint8_t InputsScreen::EditGroup() {
  const KeySet exits{kKeyEnter, kKeyDown, kKeyUp, kKeyEsc,  kKeyTab,
                     kKeyF4,    kKeyF5,   kKeyF6, kKeyPgDn, kKeyPgUp};
  const CodedAreaState before = CodedState(kArea);
  const int16_t old = static_cast<int16_t>(ChapterGroup(rec_));
  int16_t group = old == 0 ? int16_t{1} : old;
  bool changed = false;
  const uint8_t key = ChoiceStep(kArea, group, Fields()[3], exits, changed);
  // A chapter without a group keeps none until one is chosen from the list
  // (ChoiceStep ends with Enter only after a choice).
  const bool undecided = old == 0 && key != kKeyEnter;
  if (undecided || group == old || !ChangeChapterGroup(Get(rec_, coded::Code), group)) {
    CodedState(kArea) = before;
    ShowField(kArea, Fields()[3], old, ShowMode::Value);
    return key;
  }
  Set(rec_, input::Group, group);
  CodedState(kArea).changed = true;
  SaveCurrent(kArea, rec_.data(), kKeyEnter);
  return key;
}

uint8_t InputsScreen::EditAt(int n) {
  const KeySet exits{kKeyEnter, kKeyDown, kKeyUp, kKeyEsc,  kKeyTab,
                     kKeyF4,    kKeyF5,   kKeyF6, kKeyPgDn, kKeyPgUp};
  uint8_t key = 0;
  if (n == 1) {
    EnterCode(screen_, key);
    return key;
  }
  if (n == 3) return EditGroup();
  FieldValue value = ValueOf(n);
  EditField(kArea, value, Fields()[n], key, exits);
  ShowField(kArea, Fields()[n], value, ShowMode::Value);
  if (n == 2) Set(rec_, input::Description, std::get<std::string>(value));
  if (n == 4) Set(rec_, input::Description, std::get<std::string>(value));
  if (n == 5) Set(rec_, input::Unit, std::get<std::string>(value));
  if (n == 6) {
    Set(rec_, input::Price, std::get<long double>(value));
    if (CodedState(kArea).fieldChanged) {
      Set(rec_, coded::CreatedDate, TodayShort());
      ShowDate();
    }
  }
  return key;
}

void InputsScreen::PickDate() {
  if (HasRecord() && PickCreatedDate(kArea, rec_, !IsChapter())) ShowDate();
}

// The record the screen starts on: the area's current key, else the first.
void InputsScreen::Start() {
  LoadStartRecord(kArea, rec_.data());
}

void InputsScreen::Run() {
  StartModuleScreen(kArea);
  Start();
  Redraw();
  size_t pos = 0;
  for (;;) {
    std::vector<int> range = Range();
    if (pos >= range.size()) pos = 0;
    const uint8_t key = EditAt(range[pos]);
    range = Range();  // the code field may have brought another record
    if (pos >= range.size()) pos = 0;
    if (key == kKeyF6) {
      PickDate();
      continue;
    }
    if (key == kKeyFieldClick) {
      for (size_t i = 0; i < range.size(); ++i)
        if (range[i] == ClickedFieldNumber()) pos = i;
      continue;
    }
    if (IsRecordKey(key)) {
      if (RecordKey(screen_, key) == RecordAction::kLeave) break;
      pos = 0;
      continue;
    }
    const bool forward = key == kKeyEnter || key == kKeyDown;
    if (forward && pos + 1 == range.size() && range.size() > 1) {
      const CodedAreaState& st = CodedState(kArea);
      if (st.changed || st.unsaved)
        SaveCurrent(kArea, rec_.data(), kKeyEnter);
      else
        MoveRecord(kArea, rec_.data(), true);
      Redraw();
      pos = 0;
      continue;
    }
    if (key == kKeyUp)
      pos = (pos + range.size() - 1) % range.size();
    else if (forward)
      pos = (pos + 1) % range.size();
  }
  FlushWorkArea(kArea);
}

}  // namespace

void BasicInputsCommand() {
  if (!Area(kArea).Data.isOpen) return;
  InputsScreen screen;
  screen.Run();
}

}  // namespace vantu
