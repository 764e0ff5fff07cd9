#pragma once
// Numbers of an exchange (.bc3) file as the format writes them: an optional
// sign, digits with an optional decimal point, an optional exponent
// ("1.5E-3"). Anything else ("nan", "inf", "0x10", "12,5", "1 000") is no
// number, and a number a field cannot hold is refused as well: an input
// from outside never brings a value the program could not have typed.

#include <string>

namespace vantu {

// The largest magnitude of each kind of field: a price or an amount fills
// 12 characters, a yield or a factor of an analysis line 9, a percentage is
// at most 100.
inline constexpr long double kBc3MaxPrice = 999999999999.0L;
inline constexpr long double kBc3MaxYield = 999999999.0L;
inline constexpr long double kBc3MaxPercent = 100.0L;

// Reads `text` (blanks around it ignored; empty gives `empty`) into value.
// "" when it reads and |value| <= limit; otherwise why, quoting the text.
std::string ReadBc3Number(const std::string& text, long double empty, long double limit,
                          long double& value);

}  // namespace vantu
