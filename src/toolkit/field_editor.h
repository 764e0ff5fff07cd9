#pragma once
// The field editor: shows a field's label and value, lets the user edit the
// value in place with keys and clicks, validates it when the user leaves
// with an exit key, stores the value and tells which key ended the editing.

#include <cstdint>
#include <string>

#include "toolkit/field_descriptor.h"

namespace vantu {

// A click on a field zone (zone table 8); the editor either moves its
// cursor there or ends with this code so that the caller moves to the
// clicked field.
constexpr uint8_t kKeyFieldClick = 157;
constexpr uint8_t kKeyCtrlY = 25;

// Editing state of the field being edited.
struct FieldEditState {
  std::string text;  // as typed, up to 80 characters
  int cursor = 0;    // typed characters before the cursor
  int datePart = 0;  // dates: 0 day, 1 month, 2 year
  bool edited = false;
  bool valid = true;
};

// Edits until an exit key arrives with a valid text, stores the value and
// returns the exit key in `key`.
void EditField(int area, FieldValue& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys);
void EditField(int area, std::string& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys);
void EditField(int area, int16_t& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys);
void EditField(int area, long double& value, const FieldDescriptor& d, uint8_t& key,
               const KeySet& exitKeys);

enum class ShowMode { Value, LabelAndValue, Label };
// Writes the label and/or the value at the descriptor's position; reals
// right-aligned with separators, choice fields as their option text.
void ShowField(int area, const FieldDescriptor& d, const FieldValue& value, ShowMode mode);
// True when the last click hit the field's value (or its label too, with
// `withLabel`); `screenPos` is the clicked cell counted from the value's
// first cell, negative on the label.
bool ClickedOnField(const FieldDescriptor& d, bool withLabel, int& screenPos);
// `key` is a right click on the field's label or value: what the code
// fields answer with a proposal. A right click elsewhere is not theirs.
bool IsRightClickOn(uint8_t key, const FieldDescriptor& d);

// Ctrl+F1 (the AYUDA button) on a field of work area `area`: the general
// help screens where the area shows them, else a beep.
void FieldHelpKey(int area);

}  // namespace vantu
