#pragma once
// Values of fields as texts and back, and the number display with
// thousands separators in the two styles of the configuration record:
//   style 0: 1"234.567'890.123,45   (decimal comma)
//   style 1: 1,234,567,890.12       (decimal point)

#include <string>

#include "toolkit/field_descriptor.h"

namespace vantu {

// Display width of a real field of `width` typed characters and `decimals`
// decimals (6 or more counts as 2): room for the separators added.
int NumberDisplayWidth(int width, int decimals);

// The number with separators in the current style, sign in front,
// right-aligned in `displayWidth` (never cut). Variable decimals (6 or
// more) lose trailing zeros down to an even count of at least 2.
std::string FormatNumber(int displayWidth, int decimals, long double value);
// The same in an explicit style (0 or 1).
std::string FormatNumberInStyle(int displayWidth, int decimals, long double value, int style);

// The value as plain text with a decimal point and no separators, the way
// the user types it; variable decimals trimmed as above.
std::string PlainNumber(long double value, int decimals);

// A number written with a decimal point in the program's own texts (a
// field's limit, "100.00") as the screens show numbers: with the decimal
// comma in style 0.
std::string ShownDecimal(const std::string& plain);

// value -> text. Kinds A, D, K, S copy the string; I prints the integer
// (empty for 0 when the area shows zeros blank); R prints plain, or with
// separators right-aligned in the display width when `separators` is set.
std::string FormatFieldValue(int area, const FieldValue& value, const FieldDescriptor& d,
                             bool separators);
// text -> value of the kind's type; an empty I or R text is 0.
void ParseFieldValue(FieldValue& value, const FieldDescriptor& d, const std::string& text);

}  // namespace vantu
