// The " SELECCION INICIAL " screen: today's date, the data directory, the
// Rama and Obra codes and the accept field, above the list of the sets
// found in the directory.
#include <filesystem>
#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "console/letters.h"
#include "console/zones.h"
#include "platform/platform.h"
#include "selection/recode.h"
#include "selection/selection.h"
#include "selection/selection_sets.h"
#include "selection/set_list.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "toolkit/dates.h"
#include "toolkit/field_editor.h"
#include "toolkit/help_screens.h"
#include "toolkit/key_reader.h"
#include "toolkit/message_boxes.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/status_line.h"
#include "toolkit/window_message.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

enum Field { kFecha, kDirectorio, kRama, kObra, kAceptar, kFieldCount };

constexpr int kNameColumn = 32;
constexpr int kFieldZoneTable = 8;

// A minimum length of kind A needs both limits; a minimum alone would be
// the list of allowed answers.
FieldDescriptor Descriptor(const char* label, char kind, int width, int row,
                           const char* minLength = "") {
  FieldDescriptor d = MakeField(label, kind, width, 5, row);
  d.minValue = minLength;
  d.maxValue = minLength;
  d.upperCase = kind == kKindAlnum ? 1 : 0;
  return d;
}

const FieldDescriptor kFields[kFieldCount] = {
    Descriptor("Fecha Hoy (dd/mm/aa) :", kKindDate, 8, 5),
    Descriptor("Directorio  Archivos :", kKindText, 49, 6),
    Descriptor("  Codigo Rama (X )   :", kKindAlnum, 1, 8),
    Descriptor("  Codigo Obra (XX)   :", kKindAlnum, 2, 9, "2"),
    Descriptor("Aceptar [Doble Clic] :", kKindText, 1, 10),
};

const KeySet kExitKeys = {kKeyEnter, kKeyTab,   kKeyEsc,     kKeyUp,       kKeyDown,  kKeyPgUp,
                          kKeyPgDn,  kKeyHome,  kKeyEnd,     kKeyF2,       kKeyF3,    kKeyAltX,
                          kKeyAltF1, kKeyAltF2, kKeyListRow, kKeyListTake, kKeyCtrlF1};

// The directory as the 49 cells of its field show it: its end when longer.
std::string DirectoryShown() {
  const std::string& d = Selection().DataDirectory;
  return d.size() <= 49 ? d : "..." + d.substr(d.size() - 46);
}

FieldValue ValueOf(int f) {
  const SelectionState& s = Selection();
  switch (f) {
    case kFecha:
      return s.TodayDate;
    case kDirectorio:
      return DirectoryShown();
    case kRama:
      return s.RamaCode;
    case kObra:
      return s.ObraCode;
    default:
      return std::string();
  }
}

void ShowNameLine(int row, bool open, bool isNew, const std::string& name, const char* newText) {
  GotoXY(kNameColumn, row);
  NormalText();
  ClrEol();
  if (!open) return;
  BoldText();
  WriteLetters(isNew ? newText : "<<< " + name.substr(0, 35) + " >>>");
  NormalText();
}

void DrawNames() {
  const SelectionState& s = Selection();
  ShowNameLine(8, !s.RamaCode.empty(), s.RamaIsNew, s.RamaName, "<<< ... Rama nueva ... >>>");
  ShowNameLine(9, s.ObraOpen, s.ObraIsNew, s.ObraName, "<<< ... Obra nueva ... >>>");
}

void DrawFields() {
  for (int f = 0; f < kFieldCount; ++f)
    ShowField(0, kFields[f], ValueOf(f), ShowMode::LabelAndValue);
  DrawNames();
}

void SetFieldZones() {
  ClearZoneTable(kFieldZoneTable);
  ZoneTable& zones = Zones(kFieldZoneTable);
  for (int f = 0; f < kFieldCount; ++f) {
    const FieldDescriptor& d = kFields[f];
    const int first = f == kAceptar ? d.column - 1 : ValueColumn(d) - 1;
    ClickZone z = MakeZone(kKeyListRow, first, ValueColumn(d) + ValueDisplayWidth(d) - 2, d.row - 1,
                           d.row - 1);
    z.field = static_cast<uint8_t>(f + 1);
    if (f == kAceptar) {
      z.secondCode = kKeyEnter;  // a double click accepts
      z.memory = 1;
    }
    zones[f] = z;
  }
}

