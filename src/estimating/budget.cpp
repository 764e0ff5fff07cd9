// Command H: the work budget. The screen shows a chapter (its description)
// or an item (its reference, description, unit, quantity and, while the
// Obra uses them, its tender-document code). Loading an item brings it in
// step with the analysis or subcontract it refers to.
#include "estimating/budget.h"

#include <algorithm>
#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "estimating/budget_items.h"
#include "estimating/budget_panels.h"
#include "estimating/entry_screen.h"
#include "records/area_view.h"
#include "records/codes.h"
#include "records/record_ops.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"
#include "toolkit/field_editor.h"
#include "toolkit/field_hooks.h"
#include "toolkit/key_reader.h"
#include "toolkit/popup_menu.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"

namespace vantu {

namespace {

constexpr int kArea = kAreaBudget;
constexpr int kFirstRow = 8;
constexpr int kDateColumn = 24;
constexpr int kDateRow = 17;
const std::string kDateLabel = "Fecha d/m/a :";
const std::string kUndefined = "<POR DEFINIR>";
const std::string kDeletedReference = " <<< Codigo eliminado usuario >>>";
constexpr int kFieldCount = 7;

// Esc^regresa, CtrlF1^ayuda, F1^ver_lista, F3^Cod.Pliegos, F4^recodifica,
// F5^duplica, F6^fecha, TAB^elimina, F11^borra_dato, F12^recup._dato.
constexpr ButtonSet kBudgetButtons = ButtonsOf({2, 3, 6, 9, 11, 12, 14, 19, 21, 22});

FieldDescriptor Field(const char* label, char kind, int width, int row) {
  return MakeField(label, kind, width, 2, row);
}

// Fields 1..7 and, at index 8, the quantity field of a global item.
const std::vector<FieldDescriptor>& Fields() {
  static const std::vector<FieldDescriptor> fields = [] {
    std::vector<FieldDescriptor> f(9);
    f[1] = Field("Codigo Pres. (#####)  :", kKindCode, 5, 10);
    f[1].listAreas = "6";
    f[1].minValue = "2";
    f[1].maxValue = "3";
    f[2] = Field("DESCRIPCION CAPITULO  :", kKindText, 35, 8);
    f[3] = Field("Codigo Item (#####/#) :", kKindCode, 6, 13);
    f[3].listAreas = "34";
    f[4] = Field("Descripcion Item      :", kKindText, 35, 14);
    f[5] = Field("Unidad de medida      :", kKindText, 6, 15);
    f[6] = Field("Cantidad de Obra      :", kKindReal, 12, 16);
    f[6].decimals = kVariableDecimals;
    f[6].minValue = "0";
    f[7] = Field("<< Codigo Pliegos >>  :", kKindText, 12, 12);
    f[8] = Field("Precio Global         :", kKindReal, 12, 16);
    f[8].decimals = 2;
    f[8].minValue = "0";
    return f;
  }();
  return fields;
}
constexpr int kGlobalQuantity = 8;

// What the hooks of the field editor and the code lists read while the
// screen runs.
struct BudgetModuleState {
  bool active = false;
  BudgetRecord rec;
  // A global code proposed in the reference field, and the text before it.
  bool proposalShown = false;
  std::string beforeProposal;
};
BudgetModuleState gBudget;

class BudgetScreen {
 public:
  BudgetScreen() {
    screen_.area = kArea;
    screen_.buffer = rec_.data();
    screen_.codeField = &Fields()[1];
    screen_.redraw = [this] { Refresh(); };
  }
  void Run();
  void TenderCodesToggled() {
    if (HasRecord()) Redraw();
  }

 private:
  bool HasRecord() const {
    return Area(kArea).CurrentRecord > 0 && !Get(rec_, coded::Code).empty();
  }
  bool IsItem() const { return HasRecord() && !IsChapterCode(Get(rec_, coded::Code)); }
  uint8_t RefType() const { return Get(rec_, budget_item::RefType); }
  bool IsGlobal() const { return IsItem() && RefType() == budget_item::kRefGlobal; }
  bool IsReferenced() const {
    return RefType() == budget_item::kRefAnalysis || RefType() == budget_item::kRefSubcontract;
  }
  bool Undefined() const { return Get(rec_, budget_item::PorDefinir) == 1; }
  const FieldDescriptor& Descriptor(int n) const {
    return Fields()[n == 6 && IsGlobal() ? kGlobalQuantity : n];
  }
  std::vector<int> Range() const;
  BudgetRecord Chapter() const;
  FieldValue ValueOf(int n) const;
  void Refresh();
  void Redraw();
  void ShowQuantity();
  void ShowDate();
  void MarkChanged();
  uint8_t EditAt(int n);
  uint8_t EditRefCode();
  bool ApplyRefCode(const std::string& code);
  void ToggleUndefined(int& field);
  void PickDate();
  void Start();
  bool EndOfRecord(uint8_t key, int field) const;

