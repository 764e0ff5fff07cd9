#include "console/zones.h"

#include <cstring>

#include "console/keys.h"

namespace vantu {

namespace {

struct RepeatMemory {
  bool valid = false;
  int16_t firstCol = 0, lastCol = 0;
  int row = 0;
};

struct ZoneState {
  std::array<ZoneTable, kZoneTables> tables{};
  RepeatMemory memory7, memory8;
  // The zone of the last hit: its timers and its rectangle.
  bool hasCurrent = false;
  ClickZone current;
  bool buttonHeld = false;
  // The cell under the pointer while the left button is held (0-based).
  int pointerCol = 0, pointerRow = 0;
  bool repeatRunning = false;
  int repeatCount = 0;
  bool memoryRunning = false;
  int memoryCount = 0;
  // The last left button down, repeated by the repeat timer.
  int lastPx = 0, lastPy = 0, lastW = 1, lastH = 1;
};

ZoneState gZones;

bool Contains(const ClickZone& z, int col, int row) {
  return z.firstCol <= col && col <= z.lastCol && z.firstRow <= row && row <= z.lastRow;
}

// First zone of the table for this cell and button, or nullptr.
ClickZone* FindHit(ZoneTable& table, int col, int row, int button) {
  for (ClickZone& z : table) {
    if (z.code == 255) return nullptr;
    if (z.button == button && Contains(z, col, row)) return &z;
  }
  return nullptr;
}

// Code of a hit in table 7 or 8, toggling to the second code on a repeated
// click of the same zone and row.
uint8_t RepeatableCode(const ClickZone& z, int row, RepeatMemory& mem) {
  bool repeated = mem.valid && z.firstCol == mem.firstCol && z.lastCol == mem.lastCol &&
                  row == mem.row && z.secondCode != 255;
  if (repeated) {
    mem.valid = false;
    return z.secondCode;
  }
  mem = {true, z.firstCol, z.lastCol, row};
  return z.code;
}

void RecordHit(ClickZone& z, int col, int row) {
  z.hitCol = static_cast<int16_t>(col + 1);
  z.hitRow = static_cast<int16_t>(row + 1);
}

}  // namespace

ZoneTable& Zones(int table) {
  return gZones.tables[table - 1];
}

void ClearZoneTable(int table) {
  std::memset(static_cast<void*>(Zones(table).data()), 255, sizeof(ZoneTable));
}
void ClearZoneTable1() {
  ClearZoneTable(1);
}
void ClearZoneTable2() {
  ClearZoneTable(2);
}
void ClearZoneTable3() {
  ClearZoneTable(3);
}
void ClearZoneTable4() {
  ClearZoneTable(4);
}
void ClearZoneTable5() {
  ClearZoneTable(5);
}
void ClearZoneTable6() {
  ClearZoneTable(6);
}
void ClearZoneTable7() {
  ClearZoneTable(7);
}
void ClearZoneTable8() {
  ClearZoneTable(8);
}
void ClearAllZoneTables() {
  for (int t = 1; t <= kZoneTables; ++t) ClearZoneTable(t);
}

ClickZone MakeZone(uint8_t code, int firstCol, int lastCol, int firstRow, int lastRow) {
  ClickZone z;
  z.code = code;
  z.firstCol = static_cast<int16_t>(firstCol);
  z.lastCol = static_cast<int16_t>(lastCol);
  z.firstRow = static_cast<int16_t>(firstRow);
  z.lastRow = static_cast<int16_t>(lastRow);
  z.hitCol = z.hitRow = 0;
  z.button = -1;
  z.field = 0;
  z.autoRepeat = 0;
  z.memory = 0;
  return z;
}

uint8_t LookupZone(int col, int row, int button) {
  InputState& in = Input();
  in.clickedField = 0;
  gZones.hasCurrent = false;
  uint8_t result = 255;
  auto makeCurrent = [](const ClickZone& z) {
    gZones.current = z;
    gZones.hasCurrent = true;
  };
  if (!in.zoneTable8Off) {
    if (ClickZone* z = FindHit(Zones(8), col, row, button)) {
      result = RepeatableCode(*z, row, gZones.memory8);
      RecordHit(*z, col, row);
      if (z->field != 0) in.clickedField = z->field;
      makeCurrent(*z);
    }
  }
  for (int t = 1; t <= 7; ++t) {
    ClickZone* z = FindHit(Zones(t), col, row, button);
    if (z == nullptr) continue;
    if (t == 7)
      result = RepeatableCode(*z, row, gZones.memory7);
    else
      result = z->code;
    if (t >= 5) RecordHit(*z, col, row);
    makeCurrent(*z);
  }
  return result;
}

void MouseDown(int px, int py, MouseBtn button, int cellWidth, int cellHeight) {
  if (button == MouseBtn::Other || cellWidth <= 0 || cellHeight <= 0) return;
  InputState& in = Input();
  const int b = button == MouseBtn::Left ? -1 : 1;
  in.mouseButton = static_cast<int16_t>(b);
  in.noTypedKey = true;
  in.mouseCol = static_cast<int16_t>(px / cellWidth);
  in.mouseRow = static_cast<int16_t>(py / cellHeight);
  gZones.buttonHeld = true;
  gZones.pointerCol = in.mouseCol;
  gZones.pointerRow = in.mouseRow;
  PushKey(LookupZone(in.mouseCol, in.mouseRow, b));
  if (button != MouseBtn::Left) return;
  gZones.lastPx = px;
  gZones.lastPy = py;
  gZones.lastW = cellWidth;
  gZones.lastH = cellHeight;
  if (gZones.hasCurrent && gZones.current.autoRepeat == 1) gZones.repeatRunning = true;
  if (gZones.hasCurrent && gZones.current.memory == 1) gZones.memoryRunning = true;
}

void MouseUp() {
  gZones.buttonHeld = false;
}

void MouseMove(int px, int py, int cellWidth, int cellHeight) {
  if (!gZones.buttonHeld || cellWidth <= 0 || cellHeight <= 0) return;
  if (!gZones.hasCurrent || !Contains(gZones.current, px / cellWidth, py / cellHeight)) {
    gZones.buttonHeld = false;
    return;
  }
  gZones.pointerCol = px / cellWidth;
  gZones.pointerRow = py / cellHeight;
}

bool HeldPointer(int& col, int& row) {
  if (!gZones.buttonHeld || Input().mouseButton != -1) return false;
  col = gZones.pointerCol;
  row = gZones.pointerRow;
  return true;
}

bool RepeatTimerTick() {
  if (!gZones.repeatRunning) return false;
  if (!gZones.buttonHeld) {
    gZones.repeatCount = 0;
    gZones.repeatRunning = false;
    return false;
  }
  return ++gZones.repeatCount >= 5;
}

void MemoryTimerTick() {
  if (!gZones.memoryRunning) return;
  if (++gZones.memoryCount >= 5) {
    gZones.memoryCount = 0;
    gZones.memory7.valid = false;
    gZones.memory8.valid = false;
    gZones.memoryRunning = false;
  }
}

bool RepeatTimerRunning() {
  return gZones.repeatRunning;
}
bool MemoryTimerRunning() {
  return gZones.memoryRunning;
}

void RepeatLastClick() {
  MouseDown(gZones.lastPx, gZones.lastPy, MouseBtn::Left, gZones.lastW, gZones.lastH);
}

void ResetZones() {
  gZones = ZoneState{};
  ClearAllZoneTables();
}

}  // namespace vantu
