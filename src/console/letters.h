#pragma once
// The Windows-1252 letters and signs of Spanish text beyond plain ASCII and
// Ñ ñ. Their bytes are also code page 437 frame and block shapes, so a cell
// shows one as a letter only when it is marked as holding text typed into a
// field.

#include <cstdint>
#include <string>

namespace vantu {

// Cell flag: the cell's byte is a letter of a field's value.
inline constexpr uint16_t kLetterCell = 0x0400;

// á é í ó ú ü, their capitals, ¿ and º. ¡ (161) and ª (170) are left out:
// their bytes are the key codes of Alt+Q and Alt+Z.
inline bool IsAccentedLetter(uint8_t c) {
  constexpr uint8_t kLetters[] = {
      193, 201, 205, 211, 218, 220,  // Á É Í Ó Ú Ü
      225, 233, 237, 243, 250, 252,  // á é í ó ú ü
      186, 191,                      // º ¿
  };
  for (uint8_t l : kLetters)
    if (c == l) return true;
  return false;
}

// WriteText for data: the accented letters of `s` are shown as letters.
void WriteLetters(const std::string& s);

}  // namespace vantu
