#include "toolkit/numbers.h"

#include <gtest/gtest.h>

#include "session/preferences.h"

namespace vantu {
namespace {

TEST(MoneyRounding, FollowsTheFormulasInLongDouble) {
  enum Op { kCents, kAdjust };
  struct Case {
    const char* name;
    Op op;
    long double a, b;
    long double expected;
  };
  const Case cases[] = {
      {"cents half up", kCents, 1.125L, 0, 1.13L},
      {"cents negative truncates toward zero", kCents, -1.125L, 0, -1.12L},
      {"cents 2.125", kCents, 2.125L, 0, 2.13L},
      {"cents -2.25", kCents, -2.25L, 0, -2.24L},
      {"adjust price with cents", kAdjust, 1.50L, 3, 4.50L},
      {"adjust whole price", kAdjust, 2, 3, 6},
      {"whole pesos stay whole", kAdjust, 2, 1.1L, 2},
      {"whole price rounded half up", kAdjust, 1000, 1.15L, 1150},
      {"cents price rounded to cents", kAdjust, 10.50L, 1.25L, 13.13L},
      {"price rounded to cents first", kAdjust, 3.004L, 2, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    long double got = c.op == kCents ? RoundCents(c.a) : AdjustPrice(c.a, c.b);
    EXPECT_EQ(got, c.expected);
  }
}

TEST(MoneyRounding, RoundMoneyFollowsTheAjusteAlPesoPreference) {
  ResetPrefs();
  EXPECT_EQ(RoundMoney(1234.567L), 1234.57L);
  EXPECT_EQ(RoundMoney(-0.5L), -0.49L);
  Prefs().roundToPeso = true;
  EXPECT_EQ(RoundMoney(1234.567L), 1235);
  EXPECT_EQ(RoundMoney(1234.49L), 1234);
  EXPECT_EQ(RoundMoney(-2.5L), -2);
  ResetPrefs();
}

TEST(TextNumbers, BadInputGivesZero) {
  struct Case {
    const char* text;
    long double real;
    int32_t integer;
  };
  const Case cases[] = {
      {"", 0, 0},
      {"12", 12, 12},
      {"  -7 ", -7, -7},
      {"+3", 3, 3},
      {"2.5", 2.5L, 0},
      {"1e3", 1000, 0},
      {"12abc", 0, 0},
      {"abc", 0, 0},
      {"+-3", 0, 0},
      {"inf", 0, 0},
      {"nan", 0, 0},
      {"99999999999", 99999999999.0L, 0},
      // only the first 20 characters count
      {"12345678901234567890123", 12345678901234567890.0L, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextToReal(c.text), c.real);
    EXPECT_EQ(TextToInt(c.text), c.integer);
  }
}

TEST(TextHelpers, UpperRepeatStripAndIntToText) {
  EXPECT_EQ(UpperChar('a'), 'A');
  EXPECT_EQ(UpperChar(241), 209);
  EXPECT_EQ(UpperChar(233), 233);  // only a-z and ñ change
  EXPECT_EQ(UpperChar('1'), '1');
  EXPECT_EQ(UpperText("a\xf1o 2b"), "A\xd1O 2B");
  EXPECT_EQ(UpperText(std::string(90, 'x')), std::string(80, 'X'));
  EXPECT_EQ(RepeatChar('-', 3), "---");
  EXPECT_EQ(RepeatChar('-', 0), "");
  EXPECT_EQ(RepeatChar('-', -2), "");
  EXPECT_EQ(StripTrailingBackslash("C:\\dir\\\\"), "C:\\dir\\");
  EXPECT_EQ(StripTrailingBackslash("C:\\dir"), "C:\\dir");
  EXPECT_EQ(StripTrailingBackslash(""), "");
  EXPECT_EQ(IntToText(-32768), "-32768");
  EXPECT_EQ(IntToText(7), "7");
}

}  // namespace
}  // namespace vantu
