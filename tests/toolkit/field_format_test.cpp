#include "toolkit/field_format.h"

#include <gtest/gtest.h>

#include "session/preferences.h"
#include "toolkit/field_fixture.h"

namespace vantu::test {
namespace {

TEST(FieldFormat, NumbersInBothSeparatorStyles) {
  struct Case {
    long double value;
    int decimals;
    const char* comma;  // style 0
    const char* point;  // style 1
  };
  const Case cases[] = {
      {1234567890123.45L, 2, "1\"234.567'890.123,45", "1,234,567,890,123.45"},
      {1234567890.12L, 2, "1.234'567.890,12", "1,234,567,890.12"},
      {1234567.0L, 0, "1'234.567", "1,234,567"},
      {1234.0L, 0, "1.234", "1,234"},
      {999.0L, 0, "999", "999"},
      {-1234.5L, 2, "-1.234,50", "-1,234.50"},
      {0.5L, 2, "0,50", "0.50"},
      {-0.001L, 2, "0,00", "0.00"},
      {2.675L, 1, "2,7", "2.7"},
      {1.5L, 6, "1,50", "1.50"},
      {2.0L, 6, "2,00", "2.00"},
      {1.2345L, 6, "1,2345", "1.2345"},
      {1.23456L, 6, "1,234560", "1.234560"},
      {1234.000001L, 6, "1.234,000001", "1,234.000001"},
      {1234.1L, 8, "1.234,10", "1,234.10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.comma);
    EXPECT_EQ(FormatNumberInStyle(0, c.decimals, c.value, 0), c.comma);
    EXPECT_EQ(FormatNumberInStyle(0, c.decimals, c.value, 1), c.point);
  }
  EXPECT_EQ(FormatNumberInStyle(10, 2, 12.5L, 0), "     12,50");
  EXPECT_EQ(FormatNumberInStyle(3, 2, 1234.5L, 1), "1,234.50");  // never cut
}

TEST(FieldFormat, DisplayWidthLeavesRoomForSeparators) {
  struct Case {
    int width, decimals, display;
  };
  const Case cases[] = {{5, 2, 5}, {6, 2, 6}, {16, 2, 20}, {10, 0, 13},
                        {4, 0, 5}, {1, 0, 1}, {12, 6, 14}, {12, 9, 14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "." + std::to_string(c.decimals));
    EXPECT_EQ(NumberDisplayWidth(c.width, c.decimals), c.display);
    // The largest value the field takes fits its display width.
    const int d = c.decimals >= 6 ? 2 : c.decimals;
    const int integers = d ? c.width - d - 1 : c.width;
    long double biggest = 0;
    for (int i = 0; i < integers; ++i) biggest = biggest * 10 + 9;
    for (int style = 0; style < 2; ++style)
      EXPECT_EQ(FormatNumberInStyle(c.display, d, biggest, style).size(), size_t(c.display));
  }
}

using FieldValueText = FieldTest;

TEST_F(FieldValueText, FieldValuesFollowKindAreaAndPreference) {
  FieldDescriptor real = Field('R', 8, 2);
  EXPECT_EQ(FormatFieldValue(2, FieldValue(1234.5L), real, false), "1234.50");
  EXPECT_EQ(FormatFieldValue(2, FieldValue(1234.5L), real, true), " 1.234,50");
  Prefs().englishUnits = true;
  EXPECT_EQ(FormatFieldValue(2, FieldValue(1234.5L), real, true), " 1,234.50");

  FieldDescriptor integer = Field('I', 4);
  EXPECT_EQ(FormatFieldValue(2, FieldValue(int16_t{0}), integer, false), "0");
  FieldEditorHooks().blankZeros = [](int area) { return area == 6; };
  EXPECT_EQ(FormatFieldValue(6, FieldValue(int16_t{0}), integer, false), "");
  EXPECT_EQ(FormatFieldValue(6, FieldValue(int16_t{-12}), integer, false), "-12");

  FieldValue v;
  ParseFieldValue(v, integer, "");
  EXPECT_EQ(v, FieldValue(int16_t{0}));
  ParseFieldValue(v, real, "12.75");
  EXPECT_EQ(v, FieldValue(12.75L));
  ParseFieldValue(v, Field('D', 6), "dd/mm/aa");
  EXPECT_EQ(v, FieldValue(std::string()));
}

}  // namespace
}  // namespace vantu::test
