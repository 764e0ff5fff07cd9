#include "toolkit/message_boxes.h"

#include "platform/platform.h"

namespace vantu {

char AlertBox(const std::string& text, const std::string& caption) {
  return Host().MessageBox(text, caption, BoxIcon::Warning, BoxButtons::Ok) == BoxAnswer::Ok ? 'S'
                                                                                             : ' ';
}

char ConfirmBox(const std::string& text, const std::string& caption) {
  return Host().MessageBox(text, caption, BoxIcon::Warning, BoxButtons::YesNo) == BoxAnswer::Yes
             ? 'S'
             : 'N';
}

char ChoiceBox(const std::string& text, const std::string& caption) {
  switch (Host().MessageBox(text, caption, BoxIcon::Warning, BoxButtons::YesNoCancel)) {
    case BoxAnswer::Yes: return 'S';
    case BoxAnswer::No: return 'N';
    default: return 'C';
  }
}

}  // namespace vantu
