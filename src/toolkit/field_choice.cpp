#include "toolkit/field_choice.h"

#include <algorithm>

#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"
#include "toolkit/field_editor.h"
#include "toolkit/field_hooks.h"
#include "toolkit/key_reader.h"
#include "toolkit/numbers.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

constexpr int kChoiceZoneTable = 5;

struct Range {
  int lo = 1, hi = 0;
};

Range OptionRange(const FieldDescriptor& d) {
  const int count =
      std::min<int>({d.choiceCount, kMaxChoices, static_cast<int>(d.choiceTexts->size())});
  Range r;
  r.lo = d.minValue.empty() ? 1 : std::max(1, TextToInt(d.minValue));
  r.hi = d.maxValue.empty() ? count : std::min(count, TextToInt(d.maxValue));
  return r;
}

void DrawOptions(const FieldDescriptor& d, Range r, int current, int width) {
  for (int n = r.lo; n <= r.hi; ++n) {
    GotoXY(1, n - r.lo + 1);
    if (n == current)
      FieldBoldText();
    else
      NormalText();
    std::string text = (*d.choiceTexts)[n - 1];
    text.resize(width, ' ');
    WriteText(text);
  }
  NormalText();
}

}  // namespace

void EditChoiceField(int area, int16_t& choice, const FieldDescriptor& d, uint8_t& key) {
  key = kKeyEsc;
  if (!IsChoiceField(d)) return;
  const Range r = OptionRange(d);
  if (r.hi < r.lo) return;
  int width = 0;
  for (int n = r.lo; n <= r.hi; ++n)
    width = std::max<int>(width, static_cast<int>((*d.choiceTexts)[n - 1].size()));
  const ScreenState& s = Screen();
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'S';
  w.left = std::min(s.left + ValueColumn(d) - 2, s.columns - width - 1);
  w.right = w.left + width + 1;
  w.top = s.top + d.row;
  w.bottom = w.top + (r.hi - r.lo) + 2;
  if (w.bottom > s.rows) {  // no room below: above the field
    w.bottom = s.top + d.row - 2;
    w.top = w.bottom - (r.hi - r.lo) - 2;
  }
  if (!OpenWindow(w)) return;
  ZoneTable saved = Zones(kChoiceZoneTable);
  ClearZoneTable(kChoiceZoneTable);
  for (int n = r.lo; n <= r.hi; ++n)
    Zones(kChoiceZoneTable)[n - r.lo] =
        MakeZone(kKeyFieldClick, w.left, w.left + width - 1, w.top + n - r.lo, w.top + n - r.lo);
  int current = std::clamp<int>(choice, r.lo, r.hi);
  for (;;) {
    DrawOptions(d, r, current, width);
    const uint8_t k = GetKey();
    if (k == kKeyUp && current > r.lo) {
      --current;
    } else if (k == kKeyDown && current < r.hi) {
      ++current;
    } else if (k == kKeyFieldClick && Input().noTypedKey) {
      const int n = Input().mouseRow - w.top + r.lo;
      if (n < r.lo || n > r.hi) continue;
      current = n;
      key = kKeyEnter;
      break;
    } else if (k == kKeyEnter || k == kKeyEsc) {
      key = k;
      break;
    } else {
      Beep();
    }
  }
  Zones(kChoiceZoneTable) = saved;
  CloseWindow();
  if (key != kKeyEnter) return;
  choice = static_cast<int16_t>(current);
  if (FieldEditorHooks().markChanged) FieldEditorHooks().markChanged(area);
}

}  // namespace vantu
