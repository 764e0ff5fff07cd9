#pragma once
// A small pop-up menu of one-line entries: arrows move, Enter or a click
// chooses, Esc cancels.

#include <string>
#include <vector>

namespace vantu {

// Opens the menu with its top-left corner at (left, top), 25 columns wide
// or wider for a long title;
// the entry chosen (0-based) or -1.
int RunPopupMenu(const std::string& title, const std::vector<std::string>& entries, int left,
                 int top, const std::string& buttons);

}  // namespace vantu
