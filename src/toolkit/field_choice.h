#pragma once
// Choice fields: a kind I field whose value is the number of one of its
// option texts.

#include <cstdint>

#include "toolkit/field_descriptor.h"

namespace vantu {

// Opens the option list under the field, the current option highlighted;
// arrows or a click move, Enter or a click chooses (the area's record is
// marked changed), Esc keeps the old choice. `key` gets Enter or Esc.
void EditChoiceField(int area, int16_t& choice, const FieldDescriptor& d, uint8_t& key);

}  // namespace vantu
