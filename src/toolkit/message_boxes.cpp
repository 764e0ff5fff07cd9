#include "toolkit/message_boxes.h"

#include "platform/platform.h"

namespace vantu {

char AlertBox(const std::string& text, const std::string& caption) {
  return Host().MessageBox(text, caption, BoxIcon::Warning, BoxButtons::Ok) == BoxAnswer::Ok ? 'S'
                                                                                             : ' ';
}

char AlertBox(const std::vector<std::string>& lines, const std::string& caption) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r") + line;
  return AlertBox(text, caption);
}

char ConfirmBox(const std::string& text, const std::string& caption) {
  return Host().MessageBox(text, caption, BoxIcon::Warning, BoxButtons::YesNo) == BoxAnswer::Yes
             ? 'S'
             : 'N';
}

char ChoiceBox(const std::string& text, const std::string& caption) {
  switch (Host().MessageBox(text, caption, BoxIcon::Warning, BoxButtons::YesNoCancel)) {
    case BoxAnswer::Yes:
      return 'S';
    case BoxAnswer::No:
      return 'N';
    default:
      return 'C';
  }
}

bool ChoosePrinter() {
  try {
    return Host().PrintDialog();
  } catch (const PlatformError&) {
    Host().MessageBox("Error del Sistema Operativo - Reintente", "", BoxIcon::Error,
                      BoxButtons::Ok);
    return false;
  }
}

bool ChooseFile(const std::string& initialDir, const std::string& title, const std::string& filter,
                int options, std::string& fileName) {
  try {
    return Host().OpenFileDialog(initialDir, title, filter, options, fileName);
  } catch (const PlatformError&) {
    Host().MessageBox("Error del Sistema Operativo - Fue Controlado - PuedeContinuar", "",
                      BoxIcon::Error, BoxButtons::Ok);
    return false;
  }
}

}  // namespace vantu
