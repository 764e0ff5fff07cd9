#include "gui/key_translate.h"

#include "gui/dialog_text.h"

namespace vantu::gui {

namespace {

VKey KeyOf(int k) {
  switch (k) {
    case Qt::Key_Backspace:
      return VKey::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VKey::Enter;
    case Qt::Key_Escape:
      return VKey::Esc;
    case Qt::Key_Up:
      return VKey::Up;
    case Qt::Key_Down:
      return VKey::Down;
    case Qt::Key_Left:
      return VKey::Left;
    case Qt::Key_Right:
      return VKey::Right;
    case Qt::Key_Delete:
      return VKey::Delete;
    case Qt::Key_Insert:
      return VKey::Insert;
    case Qt::Key_Home:
      return VKey::Home;
    case Qt::Key_End:
      return VKey::End;
    case Qt::Key_PageUp:
      return VKey::PgUp;
    case Qt::Key_PageDown:
      return VKey::PgDn;
    default:
      break;
  }
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
    return static_cast<VKey>(static_cast<int>(VKey::F1) + (k - Qt::Key_F1));
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return VKey::Letter;
  return VKey::Other;
}

}  // namespace

TranslatedKey TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  TranslatedKey t;
  t.key = KeyOf(qtKey);
  t.mods.shift = modifiers & Qt::ShiftModifier;
  t.mods.ctrl = modifiers & Qt::ControlModifier;
  t.mods.alt = modifiers & Qt::AltModifier;
  if (t.key == VKey::Letter) t.letter = static_cast<char>('A' + (qtKey - Qt::Key_A));
  if (text.size() == 1) {
    // A character without a Windows-1252 code comes back as '?'.
    const std::string bytes = QtToCore(text);
    if (bytes != "?" || text == QStringLiteral("?")) t.ch = static_cast<uint8_t>(bytes[0]);
    // Bytes 128 to 184 are the codes of special keys (161 ¡ is Alt+Q):
    // typed as characters they are dropped, not taken as commands.
    if (t.ch >= kKeyUp && t.ch <= kKeyAltF2) t.ch = -1;
  }
  // Ctrl with a letter types its control character (Ctrl+A = 1), whatever
  // text the platform attached.
  if (t.key == VKey::Letter && t.mods.ctrl && !t.mods.alt) t.ch = t.letter - 'A' + 1;
  return t;
}

TranslatedKey TranslateKey(const QKeyEvent& e) {
  return TranslateKey(e.key(), e.modifiers(), e.text());
}

void DeliverKey(const QKeyEvent& e) {
  const TranslatedKey t = TranslateKey(e);
  HostKeyEvent(t.key, t.mods, t.letter, t.ch);
}

bool IsDialogKey(int k) {
  switch (k) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return true;
    default:
      return false;
  }
}

}  // namespace vantu::gui
