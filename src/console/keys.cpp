#include "console/keys.h"

#include "console/console.h"
#include "platform/platform.h"

namespace vantu {

namespace {
InputState gInput;
constexpr int kQueueSlots = 64;

int Advance(int index) {
  return index == kQueueSlots ? 1 : index + 1;
}

uint8_t PlainCode(VKey key) {
  switch (key) {
    case VKey::Backspace:
      return kKeyBackspace;
    case VKey::Tab:
      return kKeyTab;
    case VKey::Enter:
      return kKeyEnter;
    case VKey::Esc:
      return kKeyEsc;
    case VKey::Up:
      return kKeyUp;
    case VKey::Down:
      return kKeyDown;
    case VKey::Left:
      return kKeyLeft;
    case VKey::Right:
      return kKeyRight;
    case VKey::Delete:
      return kKeyDelete;
    case VKey::Insert:
      return kKeyInsert;
    case VKey::Home:
      return kKeyHome;
    case VKey::End:
      return kKeyEnd;
    case VKey::PgUp:
      return kKeyPgUp;
    case VKey::PgDn:
      return kKeyPgDn;
    case VKey::F11:
      return kKeyF11;
    case VKey::F12:
      return kKeyF12;
    case VKey::F10:
      return 0;  // never reaches the console
    default:
      break;
  }
  if (key >= VKey::F1 && key <= VKey::F9)
    return static_cast<uint8_t>(kKeyF1 + (static_cast<int>(key) - static_cast<int>(VKey::F1)));
  return 0;
}

uint8_t CtrlCode(VKey key) {
  switch (key) {
    case VKey::PgUp:
      return kKeyCtrlPgUp;
    case VKey::PgDn:
      return kKeyCtrlPgDn;
    case VKey::End:
      return kKeyCtrlEnd;
    case VKey::Home:
      return kKeyCtrlHome;
    case VKey::F1:
      return kKeyCtrlF1;
    case VKey::F2:
      return kKeyCtrlF2;
    case VKey::F12:
      return kKeyCtrlF12;  // the budget's "Explicacion" names this key
    default:
      return 0;
  }
}

uint8_t AltCode(VKey key, char letter) {
  if (key == VKey::Letter && letter >= 'A' && letter <= 'Z')
    return static_cast<uint8_t>(kKeyAltA + (letter - 'A'));
  if (key == VKey::F1) return kKeyAltF1;
  if (key == VKey::F2) return kKeyAltF2;
  return 0;
}

}  // namespace

InputState& Input() {
  return gInput;
}
void ResetInput() {
  gInput = InputState{};
}

uint8_t KeyDownCode(VKey key, Modifiers mods, char letter) {
  if (mods.alt) return AltCode(key, letter);
  if (mods.ctrl) return CtrlCode(key);
  return PlainCode(key);
}

void KeyDownEvent(VKey key, Modifiers mods, char letter) {
  gInput.noTypedKey = false;
  uint8_t code = KeyDownCode(key, mods, letter);
  gInput.suppressNextChar = code;
  if (code != 0) PushKey(code);
}

void KeyPressEvent(uint8_t ch) {
  gInput.noTypedKey = false;
  if (gInput.suppressNextChar != 0) {
    gInput.suppressNextChar = 0;
    return;
  }
  PushKey(ch);
}

void HostKeyEvent(VKey key, Modifiers mods, char letter, int ch) {
  KeyDownEvent(key, mods, letter);
  if (ch >= 0 && ch <= 255 && !mods.alt) KeyPressEvent(static_cast<uint8_t>(ch));
}

bool PushKey(uint8_t code) {
  int next = Advance(gInput.writeIndex);
  if (next == gInput.readIndex) return false;
  gInput.queue[gInput.writeIndex] = code;
  gInput.writeIndex = next;
  return true;
}

bool KeyQueueEmpty() {
  return gInput.writeIndex == gInput.readIndex;
}

bool PopKey(uint8_t& code) {
  if (KeyQueueEmpty()) return false;
  code = gInput.queue[gInput.readIndex];
  gInput.readIndex = Advance(gInput.readIndex);
  return true;
}

bool KeyPressed() {
  Host().ProcessEvents();
  return !KeyQueueEmpty();
}

uint8_t ReadKey() {
  for (;;) {
    Host().FocusConsole();
    const ScreenState& s = Screen();
    if (gInput.caretWanted) Host().ShowCaret(true, s.left + s.cursorX - 1, s.top + s.cursorY - 1);
    while (KeyQueueEmpty()) {
      Host().ProcessEvents();
      if (KeyQueueEmpty()) Host().WaitForEvents();
    }
    uint8_t code = 0;
    bool taken = PopKey(code);
    if (gInput.caretWanted) Host().ShowCaret(false, 0, 0);
    if (taken) return code;
  }
}

}  // namespace vantu
