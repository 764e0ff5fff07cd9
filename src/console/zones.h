#pragma once
// Click zones: eight tables of rectangles of cells that turn a mouse click
// into a key code, with the repeated-click memory of tables 7 and 8 and the
// two 100 ms timers (auto-repeat and memory), driven by ticks.

#include <array>
#include <cstdint>

namespace vantu {

// One zone, 21 bytes packed:
//   0  u8  code pushed on a hit; 255 ends the table
//   1  u8  second code on a repeated click (tables 7, 8); 255 = none
//   2  i16 first column (0-based)   4 i16 last column
//   6  i16 first row (0-based)      8 i16 last row
//  10  i16 column of last hit + 1  12 i16 row of last hit + 1 (tables 5..8)
//  14  i16 mouse button: -1 left, 1 right
//  16  u8  field number for ClickedField (table 8)
//  17  i16 1 = auto-repeat while the left button is held
//  19  i16 1 = forget the repeated-click memory 500 ms after a left click
#pragma pack(push, 1)
struct ClickZone {
  uint8_t code = 255;
  uint8_t secondCode = 255;
  int16_t firstCol = -1;
  int16_t lastCol = -1;
  int16_t firstRow = -1;
  int16_t lastRow = -1;
  int16_t hitCol = -1;
  int16_t hitRow = -1;
  int16_t button = -1;
  uint8_t field = 255;
  int16_t autoRepeat = -1;
  int16_t memory = -1;
};
#pragma pack(pop)
static_assert(sizeof(ClickZone) == 21);

constexpr int kZoneTables = 8;
constexpr int kZonesPerTable = 60;
using ZoneTable = std::array<ClickZone, kZonesPerTable>;

// Table n (1..8).
ZoneTable& Zones(int table);
// Fills every entry of the table with bytes 255.
void ClearZoneTable(int table);
void ClearZoneTable1();
void ClearZoneTable2();
void ClearZoneTable3();
void ClearZoneTable4();
void ClearZoneTable5();
void ClearZoneTable6();
void ClearZoneTable7();
void ClearZoneTable8();
void ClearAllZoneTables();

// A zone with the usual defaults (left button, no second code, no repeat).
ClickZone MakeZone(uint8_t code, int firstCol, int lastCol, int firstRow, int lastRow);

// Code for a click on cell (col, row) with button -1 or 1; 255 when no zone
// matched. Records hits, publishes ClickedField, and makes the hit current.
uint8_t LookupZone(int col, int row, int button);

enum class MouseBtn { Left, Right, Other };
// Button down at pixel (px, py): sets the shared mouse state, looks the cell
// up, pushes the code and starts the timers the zone asks for.
void MouseDown(int px, int py, MouseBtn button, int cellWidth, int cellHeight);
void MouseUp();
// Pointer moved to pixel (px, py) while a button may be held.
void MouseMove(int px, int py, int cellWidth, int cellHeight);

// While the left button pressed on a zone is held and the pointer stays in
// that zone: true, with the cell under the pointer (0-based), so that a
// screen can follow a drag.
bool HeldPointer(int& col, int& row);
// 100 ms ticks of the two timers. The repeat tick returns true when the
// host should repeat the recorded left click now.
bool RepeatTimerTick();
void MemoryTimerTick();
bool RepeatTimerRunning();
bool MemoryTimerRunning();
// Repeats the last left click, as the repeat timer asks.
void RepeatLastClick();

void ResetZones();

}  // namespace vantu
