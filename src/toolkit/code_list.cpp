// The code list window and its keys.
#include "toolkit/code_list.h"

#include "console/console.h"
#include "console/keys.h"
#include "console/letters.h"
#include "console/zones.h"
#include "toolkit/error_review.h"
#include "toolkit/help_screens.h"
#include "toolkit/item_detail.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/window_message.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

constexpr int kRowZoneTable = 7;     // rows: click selects, second click captures
constexpr int kScrollZoneTable = 6;  // scroll zones and tabs
constexpr uint8_t kKeyScrollUp = 169;
constexpr uint8_t kKeyScrollDown = 170;
constexpr uint8_t kKeyRowClick = 157;
constexpr int kRowWidth = 44;
constexpr char kNoDescription[] = "......... Sin Descripcion .........";

struct KindInfo {
  const char* title;
  const char* tab;
  int scheme;
};

KindInfo InfoOf(int kind) {
  switch (kind) {
    case 3:
      return {" ANALISIS UNITARIOS ", " UNITARIOS ", 2};
    case 4:
      return {" SUBCONTRATOS ", " SUBCTRTOS ", 14};
    case 6:
      return {" PRESUPUESTO DE OBRA ", " PRESUPUESTO ", 16};
    default:
      return {" INSUMOS BASICOS ", "  BASICOS  ", 3};
  }
}

std::vector<int> KindsOf(const std::string& listAreas) {
  std::vector<int> kinds;
  for (char c : listAreas)
    if (c == '2' || c == '3' || c == '4' || c == '6') kinds.push_back(c - '0');
  return kinds;
}

std::string TabStyle(const std::vector<int>& kinds) {
  std::string style = "Tabs|" + std::to_string(kinds.size()) + "|";
  for (int k : kinds)
    style += std::string("|") + InfoOf(k).tab + "|" + std::to_string(InfoOf(k).scheme);
  return style;
}

class ListWindow {
 public:
  ListWindow(int callingArea, std::vector<int> kinds, int kindIndex)
      : callingArea_(callingArea), kinds_(std::move(kinds)), index_(kindIndex) {}
  std::optional<std::string> Run(const std::string& fieldText, uint8_t& exitKey);

 private:
  CodeListState& St() { return CodeListFor(kinds_[index_]); }
  bool Open();
  void DrawRows();
  void SetZones();
  bool SwitchFile();
  void Search();
  bool Capture(std::string& code);

  int callingArea_;
  std::vector<int> kinds_;
  int index_;
};

bool ListWindow::Open() {
  CodeListState& st = St();
  WindowDesc w;
  w.scheme = InfoOf(st.kind).scheme;
  w.frame = 'D';
  w.left = st.left, w.top = st.top, w.right = st.right, w.bottom = st.bottom;
  w.title = InfoOf(st.kind).title;
  w.buttons = "Esc^regresa CtrlF1^ayuda F7^busca_dato Inicio^inicio_lista Intro^entra_dato";
  if (kinds_.size() > 1) w.buttons += " F1^cambia_lista";
  w.style = TabStyle(kinds_);
  if (!OpenWindow(w)) return false;
  SetZones();
  return true;
}

void ListWindow::SetZones() {
  const CodeListState& st = St();
  ClearZoneTable(kRowZoneTable);
  ClearZoneTable(kScrollZoneTable);
  ZoneTable& rows = Zones(kRowZoneTable);
  for (int i = 0; i < kListRows; ++i) {
    ClickZone z = MakeZone(kKeyRowClick, st.left, st.left + kRowWidth - 1, st.top + i, st.top + i);
    z.secondCode = kKeyEnter;
    z.memory = 1;
    rows[i] = z;
  }
  ZoneTable& scroll = Zones(kScrollZoneTable);
  const int mid = (st.top + st.bottom) / 2;
  scroll[0] = MakeZone(kKeyScrollUp, st.right - 2, st.right - 1, st.top, mid - 1);
  scroll[0].autoRepeat = 1;
  scroll[1] = MakeZone(kKeyScrollDown, st.right - 2, st.right - 1, mid, st.bottom - 2);
  scroll[1].autoRepeat = 1;
  // The other tab switches the file, as F1 does.
  if (kinds_.size() > 1)
    scroll[2] = MakeZone(kKeyF1, st.left + 1, st.right - 2, st.top - 1, st.top - 1);
}

void ListWindow::DrawRows() {
  const CodeListState& st = St();
  for (int i = 0; i < kListRows; ++i) {
    GotoXY(1, i + 1);
    NormalText();
    if (i >= static_cast<int>(st.rows.size())) {
      WriteText(std::string(st.right - st.left - 2, ' '));
      continue;
    }
    const ListEntry& e = st.rows[i];
    std::string code = e.code;
    code.resize(9, ' ');
    std::string desc = e.description.empty() ? kNoDescription : e.description.substr(0, 35);
    desc.resize(35, ' ');
    if (i == st.selected)
      StatusText(true);  // the scheme's status colours stand out in every scheme
    else if (IsChapterCode(e.code))
      BoldText();
    WriteLetters(" " + code + desc);
    NormalText();
  }
  GotoXY(st.right - st.left - 1, 1);
  WriteText(std::string(1, static_cast<char>(30)));
  GotoXY(st.right - st.left - 1, kListRows);
  WriteText(std::string(1, static_cast<char>(31)));
  GotoXY(2, st.selected + 1);
}

