#pragma once
// The Ramas and Obras of the data directory (SetList) and their window on
// the selection screen: 11 rows at columns 18-62, rows 13-23, with a
// scroll column at columns 63-64.

#include <cstdint>
#include <string>
#include <vector>

namespace vantu {

constexpr int kSetListMax = 1000;
constexpr int kSetListRows = 11;
constexpr int kSetListRowWidth = 45;
// List window, frame included (1-based).
constexpr int kSetListLeft = 17, kSetListTop = 12, kSetListRight = 65, kSetListBottom = 24;

// Codes of the list's click zones: a click on a row, and the second click
// on the same row (a double click).
constexpr uint8_t kKeyListRow = 157;
constexpr uint8_t kKeyListTake = 170;

struct SetListEntry {
  std::string code;  // Rama "[c]", Obra Rama + Obra codes
  std::string name;  // up to 35 characters; empty when the set has none
  bool IsRama() const { return code.size() == 3 && code[0] == '['; }
  std::string Rama() const { return IsRama() ? code.substr(1, 1) : code.substr(0, 1); }
  std::string Obra() const { return IsRama() ? std::string() : code.substr(1, 2); }
};

struct SetListState {
  std::vector<SetListEntry> entries;
  int selected = 0;  // index into entries
  int first = 0;     // entry shown on the first row
};

SetListState& SetList();
void ResetSetList();

// Rebuilds the list from "Apr01dat.?" and "Apr06dat.???" in the directory:
// each Rama just before its Obras, names read from the files; keeps the
// selection inside the list.
void ScanSetList(const std::string& directory);
// The row text: "[c] - name" padded with blanks, or "cOO - name" in lower
// case padded with dots, 45 characters.
std::string SetListRowText(const SetListEntry& e);
// Selects the entry of the Rama (and Obra); false when it is not listed.
bool SelectSetEntry(const std::string& rama, const std::string& obra);

// Frame, title, rows and scroll column; the click zones of the rows
// (table 7) and of the scroll column (table 6).
void DrawSetList();
void DrawSetListRows();
// Up, Down, PageUp, PageDown and the scroll clicks; true when the key was
// one of them. Beeps at the list's ends.
bool SetListKey(uint8_t key);
// A click on a row (kKeyListRow) selects the row under the mouse; true
// when that row holds an entry.
bool SetListClick();

}  // namespace vantu
