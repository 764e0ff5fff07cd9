#pragma once
// What the field editor asks of the work areas and of the screens that use
// it. The toolkit is built before the work areas and the data-entry
// modules: their owners fill these hooks. An empty hook answers as a screen
// without lists, help, blank zeros or special fields would.

#include <functional>
#include <optional>
#include <string>

namespace vantu {

struct FieldHooks {
  // The area's screens may open the code lists with F1.
  std::function<bool(int area)> listsAllowed;
  // The area's screens show the general help with Ctrl+F1.
  std::function<bool(int area)> helpAllowed;
  // Integer fields of the area show 0 as an empty text.
  std::function<bool(int area)> blankZeros;
  // The area's data file holds records (the code zero check).
  std::function<bool(int area)> hasRecords;
  // FieldChanged of the area after a field was left.
  std::function<void(int area, bool changed)> setFieldChanged;
  // SavedChangeMarker of the area := 1.
  std::function<void(int area)> markChanged;
  // The budget item's quantity is "<POR DEFINIR>" and this is its field.
  std::function<bool(int area, const std::string& label)> quantityUndefined;
  // F3 in the budget item screen: show or hide the tender-document code.
  // Empty elsewhere, where F3 is an ordinary key.
  std::function<void(int area)> toggleTenderCode;
  // The subcontract screen's percentages do not add up to 100.
  std::function<bool(int area)> percentagesUnbalanced;
  // Esc in the budget item code field while a proposed code is shown: the
  // code it had before the proposal (the proposal is withdrawn).
  std::function<std::optional<std::string>(int area, const std::string& label)> withdrawProposal;
};

FieldHooks& FieldEditorHooks();

// State shared by the field editor and the screens.
struct FieldEditorState {
  // The text the last edited field had on entry (F12 brings it back).
  std::string entryText;
  // On while the analysis and budget screens take the code of a referenced
  // record in a secondary code field.
  bool secondaryCodeMode = false;
};

FieldEditorState& FieldEditor();
void ResetFieldEditor();  // state and hooks

bool AreaListsAllowed(int area);
bool AreaHelpAllowed(int area);
bool AreaBlankZeros(int area);
bool AreaHasRecords(int area);

}  // namespace vantu