void DrawScreen() {
  Window(1, 1, 80, 25);
  NormalText();
  ClrScr();
  ScreenTitle(" SELECCION INICIAL ");
  GotoXY(5, 3);
  WriteLetters("Consultor: " + Shell().consultantName);
  DrawFields();
  DrawSetList();
  SetFieldZones();
  ShowStandardButtons(ButtonsOf({0, 4, 5, 7, 10}));
}

// The directory and accept fields take no typing: they wait for a key with
// the caret on their value.
uint8_t WaitOnField(int f) {
  GotoXY(ValueColumn(kFields[f]), kFields[f].row);
  SetCaret(true);
  for (;;) {
    const uint8_t k = GetKey();
    if (kExitKeys.Has(k)) return k;
    Beep();
  }
}

uint8_t EditOne(int f) {
  SelectionState& s = Selection();
  uint8_t key = 0;
  if (f == kDirectorio || f == kAceptar) return WaitOnField(f);
  std::string& value = f == kFecha ? s.TodayDate : f == kRama ? s.RamaCode : s.ObraCode;
  const std::string before = value;
  std::string edited = value;
  EditField(0, edited, kFields[f], key, kExitKeys);
  value = edited;
  const bool ramaClosed = !s.RamaCode.empty() && !Area(kAreaGeneral).Data.isOpen;
  if (f == kRama && (value != before || ramaClosed)) {
    selection::OpenRama();
    DrawFields();
  }
  if (f == kRama && !s.RamaCode.empty() && Shell().messageShown)
    ClearMessage(0);
  else if (f == kObra) {
    selection::OpenObra();
    DrawFields();
  }
  return key;
}

void ChooseDirectory() {
  ShowStatusMessage("Para seleccionar oprima Abrir (Open)");
  std::string path;
  const bool chosen = ChooseFile(Selection().DataDirectory, "Seleccionar Directorio",
                                 "Subdirectorios y Ramas|Apr01dat.?", kFileDialogDirectory, path);
  ClearMessage(0);
  if (!chosen || path.empty()) return;
  std::error_code ec;
  const std::string dir = fs::is_directory(path, ec) ? path : fs::path(path).parent_path().string();
  if (!selection::ChangeDataDirectory(dir)) return;
  ScanSetList(Selection().DataDirectory);
  DrawScreen();
}

// A click on the date offers the calendar; editing stays where it was.
void PickToday() {
  std::string& today = Selection().TodayDate;
  const std::string start = today.size() == 8 ? ExpandDate(today) : TodayLong();
  const std::string chosen = Host().PickDate(start);
  if (chosen.size() == 10) today = ShortenDate(chosen);
  DrawFields();
}

// Says on row 25 that the stored data folder was not found and which
// folder is used instead.
void ReportMissingDataDirectory() {
  std::string& missing = Shell().missingDataDir;
  if (missing.empty()) return;
  std::string text = "No se encontro " + missing + " - se usa " + Selection().DataDirectory;
  if (text.size() > 80) text = "No se encontro la carpeta de datos - se usa el directorio actual";
  ShowStatusMessage(text);
  missing.clear();
}

// A double click on a list entry: its Rama and Obra codes into the fields.
void TakeSelectedEntry() {
  const SetListState& l = SetList();
  if (l.entries.empty()) return;
  const SetListEntry e = l.entries[static_cast<size_t>(l.selected)];
  SelectionState& s = Selection();
  if (e.Rama() != s.RamaCode) {
    s.RamaCode = e.Rama();
    selection::OpenRama();
  }
  s.ObraCode = e.Obra();
  selection::OpenObra();
  DrawFields();
}

bool NeedsRama(int target) {
  if (target <= kRama || !Selection().RamaCode.empty()) return false;
  ShowError("Primero debe entrar la RAMA");
  return true;
}

class SelectionScreen {
 public:
  explicit SelectionScreen(bool initial) : field_(initial ? kRama : kAceptar) {}
  void Run();

