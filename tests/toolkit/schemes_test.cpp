#include "toolkit/schemes.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "toolkit_fixture.h"

namespace vantu {
namespace {

class SchemeTest : public test::ToolkitTest {};

TEST_F(SchemeTest, TextColoursComeFromTheSelectedScheme) {
  struct Case {
    const char* name;
    void (*apply)();
    int bg, fg, style;
  };
  // Scheme 8, high colour: 20 0 0 1 15 11 4 15.
  const Case cases[] = {
      {"normal", NormalText, 20, 0, 0},
      {"bold", BoldText, 20, 0, 1},
      {"field", FieldText, 1, 15, 0},
      {"bold field", FieldBoldText, 1, 11, 1},
      {"status", [] { StatusText(false); }, 4, 15, 0},
      {"bold status", [] { StatusText(true); }, 4, 15, 1},
  };
  SelectScheme(8);
  EXPECT_EQ(CurrentScheme(), 8);
  EXPECT_EQ(Screen().curBg, ColourOf(20));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.apply();
    EXPECT_EQ(Screen().curBg, ColourOf(c.bg));
    EXPECT_EQ(Screen().curFg, ColourOf(c.fg));
    EXPECT_EQ(Screen().curStyle, c.style);
  }
}

TEST_F(SchemeTest, LowColourTableAndOutOfRangeNumbers) {
  Screen().highColour = false;
  SelectScheme(16);
  EXPECT_EQ(Schemes().colours, (Scheme{8, 0, 4, 8, 0, 12, 15, 0}));
  SelectScheme(0);
  SelectScheme(18);
  EXPECT_EQ(CurrentScheme(), 16);
  Screen().highColour = true;
  SelectScheme(16);
  EXPECT_EQ(Schemes().colours, (Scheme{22, 0, 0, 16, 15, 9, 15, 0}));
}

TEST_F(SchemeTest, BoxCharacters) {
  SetBoxChars('S');
  EXPECT_EQ(Schemes().box[0], 218);
  EXPECT_EQ(Schemes().box[10], 179);
  SetBoxChars('x');
  EXPECT_EQ(Schemes().box[0], 218);
  SetBoxChars('D');
  EXPECT_EQ(Schemes().box[4], 206);
}

}  // namespace
}  // namespace vantu
