// Command F: the unit price analyses. A chapter record edits its
// description; an analysis its description, unit, minor tools and waste
// percentages, and its lines in four sections.
#include "estimating/analyses.h"

#include "calc/cost_view.h"
#include "console/console.h"
#include "console/keys.h"
#include "estimating/analyses_screen.h"
#include "estimating/analysis_globals.h"
#include "estimating/entry_screen.h"
#include "records/area_view.h"
#include "records/codes.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"
#include "toolkit/field_editor.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"

namespace vantu {

namespace {

constexpr int kArea = kAreaAnalyses;
AnalysesScreen* gScreen = nullptr;

// Fields 1..6; index 0 unused.
const std::vector<FieldDescriptor>& Fields() {
  static const std::vector<FieldDescriptor> fields = [] {
    std::vector<FieldDescriptor> f(kFieldLines);
    f[kFieldCode] = MakeField("Codigo :", kKindCode, 6, 1, 4);
    f[kFieldCode].listAreas = "3";
    f[kFieldCode].minValue = "2";
    f[kFieldCode].maxValue = "4";
    f[kFieldChapter] = MakeField("CAPITULO:", kKindText, 35, 18, 3);
    f[kFieldItem] = MakeField("I t e m :", kKindText, 35, 18, 4);
    f[kFieldUnit] = MakeField("Unidad:", kKindText, 6, 66, 4);
    f[kFieldTools] = MakeField("Herramienta Menor (%):", kKindReal, 5, 18, 5);
    f[kFieldTools].decimals = 2;
    f[kFieldWaste] = MakeField("Desperdicio (%):", kKindReal, 5, 57, 5);
    f[kFieldWaste].decimals = 2;
    return f;
  }();
  return fields;
}

const KeySet& FieldExits() {
  static const KeySet keys{kKeyEnter, kKeyDown, kKeyUp,   kKeyEsc, kKeyTab,
                           kKeyF4,    kKeyF5,   kKeyPgDn, kKeyPgUp};
  return keys;
}

// Sets the screen pointer for the time the command runs.
struct ScreenScope {
  explicit ScreenScope(AnalysesScreen* s) { gScreen = s; }
  ~ScreenScope() { gScreen = nullptr; }
};

}  // namespace

AnalysesScreen::AnalysesScreen() {
  screen_.area = kArea;
  screen_.buffer = rec_.data();
  screen_.codeField = &Fields()[kFieldCode];
  screen_.redraw = [this] {
    Load();
    Redraw();
  };
}

bool AnalysesScreen::HasRecord() const {
  return Area(kArea).CurrentRecord > 0 && !Get(rec_, coded::Code).empty();
}

bool AnalysesScreen::OnChapter() const {
  return HasRecord() && IsChapterCode(Get(rec_, coded::Code));
}

std::vector<int> AnalysesScreen::Range() const {
  if (!HasRecord()) return {kFieldCode};
  if (OnChapter()) return {kFieldCode, kFieldChapter};
  return {kFieldCode, kFieldItem, kFieldUnit, kFieldTools, kFieldWaste, kFieldLines};
}

AnalysisRecord AnalysesScreen::Current() {
  if (HasRecord() && !OnChapter()) StoreLines(rec_, lines_);
  return rec_;
}

// The analysis is written first, so that the lines on the screen (and the
// prices of new global lines) are what the cost rules price.
CostOutcome AnalysesScreen::Cost() {
  if (!HasRecord() || OnChapter()) return {};
  Save();
  const AnalysisView v = PriceAnalysisNow(Area(kArea).CurrentRecord);
  return {v.priced ? v.costs.directCost : 0, v.circular};
}

CaptureTarget AnalysesScreen::Target() const {
  CaptureTarget t;
  t.area = kArea;
  t.ownCode = Get(rec_, coded::Code);
  t.lineGroup = editing_.group;
  for (const std::string& c : lines_.OtherCodes(editing_.group, editing_.index))
    if (ClassifyLineCode(c) != LineType::kGlobal) t.lineCodes.push_back(c);
  if (editing_.index < lines_.Count(editing_.group))
    t.currentCode = CodeOf(lines_.lines[editing_.group][editing_.index]);
  return t;
}

FieldValue AnalysesScreen::ValueOf(int n) const {
  switch (n) {
    case kFieldCode:
      return Get(rec_, coded::Code);
    case kFieldChapter: {
      if (OnChapter() || !HasRecord()) return Get(rec_, analysis::Description);
      AnalysisRecord chapter;
      std::string key = ChapterOf(Get(rec_, coded::Code));
      int16_t r = 0;
      FindKey(Area(kArea).Index, r, key);
      if (LastOpOk()) GetRec(Area(kArea).Data, r, chapter.data());
      return Get(chapter, analysis::Description);
    }
    case kFieldItem:
      return Get(rec_, analysis::Description);
    case kFieldUnit:
      return Get(rec_, analysis::Unit);
    case kFieldTools:
      return Get(rec_, analysis::HerramientaMenorPct);
    default:
      return Get(rec_, analysis::DesperdicioPct);
  }
}

void AnalysesScreen::MarkChanged() {
  MarkRecordChanged(kArea);
  RecordOps().crossReviewNeeded = true;
}

// The record just loaded: its lines and their display data, repaired
// references and a new analysis's sections make it unsaved.
void AnalysesScreen::Load() {
  released_.clear();
  lines_ = AnalysisLines{};
  if (!HasRecord() || OnChapter()) return;
  const AnalysisRecord before = rec_;
  lines_ = LinesOf(rec_);
  const bool repaired = ResolveLines(lines_, Get(rec_, coded::Code));
  StoreLines(rec_, lines_);
  if (repaired) MarkChanged();
  if (rec_.bytes != before.bytes) CodedState(kArea).unsaved = true;
}

void AnalysesScreen::Redraw() {
  ShowUsage(kArea);
  for (int row = 3; row <= 24; ++row) {
    GotoXY(1, row);
    ClrEol();
  }
  const bool item = HasRecord() && !OnChapter();
  std::vector<const FieldDescriptor*> zones(kFieldLines - 1, nullptr);
  for (int n = kFieldCode; n < kFieldLines; ++n) {
    if (n >= kFieldItem && !item) continue;
    ShowField(kArea, Fields()[n], ValueOf(n), ShowMode::LabelAndValue);
    if (n == kFieldCode || (n == kFieldChapter && !item) || (n >= kFieldItem && item))
      zones[n - 1] = &Fields()[n];
  }
  SetFieldZones(zones);
  if (!item) return;
  AddFieldZone(kFieldLines, 1, 80, kFirstSectionRow, kLastSectionRow);
  DrawSections();
}

// While an added or recodified analysis is not saved, it is dated today.
void AnalysesScreen::StampNewRecord() {
  if (!newRecord_ || !HasRecord() || OnChapter()) return;
  if (Get(rec_, coded::CreatedDate) == TodayShort()) return;
  Set(rec_, coded::CreatedDate, TodayShort());
  CodedState(kArea).unsaved = true;
}

void AnalysesScreen::Save() {
  const CodedAreaState& st = CodedState(kArea);
  if (!HasRecord() || !(st.changed || st.unsaved)) return;
  if (!OnChapter()) {
    WriteGlobalLines(lines_, Get(rec_, coded::Code), Get(rec_, analysis::Description), released_);
    StoreLines(rec_, lines_);
  }
  SaveCurrent(kArea, rec_.data(), kKeyEnter);
  ReleaseGlobalRecords(released_);
  released_.clear();
  newRecord_ = false;
}

uint8_t AnalysesScreen::EditCode() {
  Save();
  const int before = UsedRecordCount(Area(kArea).Data);
  uint8_t key = 0;
  EnterCode(screen_, key);
  if (UsedRecordCount(Area(kArea).Data) > before) newRecord_ = true;
  return key;
}

uint8_t AnalysesScreen::EditAt(int n) {
  if (n == kFieldCode) return EditCode();
  uint8_t key = 0;
  FieldValue value = ValueOf(n);
  EditField(kArea, value, Fields()[n], key, FieldExits());
  ShowField(kArea, Fields()[n], value, ShowMode::Value);
  if (n == kFieldChapter || n == kFieldItem)
    Set(rec_, analysis::Description, std::get<std::string>(value));
  if (n == kFieldUnit) Set(rec_, analysis::Unit, std::get<std::string>(value));
  if (n == kFieldTools) Set(rec_, analysis::HerramientaMenorPct, std::get<long double>(value));
  if (n == kFieldWaste) Set(rec_, analysis::DesperdicioPct, std::get<long double>(value));
  return key;
}

// A copy gets global records of its own: its global lines keep their
// description and price and are given new records when it is saved.
void AnalysesScreen::AfterDuplicate() {
  bool globals = false;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    for (auto& l : lines_.lines[g]) {
      if (TypeOf(l) != LineType::kGlobal) continue;
      Set(l.line, analysis_line::RefRecNo, int16_t{0});
      l.cache.priceChanged = l.cache.renewDate = true;
      globals = true;
    }
  }
  if (!globals) return;
  MarkChanged();
  Save();
}

