#pragma once
// The checks made when the user leaves a field with an exit key.

#include <string>

#include "toolkit/field_descriptor.h"

namespace vantu {

// True when `text` is valid for the field; otherwise `message` gets the
// text for the message line and `errorPos` the cursor position of the error
// (typed characters before it; for dates 0 day, 2 month, 4 year).
bool ValidateField(int area, const std::string& text, const FieldDescriptor& d,
                   std::string& message, int& errorPos);

}  // namespace vantu
