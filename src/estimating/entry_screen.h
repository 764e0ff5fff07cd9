#pragma once
// Pieces the data-entry screens share: click zones over their fields, the
// step through a choice field, and the calendar for a date field.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/field_descriptor.h"

namespace vantu {

// Zone table 8 gets one zone per field over its value: a click there ends
// the editing with 157 and publishes the field's number (1-based index in
// `fields`) in ClickedField. Null entries get no zone.
void SetFieldZones(const std::vector<const FieldDescriptor*>& fields);
// The field a 157 asks for, 0 when none.
int ClickedFieldNumber();

// A choice field on its turn: Enter, a click on it or a blank opens the
// option list; the key that leaves it is returned (Enter after a choice,
// or any key of `exitKeys`). `changed` tells whether the choice changed.
uint8_t ChoiceStep(int area, int16_t& choice, const FieldDescriptor& d, const KeySet& exitKeys,
                   bool& changed);

// The calendar on a "dd/mm/aa" date (today when it has none); the date
// chosen, as "dd/mm/aa".
std::string PickShortDate(const std::string& date);

}  // namespace vantu
