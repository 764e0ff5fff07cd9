#include "console/console.h"

#include <gtest/gtest.h>

#include "console/letters.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

using ConsoleTest = test::HeadlessTest;

TEST_F(ConsoleTest, StartsBlankSilverOnSilver) {
  const Cell& c = Screen().At(80, 25);
  EXPECT_EQ(c.ch, 32);
  EXPECT_EQ(c.fg, 0xC0C0C0u);
  EXPECT_EQ(c.bg, 0xC0C0C0u);
  EXPECT_EQ(c.flags, 0);
}

TEST_F(ConsoleTest, WritingEightyCharactersFillsTheRowAndKeepsTheCursor) {
  GotoXY(1, 3);
  WriteText(std::string(80, 'x'));
  EXPECT_EQ(ReadScreenText(1, 3, 80), std::string(80, 'x'));
  EXPECT_EQ(WhereX(), 1);
  EXPECT_EQ(WhereY(), 3);
}

TEST_F(ConsoleTest, WritingAtColumn79KeepsTwoCharacters) {
  GotoXY(79, 1);
  WriteText("abcd");
  EXPECT_EQ(ReadScreenText(78, 1, 3), " ab");
  EXPECT_EQ(Screen().At(1, 2).ch, ' ');  // nothing wrapped
  EXPECT_EQ(WhereX(), 79);
}

// Data written with WriteLetters marks its accented letters to be shown as
// letters; the same bytes written as text (a frame's ═ is Í) are not, and
// text written over a letter takes the mark away.
TEST_F(ConsoleTest, AccentedLettersOfDataAreMarkedAsLetters) {
  GotoXY(1, 2);
  WriteLetters("CIMENTACI\xD3N \xCD");
  GotoXY(1, 3);
  WriteText("\xC9\xCD\xBB");
  const auto marked = [](int col, int row) {
    return (Screen().At(col, row).flags & kLetterCell) != 0;
  };
  EXPECT_TRUE(marked(10, 2));
  EXPECT_TRUE(marked(13, 2));
  EXPECT_FALSE(marked(9, 2));
  EXPECT_FALSE(marked(12, 2));
  EXPECT_FALSE(marked(1, 3));
  EXPECT_FALSE(marked(2, 3));
  EXPECT_EQ(WhereX(), 4);
  GotoXY(10, 2);
  WriteText("\xCD");
  EXPECT_FALSE(marked(10, 2));
}

TEST_F(ConsoleTest, TextWithinAWindowIsClippedAndTheCursorAdvances) {
  Window(11, 5, 20, 6);
  GotoXY(3, 2);
  WriteText("12345");
  EXPECT_EQ(ReadScreenText(13, 6, 5), "12345");
  EXPECT_EQ(WhereX(), 8);
  WriteText("6789");
  EXPECT_EQ(ReadScreenText(18, 6, 4), "678 ");
  EXPECT_EQ(WhereX(), 8);  // past the edge: the cursor stays
}

TEST_F(ConsoleTest, OutOfRangeGotoIsIgnored) {
  GotoXY(10, 5);
  const int moves[][2] = {{0, 5}, {81, 5}, {5, 0}, {5, 26}};
  for (const auto& m : moves) {
    GotoXY(m[0], m[1]);
    EXPECT_EQ(WhereX(), 10);
    EXPECT_EQ(WhereY(), 5);
  }
}

TEST_F(ConsoleTest, ClrEolAtColumnOneBlanksTheWholeRowInTheBackground) {
  GotoXY(1, 4);
  WriteText(std::string(80, 'z'));
  TextBackground(4);
  GotoXY(1, 4);
  ClrEol();
  for (int c = 1; c <= 80; ++c) {
    EXPECT_EQ(Screen().At(c, 4).ch, ' ');
    EXPECT_EQ(Screen().At(c, 4).bg, ColourOf(4));
  }
  EXPECT_EQ(WhereX(), 1);
}

TEST_F(ConsoleTest, ClrScrBlanksOnlyTheWindowAndHomesTheCursor) {
  GotoXY(1, 1);
  WriteText("keep");
  Window(1, 2, 80, 25);
  GotoXY(5, 5);
  WriteText("gone");
  ClrScr();
  EXPECT_EQ(ReadScreenText(1, 1, 4), "keep");
  EXPECT_EQ(ReadScreenText(5, 6, 4), "    ");
  EXPECT_EQ(WhereX(), 1);
  EXPECT_EQ(WhereY(), 1);
}

TEST_F(ConsoleTest, InsLineAndDelLineShiftRowsInsideTheWindow) {
  for (int r = 1; r <= 4; ++r) {
    GotoXY(1, r);
    WriteText(std::string(1, static_cast<char>('0' + r)));
  }
  Window(1, 1, 80, 4);
  GotoXY(1, 2);
  InsLine();
  EXPECT_EQ(ReadScreenText(1, 1, 1) + ReadScreenText(1, 2, 1) + ReadScreenText(1, 3, 1) +
                ReadScreenText(1, 4, 1),
            "1 23");
  DelLine();
  EXPECT_EQ(ReadScreenText(1, 2, 1) + ReadScreenText(1, 3, 1) + ReadScreenText(1, 4, 1), "23 ");
  EXPECT_GE(host.RedrawAllCount(), 2);
}

TEST_F(ConsoleTest, WindMinAndWindMax) {
  Window(2, 3, 79, 24);
  EXPECT_EQ(WindMin(), 1 + 256 * 2);
  EXPECT_EQ(WindMax(), 78 + 256 * 23);
}

struct ColourCase {
  int number;
  uint32_t high;
  uint32_t low;
};

TEST_F(ConsoleTest, ColourNumbersInBothModes) {
  const ColourCase cases[] = {
      {0, 0x000000, 0x000000},  {1, 0x000080, 0x000080},  {7, 0x808080, 0x808080},
      {8, 0xC0C0C0, 0xC0C0C0},  {9, 0x0000FF, 0x0000FF},  {12, 0xFF0000, 0xFF0000},
      {15, 0xFFFFFF, 0xFFFFFF}, {16, 0xE0E0FF, 0x000000}, {18, 0xC0E0FF, 0x00FF00},
      {21, 0xE0E0E0, 0xFF00FF}, {22, 0xFFE0E0, 0xFFFF00}, {23, 0x000000, 0xFFFFFF},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.number);
    Screen().highColour = true;
    EXPECT_EQ(ColourOf(c.number), c.high);
    if (c.number <= 22) {
      EXPECT_EQ(NumberOf(c.high), c.number);
    }
    Screen().highColour = false;
    EXPECT_EQ(ColourOf(c.number), c.low);
  }
  Screen().highColour = false;
  EXPECT_EQ(NumberOf(0xC0C0C0), 8);
  EXPECT_EQ(NumberOf(0x000080), 1);
  EXPECT_EQ(NumberOf(0x00FF00), 10);
  EXPECT_EQ(NumberOf(0xFF0080), 13);
  Screen().highColour = true;
  EXPECT_EQ(NumberOf(0x123456), 0);
}

TEST_F(ConsoleTest, CapsuleTextReplacesTheEnds) {
  EXPECT_EQ(CapsuleText("[abc]"),
            "\x87"
            "abc\x86");
  EXPECT_EQ(CapsuleText(""), "");
}

}  // namespace
}  // namespace vantu
