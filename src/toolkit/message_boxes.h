#pragma once
// Platform message boxes with the answers the modules test: 'S', 'N', 'C',
// and the print and open-file dialogs.

#include <string>
#include <vector>

namespace vantu {

// OK only: 'S' when OK is pressed, else ' '.
char AlertBox(const std::string& text, const std::string& caption);
// The same, one line of the box per entry.
char AlertBox(const std::vector<std::string>& lines, const std::string& caption);
// Yes/No: 'S' or 'N'.
char ConfirmBox(const std::string& text, const std::string& caption);
// Yes/No/Cancel: 'S', 'N', or 'C' for anything else.
char ChoiceBox(const std::string& text, const std::string& caption);

// The print dialog; false when cancelled or when the dialog fails (the
// failure is reported in an error box).
bool ChoosePrinter();
// The open-file dialog; on acceptance `fileName` receives the path. False
// when cancelled or when the dialog fails (reported in an error box).
bool ChooseFile(const std::string& initialDir, const std::string& title, const std::string& filter,
                int options, std::string& fileName);

}  // namespace vantu
