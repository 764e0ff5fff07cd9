#pragma once
// Key codes, the 64-slot key queue, the shared input state and the
// translation of keyboard events into one-byte codes.

#include <array>
#include <cstdint>

namespace vantu {

// Special key codes.
enum KeyCode : uint8_t {
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyEsc = 27,
  kKeyUp = 128,
  kKeyDown = 129,
  kKeyLeft = 130,
  kKeyRight = 131,
  kKeyDelete = 132,
  kKeyF1 = 133,
  kKeyF2 = 134,
  kKeyF3 = 135,
  kKeyF4 = 136,
  kKeyF5 = 137,
  kKeyF6 = 138,
  kKeyF7 = 139,
  kKeyF8 = 140,
  kKeyF9 = 141,
  kKeyF10 = 142,
  kKeyPgDn = 143,
  kKeyPgUp = 144,
  kKeyAltA = 145,  // Alt+A..Alt+Z are 145..170
  kKeyAltN = 158,
  kKeyAltV = 166,
  kKeyAltX = 168,
  kKeyHome = 171,
  kKeyEnd = 172,
  kKeyCtrlPgUp = 173,
  kKeyCtrlPgDn = 174,
  kKeyF11 = 175,
  kKeyF12 = 176,
  kKeyCtrlHome = 177,
  kKeyCtrlEnd = 178,
  kKeyCtrlF1 = 179,
  kKeyCtrlF2 = 180,
  kKeyInsert = 181,
  kKeyAltF1 = 182,
  kKeyCtrlF12 = 183,
  kKeyAltF2 = 184,
  kKeyNoZone = 255,
};

// Keys as the host reports them on key down, independent of any toolkit.
enum class VKey {
  Other,
  Backspace,
  Tab,
  Enter,
  Esc,
  Up,
  Down,
  Left,
  Right,
  Delete,
  Insert,
  Home,
  End,
  PgUp,
  PgDn,
  F1,  // F1..F12 consecutive
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  Letter,  // A..Z; the letter is passed separately
};

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Code for a key-down event (0 = none). `letter` is 'A'..'Z' for VKey::Letter.
uint8_t KeyDownCode(VKey key, Modifiers mods, char letter = 0);

// Keyboard events as the console handles them: key down pushes its code
// and remembers it so that the key-press character that follows is dropped.
void KeyDownEvent(VKey key, Modifiers mods, char letter = 0);
void KeyPressEvent(uint8_t ch);
// One key event as a host reports it: the key down, then its character
// (ch < 0 when there is none). Alt combinations bring no character.
void HostKeyEvent(VKey key, Modifiers mods, char letter, int ch);

struct InputState {
  // Ring of 64 slots, indexes 1..64; empty when equal.
  std::array<uint8_t, 65> queue{};
  int writeIndex = 1;
  int readIndex = 1;
  uint8_t suppressNextChar = 0;  // SuppressNextChar
  bool noTypedKey = true;        // NoTypedKey
  int16_t mouseCol = 0, mouseRow = 0;
  int16_t mouseButton = -1;  // -1 left, 1 right
  uint16_t clickedField = 0;
  bool caretWanted = false;
  bool zoneTable8Off = false;
};

InputState& Input();
void ResetInput();

bool PushKey(uint8_t code);
bool KeyQueueEmpty();
// Takes a code without waiting; false when the queue is empty.
bool PopKey(uint8_t& code);

// Lets the host process its events, then tells whether a code waits.
bool KeyPressed();
// Waits for a code, blocked in the host's wait for events meanwhile.
uint8_t ReadKey();

}  // namespace vantu
