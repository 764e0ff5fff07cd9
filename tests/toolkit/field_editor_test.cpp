#include "toolkit/field_editor.h"

#include <gtest/gtest.h>

#include "console/keys.h"
#include "session/shell_state.h"
#include "toolkit/field_fixture.h"
#include "toolkit/status_line.h"

namespace vantu::test {
namespace {

constexpr int kEnter = 13;
constexpr int kRight = 131;
constexpr int kDelete = 132;
constexpr int kBack = 8;
constexpr int kF11 = 175;
constexpr int kF12 = 176;

std::vector<int> Keys(const std::string& typed, std::vector<int> tail = {kEnter}) {
  std::vector<int> k;
  for (unsigned char c : typed) k.push_back(c);
  k.insert(k.end(), tail.begin(), tail.end());
  return k;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The message as ShowStatusMessage centres it on row 25.
bool MessageOnStatusLine(const std::string& m) {
  const int col = (80 - static_cast<int>(m.size())) / 2;
  return col >= 1 && ScreenRow(25).substr(col - 1, m.size()) == m;
}

using FieldEditorTest = FieldTest;

TEST_F(FieldEditorTest, KeyScriptsGiveTextValueAndMessage) {
  struct Case {
    const char* name;
    FieldDescriptor d;
    FieldValue start;
    std::vector<int> keys;
    bool accepted;
    FieldValue stored;    // when accepted
    std::string message;  // when refused: the status line message
    int cursorPos;        // when refused: screen cell of the cursor in the value
    std::string shown;    // when refused: the value cells, trimmed right
    int beeps;
  };
  const FieldDescriptor code23 = Field('K', 5, 0, "2", "3");
  const Case cases[] = {
      {"5 over 1234 replaces it", Field('I', 4), int16_t{1234}, Keys("5"), true, int16_t{5}, "", 0,
       "", 0},
      {"after Right typing inserts and drops the last", Field('I', 4), int16_t{1234},
       Join({kRight}, Keys("5")), true, int16_t{1523}, "", 0, "", 0},
      {"first blank and double blank beep", Field('S', 10), std::string(), Keys(" A  B"), true,
       std::string("A B"), "", 0, "", 2},
      {"Backspace at the start beeps", Field('S', 10), std::string("AB"), Join({kBack}, Keys("")),
       true, std::string("AB"), "", 0, "", 1},
      {"Backspace inside deletes", Field('S', 10), std::string("AB"),
       Join({kRight, kRight, kBack}, Keys("")), true, std::string("A"), "", 0, "", 0},
      {"Backspace in a date beeps", Field('D', 6), std::string("12/05/98"),
       Join({kRight, kBack}, Keys("")), true, std::string("12/05/98"), "", 0, "", 1},
      {"Delete in the month gives 12/m5/98",
       Field('D', 6),
       std::string("12/05/98"),
       Join({kRight, kRight, kDelete}, Keys("")),
       false,
       {},
       "Mes ...en forma erronea",
       3,
       "12/m5/98",
       0},
      {"32/13/98 names day and month",
       Field('D', 6),
       std::string(),
       Keys("321398"),
       false,
       {},
       "Dia ...Mes ...en forma erronea",
       0,
       "32/13/98",
       0},
      {"typed date", Field('D', 6), std::string(), Keys("010299"), true, std::string("01/02/99"),
       "", 0, "", 0},
      {"seventh date digit beeps", Field('D', 6), std::string(), Keys("0102997"), true,
       std::string("01/02/99"), "", 0, "", 1},
      {"12.34 fits 5.2", Field('R', 5, 2), 0.0L, Keys("12.34"), true, 12.34L, "", 0, "", 0},
      {"123.45 has too many integers",
       Field('R', 5, 2),
       0.0L,
       Keys("123.45"),
       false,
       {},
       " Usar maximo 2 enteros ",
       3,
       "123.4",
       1},
      {"1.234 has too many decimals",
       Field('R', 5, 2),
       0.0L,
       Keys("1.234"),
       false,
       {},
       " Usar maximo 2 cifras decimales ",
       4,
       "1.234",
       0},
      {"two points are invalid",
       Field('R', 5, 2),
       0.0L,
       Keys("1..2"),
       false,
       {},
       " El Cursor muestra un caracter invalido ",
       2,
       "1..2",
       0},
      {"2.5 above 2.00",
       Field('R', 4, 2, "0.50", "2.00"),
       1.0L,
       Keys("2.5"),
       false,
       {},
       "  El valor no puede ser mayor de 2,00",
       0,
       "2.5",
       0},
      {"0.4 below 0.50",
       Field('R', 4, 2, "0.50", "2.00"),
       1.0L,
       Keys("0.4"),
       false,
       {},
       "  El valor no puede ser menor de 0,50",
       0,
       "0.4",
       0},
      {"1.25 inside the limits", Field('R', 4, 2, "0.50", "2.00"), 1.0L, Keys("1.25"), true, 1.25L,
       "", 0, "", 0},
      {"empty integer stores 0", Field('I', 4, 0, "5", "9"), int16_t{7}, Join({kF11}, Keys("")),
       true, int16_t{0}, "", 0, "", 0},
      {"empty real stores 0", Field('R', 5, 2, "1", "2"), 1.5L, Join({25}, Keys("")), true, 0.0L,
       "", 0, "", 0},
      {"integer above 16 bits",
       Field('I', 6),
       int16_t{0},
       Keys("40000"),
       false,
       {},
       " El Cursor muestra un caracter invalido ",
       4,
       "40000",
       0},
      {"code of 2", code23, std::string(), Keys("01"), true, std::string("01"), "", 0, "", 0},
      {"code of 3", code23, std::string(), Keys("010"), true, std::string("010"), "", 0, "", 0},
      {"code of 5", code23, std::string(), Keys("01010"), true, std::string("01010"), "", 0, "", 0},
      {"code of 4",
       code23,
       std::string(),
       Keys("0101"),
       false,
       {},
       " Debe usar 2 o 3 o 5 caracteres ",
       0,
       "0101",
       0},
      {"code 00",
       code23,
       std::string(),
       Keys("00"),
       false,
       {},
       "El codigo no admite 2 ceros iniciales o 3 ceros finales",
       0,
       "00",
       0},
      {"exact code length",
       Field('K', 2, 0, "2", "2"),
       std::string(),
       Keys("1"),
       false,
       {},
       " Usar exactamente 2 caracteres ",
       0,
       "1",
       0},
      {"S keeps the inside of blanks", Field('S', 10), std::string("  ABC  "), Keys(""), true,
       std::string("ABC"), "", 0, "", 0},
      {"answer list",
       Field('A', 1, 0, "SN"),
       std::string(),
       Keys("X"),
       false,
       {},
       " Respuesta Invalida ",
       0,
       "X",
       0},
      {"minimum length",
       Field('S', 10, 0, "3", "10"),
       std::string(),
       Keys("AB"),
       false,
       {},
       " Usar como minimo 3 caracteres ",
       0,
       "AB",
       0},
      {"A refuses lower case", Field('A', 4), std::string(), Keys("aB"), true, std::string("B"), "",
       0, "", 1},
      {"F12 brings the entry text back", Field('S', 10), std::string("HOLA"),
       Join(Keys("X", {kF12}), Keys("")), true, std::string("HOLA"), "", 0, "", 0},
      {"width limits typing", Field('S', 3), std::string(), Keys("ABCD"), true, std::string("ABC"),
       "", 0, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    int beepsBefore = host.BeepCount();
    Outcome o = Edit(c.d, c.start, c.keys, 3);
    ASSERT_EQ(o.ended, c.accepted);
    if (c.accepted) {
      EXPECT_EQ(o.key, kEnter);
      EXPECT_EQ(o.value, c.stored);
      EXPECT_EQ(host.BeepCount() - beepsBefore, c.beeps);
    } else {
      EXPECT_TRUE(MessageOnStatusLine(c.message)) << ScreenRow(25);
      const ScreenState& s = Screen();
      EXPECT_EQ(s.left + s.cursorX - 1, ValueColumn(c.d) + c.cursorPos);
      std::string shown = ValueCells(c.d);
      shown.erase(shown.find_last_not_of(' ') + 1);
      EXPECT_EQ(shown, c.shown);
      EXPECT_EQ(host.BeepCount() - beepsBefore, c.beeps + 1);  // the message beeps
    }
    TearDown();
  }
}

TEST_F(FieldEditorTest, SecondaryCodeModeNamesTwoLengthsAndSkipsZeros) {
  FieldEditor().secondaryCodeMode = true;
  const FieldDescriptor d = Field('K', 6, 0, "2", "3");
  Outcome refused = Edit(d, std::string(), Keys("0101"));
  EXPECT_FALSE(refused.ended);
  EXPECT_TRUE(MessageOnStatusLine(" Debe usar 2 o 3 caracteres "));
  SetUp();
  FieldEditor().secondaryCodeMode = true;
  Outcome zero = Edit(d, std::string(), Keys("00"));
  ASSERT_TRUE(zero.ended);
  EXPECT_EQ(zero.value, FieldValue(std::string("00")));
}

TEST_F(FieldEditorTest, ZeroCheckDependsOnTheFileHoldingRecords) {
  const FieldDescriptor d = Field('K', 5, 0, "2", "3");
  FieldEditorHooks().hasRecords = [](int) { return false; };
  // An empty file only looks at the chapter part.
  Outcome first = Edit(d, std::string(), Keys("01000"));
  ASSERT_TRUE(first.ended);
  EXPECT_EQ(first.value, FieldValue(std::string("01000")));
  FieldEditorHooks().hasRecords = [](int) { return true; };
  EXPECT_FALSE(Edit(d, std::string(), Keys("01000")).ended);
}

TEST_F(FieldEditorTest, LeavingSetsChangeFlagsExceptForCodes) {
  int marked = 0;
  bool changed = false;
  FieldEditorHooks().markChanged = [&](int area) { marked += area; };
  FieldEditorHooks().setFieldChanged = [&](int, bool c) { changed = c; };
  Edit(Field('S', 10), std::string("AB"), Keys("C"));
  EXPECT_TRUE(changed);
  EXPECT_EQ(marked, 2);
  Edit(Field('S', 10), std::string("AB"), Keys(""));
  EXPECT_FALSE(changed);
  Edit(Field('K', 5, 0, "2", "3"), std::string("01"), Keys("02"));
  EXPECT_TRUE(changed);
  EXPECT_EQ(marked, 2);  // code changes are the code modules' business
}

TEST_F(FieldEditorTest, EscDuringTheReviewRestoresTheEntryText) {
  Review().active = true;
  host.TypeKeys(Keys("XY", {27}));
  host.TypeKeys({13});
  FieldValue v = std::string("AB");
  uint8_t key = 0;
  EditField(2, v, Field('S', 10), key, KeySet{13, 27});
  EXPECT_EQ(key, 13);
  EXPECT_EQ(v, FieldValue(std::string("AB")));
  // Outside the review Esc leaves with the text typed.
  Review().active = false;
  Outcome o = Edit(Field('S', 10), std::string("AB"), Keys("XY", {27}));
  EXPECT_EQ(o.key, 27);
  EXPECT_EQ(o.value, FieldValue(std::string("XY")));
}

TEST_F(FieldEditorTest, EscOfAReplayLeavesTheField) {
  Review().active = true;
  Review().replayActive = true;
  Review().replayKeys.clear();
  Shell().atMainMenu = false;
  FieldValue v = std::string("AB");
  uint8_t key = 0;
  EditField(2, v, Field('S', 10), key, KeySet{13, 27});
  EXPECT_EQ(key, 27);
  EXPECT_EQ(v, FieldValue(std::string("AB")));
  Review().active = false;
  Review().replayActive = false;
}

TEST_F(FieldEditorTest, ClickMovesTheCursorOrEndsWith157) {
  const FieldDescriptor d = Field('S', 10);  // value at column 9, row 5
  ClearZoneTable(8);
  Zones(8)[0] = MakeZone(157, 8, 17, 4, 4);  // this field
  Zones(8)[1] = MakeZone(157, 8, 17, 6, 6);  // the next field
  host.Click(9, 4);                          // second cell of the value: after "A"
  host.TypeText("X");
  host.Click(9, 6);
  FieldValue v = std::string("AB");
  uint8_t key = 0;
  EditField(2, v, d, key, KeySet{13});
  EXPECT_EQ(key, 157);
  EXPECT_EQ(v, FieldValue(std::string("AXB")));
}

TEST_F(FieldEditorTest, UndefinedQuantityIsReadOnly) {
  FieldEditorHooks().quantityUndefined = [](int area, const std::string&) { return area == 6; };
  Outcome o = Edit(Field('R', 12, 6), 0.0L, Keys("12"), 6);
  ASSERT_TRUE(o.ended);
  EXPECT_EQ(host.BeepCount(), 2);
  EXPECT_EQ(o.value, FieldValue(0.0L));
  EXPECT_EQ(ValueCells(Field('R', 12, 6)).substr(0, 13), "<POR DEFINIR>");
}

TEST_F(FieldEditorTest, F1WithoutListShowsWhyAndKeepsEditing) {
  bool seen = false;
  int depth = 0;
  host.TypeKeys({133});
  host.QueueStep([&] {
    seen = ScreenContains(".. Llamar Lista desde campo de Codigos ..");
    depth = WindowDepth();
    PushKey(27);  // closes the message window
  });
  host.TypeKeys(Keys("A"));
  FieldValue v = std::string();
  uint8_t key = 0;
  EditField(2, v, Field('S', 10), key, KeySet{13});
  EXPECT_TRUE(seen);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(v, FieldValue(std::string("A")));
  EXPECT_EQ(host.BeepCount(), 1);
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(FieldEditorTest, ARefusalLeavesRow25OnceTheCorrectedValueIsAccepted) {
  struct Case {
    const char* name;
    int area;  // 1: general data, whose row 25 comes back; 2: a data file
    std::string rowBefore, rowAfter;
  } cases[] = {
      {"general data puts its line back", 1, "F6 fecha", "F6 fecha"},
      {"a data screen keeps row 25 empty", 2, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteLineAt(25, std::string(80, ' '));
    WriteLineAt(25, c.rowBefore);
    const FieldDescriptor d = Field('R', 4, 2, "0.50", "2.00");
    // 2.5 is refused; 1.5 typed over it is accepted.
    host.TypeKeys(Keys("2.5"));
    const Outcome o = Edit(d, 1.0L, Keys("1.5"), c.area);
    ASSERT_TRUE(o.ended);
    EXPECT_EQ(std::get<long double>(o.value), 1.5L);
    EXPECT_EQ(StatusRow(), c.rowAfter);
    EXPECT_FALSE(Shell().messageShown);
    // A later restore of the saved line cannot bring the refusal back.
    ClearMessage(c.area);
    EXPECT_EQ(StatusRow(), c.rowAfter);
  }
}

}  // namespace
}  // namespace vantu::test
