#include "toolkit/field_descriptor.h"

#include "console/letters.h"
#include "toolkit/field_format.h"
#include "toolkit/field_hooks.h"

namespace vantu {

namespace {
FieldHooks gHooks;
FieldEditorState gState;

constexpr uint8_t kCapitalEnye = 209;
constexpr uint8_t kSmallEnye = 241;

bool IsDigit(uint8_t c) {
  return c >= '0' && c <= '9';
}
}  // namespace

FieldHooks& FieldEditorHooks() {
  return gHooks;
}
FieldEditorState& FieldEditor() {
  return gState;
}
void ResetFieldEditor() {
  gHooks = FieldHooks{};
  gState = FieldEditorState{};
}

bool AreaListsAllowed(int area) {
  return gHooks.listsAllowed && gHooks.listsAllowed(area);
}
bool AreaHelpAllowed(int area) {
  return gHooks.helpAllowed && gHooks.helpAllowed(area);
}
bool AreaBlankZeros(int area) {
  return gHooks.blankZeros && gHooks.blankZeros(area);
}
bool AreaHasRecords(int area) {
  return gHooks.hasRecords && gHooks.hasRecords(area);
}

bool IsChoiceField(const FieldDescriptor& d) {
  return d.choiceCount > 0 && d.choiceTexts != nullptr;
}

int ValueColumn(const FieldDescriptor& d) {
  return d.column + static_cast<int>(d.label.size()) + 1;
}

int ValueDisplayWidth(const FieldDescriptor& d) {
  if (d.kind == kKindReal) return NumberDisplayWidth(d.width, d.decimals);
  if (d.kind == kKindDate) return static_cast<int>(kDateTemplate.size());
  return d.width;
}

bool IsPrintableKey(uint8_t c) {
  return (c >= 32 && c <= 126) || c == kCapitalEnye || c == kSmallEnye || IsAccentedLetter(c);
}

bool KindAcceptsChar(char kind, uint8_t c) {
  switch (kind) {
    case kKindAlnum:
      return IsDigit(c) || (c >= 'A' && c <= 'Z');
    case kKindText:
      return IsPrintableKey(c);
    case kKindCode:
    case kKindDate:
    case kKindInt:
      return IsDigit(c);
    case kKindReal:
      return IsDigit(c) || c == '.';
    default:
      return false;
  }
}

FieldDescriptor MakeField(const std::string& label, char kind, int width, int column, int row) {
  FieldDescriptor d;
  d.label = label;
  d.kind = kind;
  d.width = static_cast<int16_t>(width);
  d.column = static_cast<int16_t>(column);
  d.row = static_cast<int16_t>(row);
  return d;
}

}  // namespace vantu
