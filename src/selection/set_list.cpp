#include "selection/set_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "console/console.h"
#include "console/keys.h"
#include "console/letters.h"
#include "console/zones.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "storage/file_sets.h"
#include "toolkit/schemes.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

constexpr int kRowZoneTable = 7;
constexpr int kScrollZoneTable = 6;
constexpr int kScrollColumn = 63;  // two cells, 63-64
constexpr char kTitle[] = " SELECCION RAMAS/OBRAS ";

SetListState gList;

// Sort key: the Rama code alone sorts just before the Rama's Obras.
std::string SortKey(const SetListEntry& e) {
  return e.Rama() + e.Obra();
}

bool AllAlnum(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Windows-1252 lower case: A-Z and the accented capitals 192-222 but 215.
std::string Lower1252(std::string s) {
  for (char& ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222 && c != 215))
      ch = static_cast<char>(c + 32);
  }
  return s;
}

template <class R>
bool ReadRecord(const std::string& dir, const std::string& name, int number, R& rec) {
  std::ifstream in(std::filesystem::path(FindFileIn(dir, name)), std::ios::binary);
  in.seekg(static_cast<std::streamoff>(number) * R::kSize);
  return static_cast<bool>(in.read(reinterpret_cast<char*>(rec.data()), R::kSize));
}

std::string NameOf(const std::string& dir, const SetListEntry& e) {
  if (e.IsRama()) {
    GeneralDataRecord g;
    return ReadRecord(dir, DataBaseName(1, e.Rama()), 1, g) ? Get(g, general::RamaName) : "";
  }
  ObraHeader h;
  return ReadRecord(dir, DataBaseName(6, e.code), 0, h) ? Get(h, obra_header::ObraName) : "";
}

void ClampView() {
  SetListState& l = gList;
  const int n = static_cast<int>(l.entries.size());
  l.selected = std::clamp(l.selected, 0, std::max(0, n - 1));
  if (l.selected < l.first) l.first = l.selected;
  if (l.selected >= l.first + kSetListRows) l.first = l.selected - kSetListRows + 1;
  l.first = std::clamp(l.first, 0, std::max(0, n - kSetListRows));
}

void SetZones() {
  ClearZoneTable(kRowZoneTable);
  ClearZoneTable(kScrollZoneTable);
  ZoneTable& rows = Zones(kRowZoneTable);
  const int top0 = kSetListTop;  // first row, 0-based
  for (int i = 0; i < kSetListRows; ++i) {
    ClickZone z = MakeZone(kKeyListRow, kSetListLeft, kSetListLeft + kSetListRowWidth - 1, top0 + i,
                           top0 + i);
    z.secondCode = kKeyListTake;
    z.memory = 1;
    rows[i] = z;
  }
  ZoneTable& scroll = Zones(kScrollZoneTable);
  const int c0 = kScrollColumn - 1;
  scroll[0] = MakeZone(kKeyUp, c0, c0 + 1, top0, top0);
  scroll[1] = MakeZone(kKeyDown, c0, c0 + 1, top0 + 10, top0 + 10);
  scroll[2] = MakeZone(kKeyPgUp, c0, c0 + 1, top0 + 1, top0 + 4);
  scroll[3] = MakeZone(kKeyPgDn, c0, c0 + 1, top0 + 6, top0 + 9);
  for (int i = 0; i < 4; ++i) scroll[i].autoRepeat = 1;
}

// Two cells wide: a two-cell arrow head up and down at the ends (glyphs
// 225-228), shading between them and a block in the middle.
void DrawScrollColumn() {
  NormalText();
  for (int i = 0; i < kSetListRows; ++i) {
    std::string cells(2, static_cast<char>(176));
    if (i == 0) cells = "\xE1\xE2";
    if (i == kSetListRows - 1) cells = "\xE3\xE4";
    if (i == kSetListRows / 2) cells = std::string(2, static_cast<char>(219));
    GotoXY(kScrollColumn, kSetListTop + 1 + i);
    WriteText(cells);
  }
}

}  // namespace

SetListState& SetList() {
  return gList;
}
void ResetSetList() {
  gList = SetListState{};
}