// Tab, Esc, F4, F5, PageDown, PageUp; true when the command ends.
bool AnalysesScreen::HandleRecordKey(uint8_t key) {
  Save();
  const std::string code = Get(rec_, coded::Code);
  std::vector<int16_t> globals;
  for (int g = 1; g <= analysis::kGroups; ++g)
    for (const auto& l : lines_.lines[g])
      if (TypeOf(l) == LineType::kGlobal) globals.push_back(Get(l.line, analysis_line::RefRecNo));
  if (RecordKey(screen_, key) == RecordAction::kLeave) return true;
  const std::string now = Get(rec_, coded::Code);
  if (key == kKeyTab && !code.empty() && !CodeExists(kArea, code)) {
    ReleaseGlobalRecords(globals);  // the deleted analysis's prices
  } else if (key == kKeyF5 && now != code && !OnChapter()) {
    // The lines were loaded from the original's records.
    AfterDuplicate();
  } else if (key == kKeyF4 && now != code && !OnChapter()) {
    newRecord_ = true;
  }
  Redraw();
  return false;
}

// The record the screen starts on: the area's current key, else the first.
void AnalysesScreen::Start() {
  LoadStartRecord(kArea, rec_.data());
  Load();
}

void AnalysesScreen::Run() {
  ScreenScope scope(this);
  StartModuleScreen(kArea);
  Start();
  Redraw();
  size_t pos = 0;
  for (;;) {
    StampNewRecord();
    std::vector<int> range = Range();
    if (pos >= range.size()) pos = 0;
    uint8_t key = 0;
    if (range[pos] == kFieldLines) {
      const LineCursor start = clickedLine_ ? *clickedLine_ : Stops().front();
      clickedLine_.reset();
      key = RunLines(start);
    } else {
      key = EditAt(range[pos]);
    }
    range = Range();  // the code field may have brought another record
    if (pos >= range.size()) pos = 0;
    if (key == kKeyFieldClick) {
      for (size_t i = 0; i < range.size(); ++i)
        if (range[i] == ClickedFieldNumber()) pos = i;
      if (range[pos] == kFieldLines) clickedLine_ = ClickedLine();
      continue;
    }
    if (IsRecordKey(key)) {
      if (HandleRecordKey(key)) break;
      pos = 0;
      continue;
    }
    const bool forward = key == kKeyEnter || key == kKeyDown;
    if (forward && pos + 1 == range.size() && range.size() > 1) {
      const CodedAreaState& st = CodedState(kArea);
      if (st.changed || st.unsaved) {
        Save();
      } else {
        MoveRecord(kArea, rec_.data(), true);
        Load();
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
  FlushWorkArea(kAreaGlobals);
}

void AnalysesCommand() {
  if (!Area(kArea).Data.isOpen) return;
  AnalysesScreen screen;
  screen.Run();
}

std::optional<AnalysisRecord> AnalysisOnScreen() {
  if (gScreen == nullptr) return std::nullopt;
  return gScreen->Current();
}

std::optional<CaptureTarget> AnalysisCaptureTarget() {
  if (gScreen == nullptr) return std::nullopt;
  return gScreen->Target();
}

CostOutcome AnalysisScreenCost() {
  if (gScreen == nullptr) return {};
  return gScreen->Cost();
}

bool AnalysisScreenOnChapter() {
  return gScreen != nullptr && gScreen->OnChapter();
}

void ResetAnalysesModule() {
  gScreen = nullptr;
}

}  // namespace vantu
