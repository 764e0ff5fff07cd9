#pragma once
// Platform message boxes with the answers the modules test: 'S', 'N', 'C'.

#include <string>

namespace vantu {

// OK only: 'S' when OK is pressed, else ' '.
char AlertBox(const std::string& text, const std::string& caption);
// Yes/No: 'S' or 'N'.
char ConfirmBox(const std::string& text, const std::string& caption);
// Yes/No/Cancel: 'S', 'N', or 'C' for anything else.
char ChoiceBox(const std::string& text, const std::string& caption);

}  // namespace vantu
