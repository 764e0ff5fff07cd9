// Command G: a chapter edits its description and entry mode; a
// subcontract its description, unit, four group amounts (values, or
// percentages of the direct cost) and the direct cost.
#include "estimating/subcontracts.h"

#include <array>
#include <vector>

#include "calc/cost_view.h"
#include "console/console.h"
#include "console/keys.h"
#include "estimating/entry_screen.h"
#include "estimating/subcontract_split.h"
#include "platform/platform.h"
#include "records/area_view.h"
#include "records/codes.h"
#include "records/record_ops.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"
#include "toolkit/field_editor.h"
#include "toolkit/field_format.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"

namespace vantu {

namespace {

constexpr int kArea = kAreaSubcontracts;
enum Field { kCode = 1, kChapter, kMode, kItem, kUnit, kFirstGroup, kLastGroup = 9, kDirect };
constexpr int kDateColumn = 2, kDateRow = 20;
std::string UnbalancedText() {
  return " La suma de porcentajes debe ser " + ShownDecimal("100.00") + " ";
}
const std::vector<std::string> kModeTexts = {"Porcentajes", "Valores"};

const std::array<ExtField<SubcontractRecord>, 4> kValueFields = {
    subcontract::EquiposValue, subcontract::MaterialesValue, subcontract::TransportesValue,
    subcontract::ManoDeObraValue};

// Fields 1..10 with the values (index 0 unused), and the four percentage
// fields that stand in for 6-9 in percentages mode.
struct Descriptors {
  std::vector<FieldDescriptor> fields = std::vector<FieldDescriptor>(kDirect + 1);
  std::array<FieldDescriptor, 4> percent;
};

FieldDescriptor Money(const char* label, int row) {
  FieldDescriptor d = MakeField(label, kKindReal, 12, 2, row);
  d.decimals = 2;
  return d;
}

const Descriptors& Fields() {
  static const Descriptors d = [] {
    Descriptors x;
    auto& f = x.fields;
    f[kCode] = MakeField("Codigo   (#####)      :", kKindCode, 5, 2, 10);
    f[kCode].listAreas = "4";
    f[kCode].minValue = "2";
    f[kCode].maxValue = "3";
    f[kChapter] = MakeField("DESCRIPCION CAPITULO  :", kKindText, 35, 2, 7);
    f[kMode] = MakeField("  ENTRADA POR         :", kKindInt, 13, 2, 8);
    f[kMode].minValue = "1";
    f[kMode].maxValue = "2";
    f[kMode].choiceCount = 2;
    f[kMode].choiceTexts = &kModeTexts;
    f[kItem] = MakeField("Descripcion Item      :", kKindText, 35, 2, 12);
    f[kUnit] = MakeField("Unidad de medida      :", kKindText, 6, 2, 13);
    const char* groups[] = {"  Equipos       ", "  Materiales    ", "  Transportes   ",
                            "  Mano de Obra  "};
    for (int g = 0; g < 4; ++g) {
      f[kFirstGroup + g] = Money((std::string(groups[g]) + "( $ ) :").c_str(), 14 + g);
      x.percent[g] = MakeField(std::string(groups[g]) + "( % ) :", kKindReal, 6, 2, 14 + g);
      x.percent[g].decimals = 2;
    }
    f[kDirect] = Money("Costo  Directo  ====> :", 18);
    return x;
  }();
  return d;
}

const KeySet& Exits() {
  static const KeySet keys{kKeyEnter, kKeyDown, kKeyUp, kKeyEsc,  kKeyTab,
                           kKeyF4,    kKeyF5,   kKeyF6, kKeyPgDn, kKeyPgUp};
  return keys;
}

class SubcontractsScreen;
SubcontractsScreen* gScreen = nullptr;

class SubcontractsScreen {
 public:
  SubcontractsScreen() {
    screen_.area = kArea;
    screen_.buffer = rec_.data();
    screen_.codeField = &Fields().fields[kCode];
    screen_.redraw = [this] {
      LoadShares();
      Redraw();
    };
  }
  void Run();
  bool HasRecord() const {
    return Area(kArea).CurrentRecord > 0 && !Get(rec_, coded::Code).empty();
  }
  bool IsChapter() const { return HasRecord() && IsChapterCode(Get(rec_, coded::Code)); }
  bool Unbalanced() const {
    return ByPercentages() && splitEdited_ && !PercentagesBalanced(pct_, Base());
  }
  const SubcontractRecord& Record() const { return rec_; }
  // The cost of the subcontract as the screen shows it: written first (its
  // values derived) unless its percentages do not add up.
  CostOutcome Cost() {
    if (!HasRecord() || IsChapter()) return {};
    if (!Unbalanced() && SettleRecord()) SaveCurrent(kArea, rec_.data(), kKeyEnter);
    return {PriceSubcontractNow(Area(kArea).CurrentRecord).directCost, false};
  }