  BudgetRecord& rec_ = gBudget.rec;
  CodedScreen screen_;
  bool missing_ = false;  // the item's analysis or subcontract is gone
};

// Fields in screen order. The unit of an analysis or subcontract is theirs:
// it is shown, not entered, since the next load copies it again.
std::vector<int> BudgetScreen::Range() const {
  if (!HasRecord()) return {1};
  if (!IsItem()) return {1, 2};
  std::vector<int> r{1};
  if (UsesTenderCodes()) r.push_back(7);
  r.insert(r.end(), {3, 4});
  if (!IsReferenced()) r.push_back(5);
  r.push_back(6);
  return r;
}

BudgetRecord BudgetScreen::Chapter() const {
  if (!IsItem()) return rec_;
  BudgetRecord chapter;
  std::string key = ChapterOf(Get(rec_, coded::Code));
  int16_t r = 0;
  FindKey(Area(kArea).Index, r, key);
  if (LastOpOk()) GetRec(Area(kArea).Data, r, chapter.data());
  return chapter;
}

FieldValue BudgetScreen::ValueOf(int n) const {
  switch (n) {
    case 1:
      return Get(rec_, coded::Code);
    case 2:
      return Get(Chapter(), budget_chapter::Description);
    case 3:
      return Get(rec_, budget_item::RefCode);
    case 4:
      return missing_ ? kDeletedReference : Get(rec_, budget_item::Description);
    case 5:
      return Get(rec_, budget_item::Unit);
    case 6:
      return Get(rec_, budget_item::Quantity);
    default:
      return Get(rec_, budget_item::PliegosCode);
  }
}

// Each time the current record changes: an item is brought in step with
// its analysis or subcontract before it is shown.
void BudgetScreen::Refresh() {
  missing_ = false;
  if (IsItem()) missing_ = SyncItemReference(rec_, Area(kArea).CurrentRecord) == RefSync::kMissing;
  Redraw();
}

void BudgetScreen::ShowQuantity() {
  const FieldDescriptor& d = Descriptor(6);
  ShowField(kArea, d, ValueOf(6), ShowMode::LabelAndValue);
  if (!Undefined() || IsGlobal()) return;
  GotoXY(ValueColumn(d), d.row);
  FieldText();
  std::string text = kUndefined;
  text.resize(static_cast<size_t>(std::max<int>(ValueDisplayWidth(d), text.size())), ' ');
  WriteText(text);
  NormalText();
}

void BudgetScreen::ShowDate() {
  GotoXY(kDateColumn, kDateRow);
  NormalText();
  WriteText(kDateLabel + " ");
  FieldText();
  const std::string date = Get(rec_, coded::CreatedDate);
  WriteText(HasDate(date) ? date : kDateTemplate);
  NormalText();
}

void BudgetScreen::Redraw() {
  ShowUsage(kArea);
  for (int row = kFirstRow; row <= kDateRow; ++row) {
    GotoXY(1, row);
    ClrEol();
  }
  std::vector<const FieldDescriptor*> zones(kFieldCount, nullptr);
  const std::vector<int> range = Range();
  ShowField(kArea, Fields()[1], ValueOf(1), ShowMode::LabelAndValue);
  if (HasRecord()) ShowField(kArea, Fields()[2], ValueOf(2), ShowMode::LabelAndValue);
  if (IsItem()) {
    for (int n : {3, 4, 5, 7}) {
      if (n == 7 && !UsesTenderCodes()) continue;
      ShowField(kArea, Fields()[n], ValueOf(n), ShowMode::LabelAndValue);
    }
    ShowQuantity();
    ShowDate();
  }
  for (int n : range) zones[static_cast<size_t>(n - 1)] = &Descriptor(n);
  SetFieldZones(zones);
}

void BudgetScreen::MarkChanged() {
  MarkRecordChanged(kArea);
}

// The reference field: a new code prices the item, a global code makes it
// a lump sum; a right click offers the global code.
uint8_t BudgetScreen::EditRefCode() {
  const KeySet exits{kKeyEnter, kKeyDown, kKeyUp,   kKeyEsc,  kKeyTab,     kKeyF4,    kKeyF5,
                     kKeyF6,    kKeyF8,   kKeyPgDn, kKeyPgUp, kKeyCtrlF12, kKeyNoZone};
  const std::string old = Get(rec_, budget_item::RefCode);
  std::string text = old;
  uint8_t key = 0;
  FieldEditor().secondaryCodeMode = true;
  for (;;) {
    EditField(kArea, text, Fields()[3], key, exits);
    if (IsRightClickOn(key, Fields()[3])) {
      const int chosen =
          RunPopupMenu("... codigo ofrecido ...", {" Codigo Item Global ", " Cancelar           "},
                       30, 8, "Esc^no_acepta Intro^acepta");
      if (chosen == 0) {
        gBudget.proposalShown = true;
        gBudget.beforeProposal = text;
        text = "000000";
      }
      continue;
    }
    if (key == kKeyNoZone) continue;
    gBudget.proposalShown = false;
    const RefKind kind = ClassifyRefCode(text);
    const bool unchanged = text.empty() || text == old ||
                           (kind == RefKind::kGlobal && IsGlobal() && text + "0" == old);
    if (unchanged) break;
    // A chapter-length code is edited again.
    if (kind == RefKind::kChapter && !IsRecordKey(key)) continue;
    if (kind != RefKind::kChapter && kind != RefKind::kInvalid && ApplyRefCode(text)) break;
    // Leaving the record drops a code that cannot be used.
    if (IsRecordKey(key)) break;
    ShowError("Codigo Inexistente");
  }
  FieldEditor().secondaryCodeMode = false;
  ShowField(kArea, Fields()[3], ValueOf(3), ShowMode::Value);
  return key;
}

// True when the code was taken; the record is then saved.
bool BudgetScreen::ApplyRefCode(const std::string& code) {
  const RefKind kind = ClassifyRefCode(code);
  if (kind == RefKind::kGlobal) {
    MakeGlobalItem(rec_, code);
  } else if (!PriceItemWith(rec_, code)) {
    return false;
  }
  missing_ = false;
  MarkChanged();
  SaveCurrent(kArea, rec_.data(), kKeyEnter);
  Redraw();
  return true;
}

uint8_t BudgetScreen::EditAt(int n) {
  const KeySet exits{kKeyEnter, kKeyDown, kKeyUp, kKeyEsc,  kKeyTab,  kKeyF4,
                     kKeyF5,    kKeyF6,   kKeyF8, kKeyPgDn, kKeyPgUp, kKeyCtrlF12};
  uint8_t key = 0;
  if (n == 1) {
    EnterCode(screen_, key);
    return key;
  }
  if (n == 3) return EditRefCode();
  const FieldDescriptor& d = Descriptor(n);
  FieldValue value = ValueOf(n);
  EditField(kArea, value, d, key, exits);
  if (!CodedState(kArea).fieldChanged) {
    if (n == 6) ShowQuantity();
    return key;
  }
  ShowField(kArea, d, value, ShowMode::Value);
  const std::string* text = std::get_if<std::string>(&value);
  switch (n) {
    case 2:
      Set(rec_, budget_chapter::Description, *text);
      break;
    case 4:
      Set(rec_, budget_item::Description, *text);
      // The item and its analysis or subcontract keep one description.
      if (IsReferenced() && !missing_) WriteBackDescription(rec_);
      break;
    case 5:
      Set(rec_, budget_item::Unit, *text);
      break;
    case 6:
      Set(rec_, budget_item::Quantity, std::get<long double>(value));
      Set(rec_, coded::CreatedDate, TodayShort());
      ShowDate();
      break;
    default:
      Set(rec_, budget_item::PliegosCode, *text);
      break;
  }
  return key;
}

// F8: the quantity becomes "<POR DEFINIR>" or is entered again.
void BudgetScreen::ToggleUndefined(int& field) {
  if (!IsItem() || IsGlobal() || field < 3) {
    Beep();
    return;
  }
  if (!TogglePorDefinir(rec_)) field = 6;
  MarkChanged();
  ShowQuantity();
}

void BudgetScreen::PickDate() {
  if (HasRecord() && PickCreatedDate(kArea, rec_, IsItem())) ShowDate();
}

// The record the screen starts on: the area's current key, else the first.
void BudgetScreen::Start() {
  LoadStartRecord(kArea, rec_.data());
}

bool BudgetScreen::EndOfRecord(uint8_t key, int field) const {
  const std::vector<int> range = Range();
  return (key == kKeyEnter || key == kKeyDown) && range.size() > 1 && field == range.back();
}

void BudgetScreen::Run() {
  StartModuleScreen(kArea);
  ShowStandardButtons(kBudgetButtons);
  Start();
  Refresh();
  int field = 1;
  for (;;) {
    std::vector<int> range = Range();
    if (std::find(range.begin(), range.end(), field) == range.end()) field = 1;
    const bool buttons = IsItem() && !IsGlobal() && field >= 3;
    ShowItemButtons(buttons);
    const uint8_t key = EditAt(field);
    if (buttons) ShowItemButtons(false);
    range = Range();  // the code field may have brought another record
    auto pos = std::find(range.begin(), range.end(), field);
    if (pos == range.end()) {
      field = 1;
      pos = range.begin();
    }
    if (key == kKeyF6) {
      PickDate();
    } else if (key == kKeyF8) {
      ToggleUndefined(field);
    } else if (key == kKeyCtrlF12) {
      if (buttons)
        ShowPorDefinirExplanation();
      else
        Beep();
    } else if (key == kKeyFieldClick) {
      const int clicked = ClickedFieldNumber();
      if (std::find(range.begin(), range.end(), clicked) != range.end()) field = clicked;
    } else if (IsRecordKey(key)) {
      if (RecordKey(screen_, key) == RecordAction::kLeave) break;
      field = 1;
    } else if (EndOfRecord(key, field)) {
      const CodedAreaState& st = CodedState(kArea);
      if (st.changed || st.unsaved) {
        SaveCurrent(kArea, rec_.data(), kKeyEnter);
      } else {
        MoveRecord(kArea, rec_.data(), true);
        Refresh();
      }
      field = 1;
    } else if (key == kKeyUp) {
      field = pos == range.begin() ? range.back() : *(pos - 1);
    } else if (key == kKeyEnter || key == kKeyDown) {
      field = pos + 1 == range.end() ? range.front() : *(pos + 1);
    }
  }
  FlushWorkArea(kArea);
}

BudgetScreen* gScreen = nullptr;

// F3 belongs to this screen only while it runs: elsewhere it stays an
// ordinary key of the field editor.
class TenderKeyScope {
 public:
  explicit TenderKeyScope(BudgetScreen& s) {
    gScreen = &s;
    gBudget.active = true;
    FieldEditorHooks().toggleTenderCode = [](int area) {
      if (area != kArea || gScreen == nullptr) return;
      ToggleTenderCodes();
      gScreen->TenderCodesToggled();
    };
  }
  ~TenderKeyScope() {
    FieldEditorHooks().toggleTenderCode = nullptr;
    gScreen = nullptr;
    gBudget = BudgetModuleState{};
  }
};

}  // namespace

void BudgetCommand() {
  if (!Area(kArea).Data.isOpen) {
    ShowError(" Cargue una Obra ");
    return;
  }
  BudgetScreen screen;
  TenderKeyScope scope(screen);
  screen.Run();
}

bool BudgetQuantityUndefined(int area, const std::string& label) {
  return gBudget.active && area == kArea && label == Fields()[6].label &&
         Get(gBudget.rec, budget_item::PorDefinir) == 1;
}

std::optional<std::string> BudgetWithdrawProposal(int area, const std::string& label) {
  if (!gBudget.active || area != kArea || label != Fields()[3].label || !gBudget.proposalShown)
    return std::nullopt;
  gBudget.proposalShown = false;
  return gBudget.beforeProposal;
}

std::optional<CaptureTarget> BudgetCaptureTarget(int area) {
  if (!gBudget.active || area != kArea || !FieldEditor().secondaryCodeMode) return std::nullopt;
  CaptureTarget t;
  t.area = kArea;
  t.currentCode = Get(gBudget.rec, budget_item::RefCode);
  return t;
}

void ResetBudgetModule() {
  gBudget = BudgetModuleState{};
  gScreen = nullptr;
}

}  // namespace vantu