bool ListWindow::SwitchFile() {
  if (kinds_.size() < 2) return false;
  const int other = (index_ + 1) % static_cast<int>(kinds_.size());
  CodeListSource* src = ListSource();
  if (!src || !src->HasRecords(kinds_[index_]) || !src->HasRecords(kinds_[other])) return false;
  CloseWindow();
  index_ = other;
  ListHome(St());
  return Open();
}

void ListWindow::Search() {
  CodeListState& st = St();
  if (!RunSearchWindow(st.searchText)) return;
  if (!ListSearch(st, st.searchText))
    ShowMessageWindow({"... No se encontro ..."}, kNotFoundScheme);
}

bool ListWindow::Capture(std::string& code) {
  const CodeListState& st = St();
  if (st.rows.empty()) {
    Beep();
    return false;
  }
  code = st.rows[st.selected].code;
  CaptureTarget target;
  if (ListHooks().captureTarget) target = ListHooks().captureTarget(callingArea_);
  return !CheckCapturedCode(target, st.kind, code);
}

std::optional<std::string> ListWindow::Run(const std::string& fieldText, uint8_t& exitKey) {
  exitKey = kKeyF1;
  ListPositionAt(St(), fieldText);
  if (!Open()) return std::nullopt;
  InputState& in = Input();
  const bool zone8Off = in.zoneTable8Off;
  in.zoneTable8Off = true;
  std::optional<std::string> result;
  for (bool done = false; !done;) {
    DrawRows();
    const uint8_t k = GetKey();
    const bool mouse = in.noTypedKey;
    CodeListState& st = St();
    bool ok = true;
    switch (k) {
      case kKeyPgUp:
        ok = ListPageUp(st);
        break;
      case kKeyPgDn:
        ok = ListPageDown(st);
        break;
      case kKeyUp:
        ok = ListRowUp(st);
        break;
      case kKeyDown:
        ok = ListRowDown(st);
        break;
      case kKeyScrollUp:
        ok = mouse && ListRowUp(st);
        break;
      case kKeyScrollDown:
        ok = mouse && ListRowDown(st);
        break;
      case kKeyRowClick: {
        const int row = in.mouseRow - st.top;
        ok = mouse && row >= 0 && row < static_cast<int>(st.rows.size());
        if (ok) st.selected = row;
        break;
      }
      case kKeyF1:
        ok = SwitchFile();
        break;
      case kKeyF2:
        ok = ListToggleChapters(st);
        break;
      case kKeyF7:
        Search();
        break;
      case kKeyHome:
        ListHome(st);
        break;
      case kKeyInsert:
        if (!st.rows.empty()) ShowItemDetail(st.kind, st.rows[st.selected].code);
        break;
      case kKeyCtrlF1:
        ShowListKeysHelp();
        break;
      case kKeyEnter: {
        std::string code;
        if (Capture(code)) {
          result = code;
          exitKey = kKeyEnter;
          done = true;
        }
        break;
      }
      case kKeyEsc:
        done = true;
        break;
      default:
        if (Review().active && (k == kKeyCtrlPgUp || k == kKeyCtrlPgDn || k == kKeyCtrlEnd)) {
          exitKey = k;
          done = true;
        } else {
          ok = false;
        }
    }
    if (!ok) Beep();
  }
  CloseWindow();
  ClearZoneTable(kRowZoneTable);
  ClearZoneTable(kScrollZoneTable);
  in.zoneTable8Off = zone8Off;
  return result;
}

}  // namespace

bool CodeListFilesEmpty(const std::string& listAreas) {
  CodeListSource* src = ListSource();
  for (int kind : KindsOf(listAreas))
    if (src && src->HasRecords(kind)) return false;
  return true;
}

std::optional<std::string> OpenCodeList(int callingArea, const std::string& listAreas,
                                        const std::string& fieldText, uint8_t& exitKey) {
  exitKey = kKeyF1;
  std::vector<int> kinds = KindsOf(listAreas);
  if (kinds.empty()) return std::nullopt;
  // Start on the file that holds the field's code, else the first one
  // with records.
  int index = -1;
  CodeListSource* src = ListSource();
  for (size_t i = 0; src && i < kinds.size() && !fieldText.empty(); ++i) {
    std::optional<ListEntry> e = src->Seek(kinds[i], fieldText);
    if (e && e->code == fieldText) index = static_cast<int>(i);
  }
  for (size_t i = 0; src && index < 0 && i < kinds.size(); ++i)
    if (src->HasRecords(kinds[i])) index = static_cast<int>(i);
  if (index < 0) index = 0;
  ListWindow list(callingArea, std::move(kinds), index);
  return list.Run(fieldText, exitKey);
}

}  // namespace vantu