 private:
  long double Direct() const { return Get(rec_, subcontract::DirectCost); }
  long double Base() const;
  SubcontractRecord Chapter() const;
  bool ByPercentages() const {
    return HasRecord() && Get(Chapter(), subcontract::EntryMode) == subcontract::kByPercentages;
  }
  std::vector<int> Range() const {
    if (!HasRecord()) return {kCode};
    if (IsChapter()) return {kCode, kChapter, kMode};
    return {kCode,           kItem,           kUnit,      kFirstGroup,
            kFirstGroup + 1, kFirstGroup + 2, kLastGroup, kDirect};
  }
  const FieldDescriptor& Descriptor(int n) const {
    if (n >= kFirstGroup && n <= kLastGroup && ByPercentages())
      return Fields().percent[n - kFirstGroup];
    return Fields().fields[n];
  }
  FieldValue ValueOf(int n) const;
  void Store(int n, const FieldValue& v);
  void LoadShares();
  void Redraw();
  void ShowDate();
  void PickDate();
  uint8_t EditAt(int n);
  uint8_t EditMode();
  bool SettleRecord();
  void LeaveUnbalanced();
  void Start();

  SubcontractRecord rec_;
  GroupAmounts pct_{};  // percentages mode: what the user sees and types
  // Percentages mode: a percentage or the direct cost was changed on this
  // visit of the record, so the values are derived again when it is left.
  bool splitEdited_ = false;
  bool directEdited_ = false;
  CodedScreen screen_;
};

SubcontractRecord SubcontractsScreen::Chapter() const {
  if (IsChapter() || !HasRecord()) return rec_;
  SubcontractRecord chapter;
  std::string key = ChapterOf(Get(rec_, coded::Code));
  int16_t r = 0;
  FindKey(Area(kArea).Index, r, key);
  if (LastOpOk()) GetRec(Area(kArea).Data, r, chapter.data());
  return chapter;
}

FieldValue SubcontractsScreen::ValueOf(int n) const {
  switch (n) {
    case kCode:
      return Get(rec_, coded::Code);
    case kChapter:
      return Get(Chapter(), subcontract::Description);
    case kMode:
      return static_cast<int16_t>(Get(Chapter(), subcontract::EntryMode) + 1);
    case kItem:
      return Get(rec_, subcontract::Description);
    case kUnit:
      return Get(rec_, subcontract::Unit);
    case kDirect:
      return Direct();
    default:
      return ByPercentages() ? pct_[n - kFirstGroup] : Get(rec_, kValueFields[n - kFirstGroup]);
  }
}

void SubcontractsScreen::Store(int n, const FieldValue& v) {
  if (n == kChapter || n == kItem) Set(rec_, subcontract::Description, std::get<std::string>(v));
  if (n == kUnit) Set(rec_, subcontract::Unit, std::get<std::string>(v));
  if (n == kDirect) Set(rec_, subcontract::DirectCost, std::get<long double>(v));
  if (n < kFirstGroup || n > kLastGroup) return;
  if (ByPercentages())
    pct_[n - kFirstGroup] = std::get<long double>(v);
  else
    Set(rec_, kValueFields[n - kFirstGroup], std::get<long double>(v));
}

// A stored split shown in percentages mode: each value's share of their
// total, which is the direct cost as entered (the calculation later stores
// the cost with the adjustment factors in the record's direct cost).
void SubcontractsScreen::LoadShares() {
  GroupAmounts values{};
  for (int g = 0; g < 4; ++g) values[g] = Get(rec_, kValueFields[g]);
  pct_ = SharesOf(values);
  splitEdited_ = directEdited_ = false;
}

// What the percentages split: the direct cost typed on this visit, else the
// total of the stored values, else the stored direct cost.
long double SubcontractsScreen::Base() const {
  long double total = 0;
  for (int g = 0; g < 4; ++g) total += Get(rec_, kValueFields[g]);
  return directEdited_ || total == 0 ? Direct() : total;
}

void SubcontractsScreen::ShowDate() {
  GotoXY(kDateColumn, kDateRow);
  NormalText();
  WriteText("Fecha d/m/a : ");
  FieldText();
  const std::string date = Get(rec_, coded::CreatedDate);
  WriteText(HasDate(date) ? date : kDateTemplate);
  NormalText();
}

void SubcontractsScreen::Redraw() {
  ShowUsage(kArea);
  for (int row = 7; row <= kDateRow; ++row) {
    GotoXY(1, row);
    ClrEol();
  }
  const bool item = HasRecord() && !IsChapter();
  std::vector<const FieldDescriptor*> zones(kDirect, nullptr);
  for (int n = kCode; n <= kDirect; ++n) {
    if (n >= kItem && !item) continue;
    ShowField(kArea, Descriptor(n), ValueOf(n), ShowMode::LabelAndValue);
    if (n == kCode || (n <= kMode && !item) || (n >= kItem && item)) zones[n - 1] = &Descriptor(n);
  }
  if (item) ShowDate();
  SetFieldZones(zones);
}

uint8_t SubcontractsScreen::EditMode() {
  int16_t choice = std::get<int16_t>(ValueOf(kMode));
  bool changed = false;
  const uint8_t key = ChoiceStep(kArea, choice, Fields().fields[kMode], Exits(), changed);
  if (changed) {
    Set(rec_, subcontract::EntryMode, static_cast<int16_t>(choice - 1));
    MarkRecordChanged(kArea);
  }
  return key;
}

uint8_t SubcontractsScreen::EditAt(int n) {
  uint8_t key = 0;
  if (n == kCode) {
    EnterCode(screen_, key);
    return key;
  }
  if (n == kMode) return EditMode();
  FieldValue value = ValueOf(n);
  EditField(kArea, value, Descriptor(n), key, Exits());
  ShowField(kArea, Descriptor(n), value, ShowMode::Value);
  Store(n, value);
  if (n >= kFirstGroup && CodedState(kArea).fieldChanged && ByPercentages()) {
    splitEdited_ = true;
    directEdited_ = directEdited_ || n == kDirect;
  }
  if (n >= kFirstGroup && CodedState(kArea).fieldChanged) {
    Set(rec_, coded::CreatedDate, TodayShort());
    ShowDate();
  }
  return key;
}

// Before a key leaves the record: percentages changed on this visit must
// add up (false sends the cursor back to the first of them), and the values
// follow from them; a split only looked at is left as stored.
bool SubcontractsScreen::SettleRecord() {
  if (!HasRecord() || IsChapter()) return true;
  if (ByPercentages()) {
    if (!splitEdited_) return true;
    if (Unbalanced()) {
      ShowError(UnbalancedText());
      return false;
    }
    const long double base = Base();
    const GroupAmounts values = SplitDirectCost(pct_, base);
    for (int g = 0; g < 4; ++g) {
      if (values[g] == Get(rec_, kValueFields[g])) continue;
      Set(rec_, kValueFields[g], values[g]);
      CodedState(kArea).unsaved = true;
    }
    if (Direct() != base) {
      Set(rec_, subcontract::DirectCost, base);
      CodedState(kArea).unsaved = true;
    }
  } else if (Direct() == 0) {
    for (int g = 0; g < 4; ++g) {
      if (Get(rec_, kValueFields[g]) == 0) continue;
      Set(rec_, kValueFields[g], 0.0L);
      CodedState(kArea).unsaved = true;
    }
  }
  return true;
}

// Esc, which the menu's commands also send, is never refused: percentages
// that do not add up are dropped with the record's other unsaved changes,
// and the message says why. The keys waiting after it are kept.
void SubcontractsScreen::LeaveUnbalanced() {
  ShowStatusMessage(UnbalancedText());
  Host().Beep();
  LoadCurrent(kArea, rec_.data());
  CodedState(kArea) = CodedAreaState{};
}

void SubcontractsScreen::PickDate() {
  if (HasRecord() && PickCreatedDate(kArea, rec_, !IsChapter())) ShowDate();
}

void SubcontractsScreen::Start() {
  LoadStartRecord(kArea, rec_.data());
  LoadShares();
}

void SubcontractsScreen::Run() {
  StartModuleScreen(kArea);
  Start();
  Redraw();
  size_t pos = 0;
  for (;;) {
    std::vector<int> range = Range();
    if (pos >= range.size()) pos = 0;
    const uint8_t key = EditAt(range[pos]);
    range = Range();
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
    if (key == kKeyEsc && Unbalanced()) {
      LeaveUnbalanced();
      break;
    }
    const bool forward = key == kKeyEnter || key == kKeyDown;
    const bool last = forward && pos + 1 == range.size() && range.size() > 1;
    if ((IsRecordKey(key) || last) && !SettleRecord()) {
      pos = 3;  // the first percentage
      continue;
    }
    if (IsRecordKey(key)) {
      if (RecordKey(screen_, key) == RecordAction::kLeave) break;
      pos = 0;
      continue;
    }
    if (last) {
      const CodedAreaState& st = CodedState(kArea);
      if (st.changed || st.unsaved) {
        SaveCurrent(kArea, rec_.data(), kKeyEnter);
      } else {
        MoveRecord(kArea, rec_.data(), true);
        LoadShares();
      }
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

struct ScreenScope {
  explicit ScreenScope(SubcontractsScreen* s) { gScreen = s; }
  ~ScreenScope() { gScreen = nullptr; }
};

}  // namespace

void SubcontractsCommand() {
  if (!Area(kArea).Data.isOpen) return;
  SubcontractsScreen screen;
  ScreenScope scope(&screen);
  screen.Run();
}

std::optional<SubcontractRecord> SubcontractOnScreen() {
  if (gScreen == nullptr) return std::nullopt;
  return gScreen->Record();
}

bool SubcontractScreenOnChapter() {
  return gScreen != nullptr && gScreen->IsChapter();
}

bool SubcontractPercentagesUnbalanced() {
  return gScreen != nullptr && gScreen->Unbalanced();
}

CostOutcome SubcontractScreenCost() {
  if (gScreen == nullptr) return {};
  return gScreen->Cost();
}

void ResetSubcontractsModule() {
  gScreen = nullptr;
}

}  // namespace vantu
