#include "console/key_buttons.h"

#include <gtest/gtest.h>

#include "console/keys.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

using KeyButtonsTest = test::HeadlessTest;

TEST_F(KeyButtonsTest, LabelParsing) {
  ShowKeyButtons(0, 25, "Esc^regresa CtrlF1^ayuda_teclas", false, 1);
  const KeyButtonRow& row = Buttons().rows[0];
  ASSERT_TRUE(row.shown);
  ASSERT_EQ(row.buttons.size(), 2u);
  EXPECT_EQ(row.buttons[0].caption, "REGRESA");
  EXPECT_EQ(row.buttons[0].code, 27);
  EXPECT_EQ(row.buttons[0].hint, "Tecla: Esc");
  EXPECT_EQ(row.buttons[1].caption, "AYUDA TECLAS");
  EXPECT_EQ(row.buttons[1].code, 179);
  EXPECT_EQ(row.buttons[1].hint, "Tecla: CtrlF1");
}

TEST_F(KeyButtonsTest, KeyNames) {
  const std::pair<const char*, int> cases[] = {
      {"tab", 9},         {"Intro", 13},      {"ESC", 27},      {"Fin", 172},    {"Inicio", 171},
      {"Insert", 181},    {"F1", 133},        {"F9", 141},      {"F10", 255},    {"F11", 175},
      {"F12", 176},       {"Supr", 132},      {"CtrlF1", 179},  {"CtrlF2", 180}, {"CtrlF12", 183},
      {"CtrlRePag", 173}, {"CtrlAvPag", 174}, {"CtrlFin", 178}, {"AltF1", 182},  {"AltF2", 184},
      {"AltX", 168},      {"AltV", 166},      {"AltN", 158},    {"A", 255},      {"", 255}};
  for (const auto& [name, code] : cases) EXPECT_EQ(KeyName(name), code) << name;
}

TEST_F(KeyButtonsTest, KeyPartUpToSlashGivesTheCode) {
  ShowKeyButtons(0, 25, "Insert/Esc^sale", false, 1);
  EXPECT_EQ(Buttons().rows[0].buttons[0].code, 181);
  EXPECT_EQ(Buttons().rows[0].buttons[0].hint, "Tecla: Insert/Esc");
}

TEST_F(KeyButtonsTest, SameLabelWithoutForceIsKept) {
  ShowKeyButtons(0, 25, "Esc^regresa", false, 1);
  Buttons().rows[0].buttons[0].caption = "MARK";
  ShowKeyButtons(0, 25, "Esc^regresa", false, 1);
  EXPECT_EQ(Buttons().rows[0].buttons[0].caption, "MARK");
  ShowKeyButtons(0, 25, "Esc^regresa", true, 1);
  EXPECT_EQ(Buttons().rows[0].buttons[0].caption, "REGRESA");
}

TEST_F(KeyButtonsTest, GeometryOfBothLinesAndRightAlignedRow) {
  const int w = 9, h = 18;  // the headless cell
  std::string label;
  for (int i = 0; i < 9; ++i) label += "F1^x ";
  ShowKeyButtons(0, 25, label, false, 1);
  const auto& b = Buttons().rows[0].buttons;
  ASSERT_EQ(b.size(), 9u);
  const int margin = (3 * w) / 2;
  EXPECT_EQ(b[0].left, margin);
  EXPECT_EQ(b[0].top, 25 * h + h / 2);
  EXPECT_EQ(b[0].width, 10 * w);
  EXPECT_EQ(b[0].height, h);
  EXPECT_EQ(b[6].left, 6 * (11 * w + 2) + margin);
  EXPECT_EQ(b[7].left, margin);
  EXPECT_EQ(b[7].top, 27 * h);

  ShowKeyButtons(80, 25, "CtrlRePag^a CtrlAvPag^b CtrlFin^c", false, 2);
  const auto& r = Buttons().rows[1].buttons;
  ASSERT_EQ(r.size(), 3u);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(r[j].top, 27 * h);
    EXPECT_EQ(r[j].left, (4 + j) * (11 * w + 2) + margin);  // slots 5..7
  }
}

TEST_F(KeyButtonsTest, AtMostTwentyButtons) {
  std::string label;
  for (int i = 0; i < 25; ++i) label += "Esc^e ";
  ShowKeyButtons(0, 25, label, true, 1);
  EXPECT_EQ(Buttons().rows[0].buttons.size(), 20u);
  RemoveKeyButtons(1);
  EXPECT_FALSE(Buttons().rows[0].shown);
  EXPECT_TRUE(Buttons().rows[0].buttons.empty());
}

TEST_F(KeyButtonsTest, FreeStandingButtons) {
  AddButton(3, 10, 5, 'x', "Cerrar", "X");
  AddButton(3, 20, 5, 'y', "Otro", "Otro");
  const auto& f = Buttons().free;
  EXPECT_TRUE(f[0].bold);
  EXPECT_EQ(f[0].width, 18);
  EXPECT_EQ(f[0].left, 9 * 9);
  EXPECT_EQ(f[0].top, 4 * 18 + 1);
  EXPECT_EQ(f[0].height, 16);
  EXPECT_FALSE(f[1].bold);
  EXPECT_EQ(f[1].width, 4 * 9 - 4);
  HideButtonGroup(3);
  EXPECT_FALSE(f[0].visible);
  EXPECT_FALSE(f[1].enabled);
  ShowButtonGroup(3);
  EXPECT_TRUE(f[1].visible);
  FreeButtonGroup(3);
  EXPECT_FALSE(f[0].used);
  EXPECT_TRUE(host.Boxes().empty());
}

TEST_F(KeyButtonsTest, SlotErrorsShowTheirBoxes) {
  for (int i = 0; i < 20; ++i) AddButton(1, 1, 1, 'a', "", "a");
  AddButton(1, 1, 1, 'a', "", "a");
  FreeButton(1);
  FreeButton(1);
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[0].text, "No hay Botones disponibles");
  EXPECT_EQ(host.Boxes()[0].caption, "Error Aplicativo");
  EXPECT_EQ(host.Boxes()[1].text, "Boton no existe");
}

TEST_F(KeyButtonsTest, PressingAButtonQueuesItsCode) {
  Input().clickedField = 4;
  PressButtonCode(168);
  uint8_t c;
  ASSERT_TRUE(PopKey(c));
  EXPECT_EQ(c, 168);
  EXPECT_EQ(Input().clickedField, 0);
}

}  // namespace
}  // namespace vantu
