// Numbers typed as a Spanish speaker types them: with the decimal comma the
// screens show.
#include <gtest/gtest.h>

#include <string>

#include "app/main_program.h"
#include "records/record_ops_fixture.h"
#include "session/preferences.h"

namespace vantu {
namespace {

constexpr int kPriceRow = 15;

class TypedTextSessionTest : public test::SessionTest {
protected:
  InputRecord Input(const std::string &c) {
    return Read<InputRecord>(2, Find(2, c));
  }
  // Chapter 01 and an input of it with the given description, unit and
  // price as typed.
  void TypeInput(const std::string &code, const std::string &description,
                 const std::string &unit, const std::string &price) {
    Type(code, {kKeyEnter});
    Type(description, {kKeyEnter});
    Type(unit, {kKeyEnter});
    Type(price, {kKeyEnter});
  }
  void StartEquipment() {
    OpenSet("A");
    session.QueueStep([] { PushKey(kKeyEnter); }); // the offered chapter 01
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
    // Being typed, the number is the text edited, with its point.
    EXPECT_NE(ScreenRow(kPriceRow).find("1250.50"), std::string::npos)
        << ScreenText();
    PushKey(kKeyEnter);
  });
  TypeInput("01020", "VOLQUETA", "HORA", "1,5");
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(kPriceRow).find("1,50"), std::string::npos)
        << ScreenText();
    PushKey(kKeyPgUp);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(kPriceRow).find("1.250,50"), std::string::npos)
        << ScreenText();
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

} // namespace
} // namespace vantu
