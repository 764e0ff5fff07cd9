// The parameter window of command C: first chapter, chapter and item
// separations, and the field that starts the run.
#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"
#include "selection/recode.h"
#include "session/work_area_ids.h"
#include "toolkit/field_editor.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

enum Field { kFirst, kChapterStep, kItemStep, kStart, kFieldCount };

constexpr int kWindowScheme = 17;
constexpr int kLeft = 12, kTop = 8, kRight = 64, kBottom = 15;
constexpr int kFieldZoneTable = 8;

FieldDescriptor IntField(const char* label, int width, int row, const char* lo, const char* hi) {
  FieldDescriptor d = MakeField(label, kKindInt, width, 2, row);
  d.minValue = lo;
  d.maxValue = hi;
  return d;
}

const FieldDescriptor kFields[kFieldCount] = {
    IntField("Capitulo inicial [0 = No especificar] (1..5) :", 1, 3, "0", "5"),
    IntField("Separacion deseada entre capitulos    (1..5) :", 1, 4, "1", "5"),
    IntField("Separacion deseada entre items       (1..10) :", 2, 5, "1", "10"),
    MakeField("      Para Recodificar [Doble Clic]          :", kKindText, 1, 2, 6),
};

const KeySet kExitKeys = {kKeyEnter, kKeyDown, kKeyUp, kKeyEsc};

int16_t& ValueOf(RecodeParams& p, int f) {
  return f == kFirst ? p.firstChapter : f == kChapterStep ? p.chapterSeparation : p.itemSeparation;
}

bool InRange(int f, int16_t v) {
  const FieldDescriptor& d = kFields[f];
  return v >= std::stoi(d.minValue) && v <= std::stoi(d.maxValue);
}

// Field zones in screen cells; the start field takes a double click.
void SetFieldZones() {
  ClearZoneTable(kFieldZoneTable);
  ZoneTable& zones = Zones(kFieldZoneTable);
  for (int f = 0; f < kFieldCount; ++f) {
    const FieldDescriptor& d = kFields[f];
    const int first = kLeft + (f == kStart ? d.column : ValueColumn(d)) - 1;
    const int row = kTop + d.row - 1;
    ClickZone z = MakeZone(kKeyFieldClick, first, kLeft + ValueColumn(d) + d.width - 1, row, row);
    z.field = static_cast<uint8_t>(f + 1);
    if (f == kStart) {
      z.secondCode = kKeyEnter;
      z.memory = 1;
    }
    zones[f] = z;
  }
}

void ShowAll(RecodeParams& p) {
  for (int f = 0; f < kStart; ++f)
    ShowField(kAreaRecoding, kFields[f], ValueOf(p, f), ShowMode::LabelAndValue);
  ShowField(kAreaRecoding, kFields[kStart], std::string(), ShowMode::LabelAndValue);
}

// Edits one field until its value lies in its range; returns the key.
uint8_t EditOne(RecodeParams& p, int f) {
  uint8_t key = 0;
  if (f == kStart) {
    std::string none;
    EditField(kAreaRecoding, none, kFields[f], key, kExitKeys);
    return key;
  }
  for (;;) {
    int16_t value = ValueOf(p, f);
    EditField(kAreaRecoding, value, kFields[f], key, kExitKeys);
    if (key == kKeyEsc || InRange(f, value)) {
      if (key != kKeyEsc) ValueOf(p, f) = value;
      ShowField(kAreaRecoding, kFields[f], ValueOf(p, f), ShowMode::Value);
      return key;
    }
    Beep();
  }
}

}  // namespace

bool EditRecodeParams(RecodeParams& params) {
  WindowDesc w;
  w.scheme = kWindowScheme;
  w.frame = 'D';
  w.left = kLeft, w.top = kTop, w.right = kRight, w.bottom = kBottom;
  w.buttons = "Esc^regresa F11^borra F12^recupera";
  w.header = "Recodificacion General";
  if (!OpenWindow(w)) return false;
  params = RecodeParams{};
  ShowAll(params);
  SetFieldZones();
  int field = kFirst;
  for (;;) {
    const uint8_t k = EditOne(params, field);
    if (k == kKeyEsc) {
      CloseRecodeWindow();
      return false;
    }
    if (k == kKeyFieldClick) {
      const int clicked = Input().clickedField - 1;
      if (clicked >= 0 && clicked < kFieldCount) field = clicked;
    } else if (k == kKeyUp) {
      if (field > kFirst) --field;
    } else if (field == kStart) {
      ClearZoneTable(kFieldZoneTable);
      return true;
    } else {
      ++field;
    }
  }
}

void CloseRecodeWindow() {
  ClearZoneTable(kFieldZoneTable);
  CloseWindow();
}

}  // namespace vantu
