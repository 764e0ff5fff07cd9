#pragma once
// Key-button rows under the grid ("Esc^regresa CtrlF1^ayuda_teclas") and
// free-standing buttons on the console. The core keeps the model with its
// pixel geometry; the host shows real push buttons from it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantu {

// Code of a key name used in labels ("ESC", "CtrlF1", ...); 255 if unknown.
uint8_t KeyName(const std::string& name);

struct KeyButton {
  std::string caption;  // upper case, "_" turned into blanks
  std::string hint;     // "Tecla: " + key part
  uint8_t code = 255;
  int left = 0, top = 0, width = 0, height = 0;  // pixels on the panel
};

struct KeyButtonRow {
  bool shown = false;
  int x = 0, y = 0;
  std::string label;
  std::vector<KeyButton> buttons;  // at most 20
};

struct FreeButtonSlot {
  bool used = false;
  bool visible = true;
  bool enabled = true;
  bool bold = false;
  uint8_t group = 0;
  uint8_t col = 0, row = 0;
  uint8_t code = 0;
  std::string hint, caption;
  int left = 0, top = 0, width = 0, height = 0;  // pixels on the console
};

constexpr int kMaxButtons = 20;

struct ButtonState {
  std::array<KeyButtonRow, 2> rows;
  std::string lastUnforcedLabel;
  std::array<FreeButtonSlot, kMaxButtons> free;
};

ButtonState& Buttons();
void ResetButtons();

void ShowKeyButtons(int x, int y, const std::string& label, bool force, int row);
void RemoveKeyButtons(int row);
// Lays the rows out again for a new cell size (font change).
void RelayoutKeyButtons();

void AddButton(int group, int col, int row, uint8_t code, const std::string& hint,
               const std::string& caption);
void FreeButton(int index);  // 1..20
void ShowButtonGroup(int group);
void HideButtonGroup(int group);
void FreeButtonGroup(int group);
void RepaintButtonGroup(int group);

// A click on a key button or a free-standing button: focus, ClickedField 0,
// and the code pushed.
void PressButtonCode(uint8_t code);

}  // namespace vantu