void ScanSetList(const std::string& directory) {
  std::vector<SetListEntry> found;
  std::error_code ec;
  for (fs::directory_iterator it(directory.empty() ? "." : directory, ec), end;
       !ec && it != end && found.size() < kSetListMax; it.increment(ec)) {
    const std::string name = Upper(it->path().filename().string());
    if (name.size() == 10 && name.rfind("APR01DAT.", 0) == 0 && AllAlnum(name.substr(9)))
      found.push_back({"[" + name.substr(9) + "]", ""});
    else if (name.size() == 12 && name.rfind("APR06DAT.", 0) == 0 && AllAlnum(name.substr(9)))
      found.push_back({name.substr(9), ""});
  }
  std::sort(found.begin(), found.end(),
            [](const SetListEntry& a, const SetListEntry& b) { return SortKey(a) < SortKey(b); });
  found.erase(
      std::unique(found.begin(), found.end(),
                  [](const SetListEntry& a, const SetListEntry& b) { return a.code == b.code; }),
      found.end());
  for (SetListEntry& e : found) e.name = NameOf(directory, e);
  gList.entries = std::move(found);
  ClampView();
}

std::string SetListRowText(const SetListEntry& e) {
  std::string text;
  if (e.IsRama()) {
    text = e.code + " - " + (e.name.empty() ? "<< RAMA SIN NOMBRE >>" : e.name);
    text.resize(kSetListRowWidth, ' ');
  } else {
    text = e.code + " - " + (e.name.empty() ? "<< Obra sin Nombre >>" : Lower1252(e.name));
    text.resize(kSetListRowWidth, '.');
  }
  return text;
}

bool SelectSetEntry(const std::string& rama, const std::string& obra) {
  const std::string key = rama + obra;
  for (size_t i = 0; i < gList.entries.size(); ++i) {
    if (SortKey(gList.entries[i]) != key) continue;
    gList.selected = static_cast<int>(i);
    ClampView();
    return true;
  }
  return false;
}

void DrawSetList() {
  NormalText();
  const auto& box = Schemes().box;
  const int inner = kSetListRight - kSetListLeft - 1;
  std::string top(inner, static_cast<char>(box[9]));
  top.replace((inner - (sizeof kTitle - 1)) / 2, sizeof kTitle - 1, kTitle);
  GotoXY(kSetListLeft, kSetListTop);
  WriteText(static_cast<char>(box[0]) + top + static_cast<char>(box[2]));
  for (int row = kSetListTop + 1; row < kSetListBottom; ++row) {
    GotoXY(kSetListLeft, row);
    WriteText(std::string(1, static_cast<char>(box[10])));
    GotoXY(kSetListRight, row);
    WriteText(std::string(1, static_cast<char>(box[10])));
  }
  GotoXY(kSetListLeft, kSetListBottom);
  WriteText(static_cast<char>(box[6]) + std::string(inner, static_cast<char>(box[9])) +
            static_cast<char>(box[8]));
  DrawScrollColumn();
  DrawSetListRows();
  SetZones();
}

void DrawSetListRows() {
  for (int i = 0; i < kSetListRows; ++i) {
    const int n = gList.first + i;
    GotoXY(kSetListLeft + 1, kSetListTop + 1 + i);
    if (n >= static_cast<int>(gList.entries.size())) {
      NormalText();
      WriteText(std::string(kSetListRowWidth, ' '));
      continue;
    }
    if (n == gList.selected)
      StatusText(true);
    else
      NormalText();
    WriteLetters(SetListRowText(gList.entries[n]));
  }
  NormalText();
}

bool SetListKey(uint8_t key) {
  const int n = static_cast<int>(gList.entries.size());
  int step = 0;
  switch (key) {
    case kKeyUp:
      step = -1;
      break;
    case kKeyDown:
      step = 1;
      break;
    case kKeyPgUp:
      step = -kSetListRows;
      break;
    case kKeyPgDn:
      step = kSetListRows;
      break;
    default:
      return false;
  }
  const int target = std::clamp(gList.selected + step, 0, std::max(0, n - 1));
  if (target == gList.selected) {
    Beep();
    return true;
  }
  if (step == kSetListRows || step == -kSetListRows) gList.first += target - gList.selected;
  gList.selected = target;
  ClampView();
  DrawSetListRows();
  return true;
}

bool SetListClick() {
  const int row = Input().mouseRow + 1 - (kSetListTop + 1);
  const int n = gList.first + row;
  if (row < 0 || row >= kSetListRows || n >= static_cast<int>(gList.entries.size())) return false;
  gList.selected = n;
  DrawSetListRows();
  return true;
}

}  // namespace vantu
