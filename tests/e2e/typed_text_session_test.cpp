// Numbers and words typed as a Spanish speaker types them: the decimal comma
// the screens show, and accented letters in descriptions.
#include <gtest/gtest.h>

#include <string>

#include "app/main_program.h"
#include "console/letters.h"
#include "records/record_ops_fixture.h"
#include "session/preferences.h"

namespace vantu {
namespace {

constexpr int kDescriptionRow = 13, kPriceRow = 15;

class TypedTextSessionTest : public test::SessionTest {
 protected:
  InputRecord Input(const std::string& c) { return Read<InputRecord>(2, Find(2, c)); }
  // Chapter 01 and an input of it with the given description, unit and
  // price as typed.
  void TypeInput(const std::string& code, const std::string& description, const std::string& unit,
                 const std::string& price) {
    Type(code, {kKeyEnter});
    Type(description, {kKeyEnter});
    Type(unit, {kKeyEnter});
    Type(price, {kKeyEnter});
  }
  void StartEquipment() {
    OpenSet("A");
    session.QueueStep([] { PushKey(kKeyEnter); });  // the offered chapter 01
    Type("EQUIPOS", {kKeyEnter, kKeyEnter, kKeyEnter});
  }
};

TEST_F(TypedTextSessionTest, ADecimalCommaIsTheDecimalSeparator) {
  ASSERT_EQ(NumberStyle(), 0);
  StartEquipment();
  Type("01010", {kKeyEnter});
  Type("RETROEXCAVADORA", {kKeyEnter});
  Type("HORA", {kKeyEnter});
  Type("1250,50");
  session.QueueStep([] {
    // Being typed, the number is the text edited, with its point, on the
    // white of the field being edited.
    const size_t at = ScreenRow(kPriceRow).find("1250.50");
    ASSERT_NE(at, std::string::npos) << ScreenText();
    EXPECT_EQ(Screen().At(static_cast<int>(at) + 1, kPriceRow).bg, ColourOf(15));
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    // Left, the field is drawn as the others again; the next one is white.
    const size_t at = ScreenRow(kPriceRow).find("1.250,50");
    ASSERT_NE(at, std::string::npos) << ScreenText();
    EXPECT_NE(Screen().At(static_cast<int>(at) + 1, kPriceRow).bg, ColourOf(15));
  });
  TypeInput("01020", "VOLQUETA", "HORA", "1,5");
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(kPriceRow).find("1,50"), std::string::npos) << ScreenText();
    PushKey(kKeyPgUp);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(kPriceRow).find("1.250,50"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(Input("01010"), input::Price), 1250.50L);
  EXPECT_EQ(Get(Input("01020"), input::Price), 1.5L);
  EXPECT_EQ(session.BeepCount(), 0);
}

// With the decimal point on the screens a comma is no separator: it is
// refused with a beep, and the digits typed on make the number.
TEST_F(TypedTextSessionTest, ACommaIsRefusedWhereNumbersUseTheDecimalPoint) {
  Prefs().englishUnits = true;
  StartEquipment();
  TypeInput("01010", "VOLQUETA", "HORA", "12,5");
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(Input("01010"), input::Price), 125.0L);
  EXPECT_EQ(session.BeepCount(), 1);
}

// Typed into descriptions and units, they are stored as their Windows-1252
// bytes and shown as letters, where the same bytes elsewhere are frame
// pieces.
TEST_F(TypedTextSessionTest, AccentedLettersAreStoredAndShownAsLetters) {
  StartEquipment();
  const std::string description = "Excavaci\xF3n mec\xE1nica, inter\xE9s \xBFS\xCD?";
  const std::string unit = "d\xED\x61";  // "día"
  TypeInput("01010", description, unit, "100");
  session.QueueStep([] {
    const std::string row = ScreenRow(kDescriptionRow);
    const size_t at = row.find("Excavaci");
    ASSERT_NE(at, std::string::npos) << row;
    EXPECT_EQ(static_cast<uint8_t>(row[at + 8]), 0xF3);
    const int column = static_cast<int>(at) + 9;  // the cell of "ó"
    EXPECT_TRUE(Screen().At(column, kDescriptionRow).flags & kLetterCell);
    EXPECT_FALSE(Screen().At(column - 1, kDescriptionRow).flags & kLetterCell);
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(Input("01010"), input::Description), description);
  EXPECT_EQ(Get(Input("01010"), input::Unit), unit);
  EXPECT_EQ(session.BeepCount(), 0);
}

}  // namespace
}  // namespace vantu