 private:
  bool ScreenKey(uint8_t k);
  void MoveTo(int target) {
    if (!NeedsRama(target)) field_ = target;
  }

  int field_;
};

// Keys that act on the whole screen, whatever the field; true when handled.
bool SelectionScreen::ScreenKey(uint8_t k) {
  if (SetListKey(k)) return true;
  switch (k) {
    case kKeyF2:
      ManageSetFiles();
      break;
    case kKeyF3:
      RegenerateSet();
      break;
    case kKeyAltF1:
      Host().ShowGeneralHelp();
      return true;
    case kKeyAltF2:
    case kKeyCtrlF1:
      ShowGeneralMouseHelp();
      DrawScreen();
      return true;
    case kKeyAltX:
      selection::AskExitProgram();
      return true;
    case kKeyListRow:
      if (Input().clickedField == kFecha + 1)
        PickToday();
      else if (Input().clickedField != 0)
        MoveTo(Input().clickedField - 1);
      else
        SetListClick();
      return true;
    case kKeyListTake:
      if (!SetListClick()) return true;
      TakeSelectedEntry();
      field_ = kAceptar;
      return true;
    default:
      return false;
  }
  // F2 and F3 closed the set: the user selects again.
  DrawScreen();
  field_ = kRama;
  return true;
}

void SelectionScreen::Run() {
  for (;;) {
    const uint8_t k = EditOne(field_);
    if (ScreenKey(k)) continue;
    if (k == kKeyHome) {
      field_ = std::max(0, field_ - 1);
    } else if (k == kKeyEsc || (field_ == kAceptar && k == kKeyEnter)) {
      if (!NeedsRama(kAceptar)) return;
      field_ = kRama;
    } else if (field_ == kDirectorio && k == kKeyEnter) {
      ChooseDirectory();
      field_ = kRama;
    } else if (k == kKeyEnter || k == kKeyEnd || k == kKeyTab) {
      MoveTo(field_ + 1);
    }
  }
}

// The recovery leaves the codes of the set it rebuilt: that set is offered
// when it lies in the data directory.
void OfferRecoveredSet() {
  SelectionState& s = Selection();
  if (s.RamaCode.empty() || Area(kAreaGeneral).Data.isOpen) return;
  std::error_code ec;
  std::string obra = s.ObraCode;
  if (!fs::exists(DataFileName(1, s.RamaCode), ec)) s.RamaCode.clear();
  if (!fs::exists(DataFileName(6, s.RamaCode + obra), ec)) obra.clear();
  selection::OpenRama();
  s.ObraCode = obra;
  selection::OpenObra();
}

void EnterDataDirectory() {
  SelectionState& s = Selection();
  if (s.DataDirectory.empty()) s.DataDirectory = Shell().dataDir;
  std::error_code ec;
  fs::current_path(s.DataDirectory, ec);
  if (ec) {
    Shell().missingDataDir = s.DataDirectory;
    fs::current_path(Shell().startDir, ec);
  }
  s.DataDirectory = fs::current_path(ec).string().substr(0, 160);
  ScanSetList(s.DataDirectory);
}

}  // namespace

void SelectRamaObra() {
  ShellState& sh = Shell();
  const bool initial = sh.openingWork;
  sh.haltAtClose = true;
  sh.generalDataNext = false;
  Selection().TodayDate = TodayShort();
  if (initial) {
    DrawScreen();
    StartupRecoveryCheck();
  }
  EnterDataDirectory();
  OfferRecoveredSet();
  DrawScreen();
  ReportMissingDataDirectory();
  bool atRama = initial;
  for (;;) {
    SelectionScreen(atRama).Run();
    selection::FinishSelection();
    // A recodification cut short is completed on the set just opened; one
    // of another set of this Rama sends the user back to open that one.
    std::vector<std::string> otherSet;
    if (CompletePendingRecode(otherSet) || otherSet.empty()) break;
    otherSet.push_back(".. Para continuar oprima cualquier tecla ..");
    ShowMessageWindow(otherSet);
    selection::CloseSelection();
    DrawScreen();
    atRama = true;
  }
  sh.haltAtClose = false;
}

}  // namespace vantu
