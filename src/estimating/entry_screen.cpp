#include "estimating/entry_screen.h"

#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"
#include "platform/platform.h"
#include "records/codes.h"
#include "session/shell_state.h"
#include "toolkit/dates.h"
#include "toolkit/field_choice.h"
#include "toolkit/field_editor.h"
#include "toolkit/key_reader.h"
#include "toolkit/screen.h"

namespace vantu {

namespace {
constexpr int kFieldZoneTable = 8;
}  // namespace

void SetFieldZones(const std::vector<const FieldDescriptor*>& fields) {
  ClearZoneTable(kFieldZoneTable);
  ZoneTable& table = Zones(kFieldZoneTable);
  int slot = 0;
  for (size_t i = 0; i < fields.size() && slot < kZonesPerTable - 1; ++i) {
    const FieldDescriptor* d = fields[i];
    if (d == nullptr) continue;
    // The label moves to its field as the value does.
    const int first = d->column - 1;
    const int width = IsChoiceField(*d) ? d->width : ValueDisplayWidth(*d);
    const int last = ValueColumn(*d) - 1 + width - 1;
    ClickZone z = MakeZone(kKeyFieldClick, first, last, d->row - 1, d->row - 1);
    z.field = static_cast<uint8_t>(i + 1);
    table[slot++] = z;
  }
}

void AddFieldZone(int field, int firstCol, int lastCol, int firstRow, int lastRow) {
  ZoneTable& table = Zones(kFieldZoneTable);
  // The last entry stays free: it ends the table.
  for (int i = 0; i < kZonesPerTable - 1; ++i) {
    ClickZone& slot = table[i];
    if (slot.code != 255) continue;
    slot = MakeZone(kKeyFieldClick, firstCol - 1, lastCol - 1, firstRow - 1, lastRow - 1);
    slot.field = static_cast<uint8_t>(field);
    return;
  }
}

int ClickedFieldNumber() {
  return Input().clickedField;
}

uint8_t ChoiceStep(int area, int16_t& choice, const FieldDescriptor& d, const KeySet& exitKeys,
                   bool& changed) {
  changed = false;
  for (;;) {
    ShowField(area, d, choice, ShowMode::Value);
    GotoXY(ValueColumn(d), d.row);
    SetCaret(true);
    const uint8_t k = GetKey();
    const bool onField =
        k == kKeyFieldClick && ClickedFieldNumber() > 0 && Input().mouseRow + 1 == d.row;
    if (k == kKeyEnter || k == ' ' || onField) {
      const int16_t before = choice;
      uint8_t key = kKeyEsc;
      Shell().windowEscPending = true;
      EditChoiceField(area, choice, d, key);
      Shell().windowEscPending = false;
      changed = changed || choice != before;
      ShowField(area, d, choice, ShowMode::Value);
      if (key == kKeyEnter) return kKeyEnter;
      continue;
    }
    if (k == kKeyCtrlF1) {
      FieldHelpKey(area);
      continue;
    }
    if (exitKeys.Has(k) || k == kKeyFieldClick) return k;
    Beep();
  }
}

std::string PickShortDate(const std::string& date) {
  const std::string start = HasDate(date) ? ExpandDate(date) : TodayLong();
  const std::string chosen = Host().PickDate(start);
  if (chosen.size() != 10) return ShortenDate(start);
  return ShortenDate(chosen);
}

}  // namespace vantu
