#pragma once
// A small centred window with one or more message lines.

#include <cstdint>
#include <string>
#include <vector>

namespace vantu {

constexpr int kErrorScheme = 8;      // error boxes
constexpr int kNotFoundScheme = 13;  // "not found"

// Shows the lines centred on the screen with a beep and waits for a key;
// returns it. When no window can be opened the first line goes to the
// message line instead.
// `buttons` is the key-button row while it waits ("Esc^regresa" when empty).
uint8_t ShowMessageWindow(const std::vector<std::string>& lines, int scheme = kErrorScheme,
                          const std::string& buttons = "");

}  // namespace vantu
