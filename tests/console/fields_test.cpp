#include <gtest/gtest.h>

#include "console/console.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

using FieldsTest = test::HeadlessTest;

uint16_t Flags(int col, int row) {
  return Screen().At(col, row).flags;
}

struct FieldCase {
  const char* name;
  int kind;
  bool raised;
  uint16_t left, first, middle, last, right;
};

TEST_F(FieldsTest, DecorationsByKind) {
  const FieldCase cases[] = {
      {"entry", 0, false, kEdgeOpen, kEdgeField, kEdgeField, kEdgeField, kEdgeClose},
      {"open_entry", 4, false, kEdgeOpen, kEdgeField, kEdgeField, kEdgeField, 0},
      {"plain", 1, false, 0, 0, 0, 0, 0},
      {"heading", 2, false, 0, kEdgeHeading, kEdgeHeading, kEdgeHeading, 0},
      {"box", 3, false, 0, kEdgeBoxFirst, kEdgeBoxMiddle, kEdgeBoxLast, 0},
      {"raised_entry", 0, true, kEdgeRaisedOpen, kEdgeRaised, kEdgeRaised, kEdgeRaised,
       kEdgeRaisedClose},
      {"raised_kind4", 4, true, kEdgeRaisedOpen, kEdgeRaised, kEdgeRaised, kEdgeRaised, 0},
      {"raised_box", 3, true, 0, kEdgeRaised, kEdgeRaised, kEdgeRaised, 0},
      {"kind5", 5, false, 0, 0, 0, 0, 0},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResetScreen();
    GotoXY(10, 2);
    WriteField(5, "abc", c.kind, c.raised);
    EXPECT_EQ(Flags(9, 2), c.left);
    EXPECT_EQ(Flags(10, 2), c.first);
    EXPECT_EQ(Flags(12, 2), c.middle);
    EXPECT_EQ(Flags(14, 2), c.last);
    EXPECT_EQ(Flags(15, 2), c.right);
    EXPECT_EQ(ReadScreenText(10, 2, 5), "abc  ");
    EXPECT_EQ(WhereX(), 15);
  }
}

TEST_F(FieldsTest, ZeroWidthGivesTheOkField) {
  GotoXY(20, 3);
  WriteField(0, "x", 0, false);
  EXPECT_EQ(ReadScreenText(20, 3, 2), "OK");
  EXPECT_EQ(Flags(19, 3), kEdgeOpen);
  EXPECT_EQ(Flags(22, 3), kEdgeClose);
  EXPECT_FALSE(host.CaretShown());
}

TEST_F(FieldsTest, ZeroWidthHeadingStaysEmpty) {
  GotoXY(20, 3);
  WriteField(0, "x", 2, false);
  EXPECT_EQ(ReadScreenText(20, 3, 2), "  ");
}

TEST_F(FieldsTest, FieldAtColumnOneHasNoLeftMarkAndCutFieldNoRightMark) {
  GotoXY(1, 1);
  WriteField(3, "", 0, false);
  EXPECT_EQ(ReadScreenText(1, 1, 3), "   ");
  EXPECT_EQ(Flags(4, 1), kEdgeClose);
  GotoXY(78, 2);
  WriteField(5, "abcde", 0, false);
  EXPECT_EQ(ReadScreenText(78, 2, 3), "abc");
  EXPECT_EQ(Flags(80, 2), kEdgeField);
  EXPECT_EQ(WhereX(), 78);
}

TEST_F(FieldsTest, BlankFieldClearsTheNeighbourMarks) {
  GotoXY(10, 2);
  WriteField(5, "abc", 0, false);
  BlankField(10, 2, 5);
  for (int c = 9; c <= 15; ++c) EXPECT_EQ(Flags(c, 2), 0) << c;
  EXPECT_EQ(ReadScreenText(10, 2, 5), "     ");
  EXPECT_EQ(WhereX(), 10);
}

TEST_F(FieldsTest, FrameAndUnframeRun) {
  FrameRun(10, 4, 3);
  EXPECT_EQ(Flags(9, 4), kEdgeOpen);
  EXPECT_EQ(Flags(11, 4), kEdgeField);
  EXPECT_EQ(Flags(13, 4), kEdgeClose);
  TextBackground(4);
  TextColor(15);
  GotoXY(11, 4);
  WriteText("\xF2\xF3");
  UnframeRun(10, 4, 3);
  for (int c = 9; c <= 13; ++c) EXPECT_EQ(Flags(c, 4), 0) << c;
  EXPECT_EQ(ReadScreenText(11, 4, 2), "  ");
  EXPECT_EQ(Screen().At(12, 4).fg, 0x000000u);
}

TEST_F(FieldsTest, FrameRunAtTheRightEdgeMarksNothingOutside) {
  FrameRun(78, 1, 3);
  EXPECT_EQ(Flags(77, 1), kEdgeOpen);
  EXPECT_EQ(Flags(80, 1), kEdgeField);
  EXPECT_EQ(Flags(81, 1), 0);
}

TEST_F(FieldsTest, SaveAndRestoreRectangleKeepsEverything) {
  TextBackground(4);
  TextColor(15);
  TextStyle(1);
  GotoXY(5, 5);
  WriteField(4, "ab", 0, true);
  const ScreenRect rect{3, 4, 10, 5};  // columns 4..11, rows 5..6
  const std::string saved = SaveScreenRect(rect);
  ASSERT_EQ(saved.size(), 8u * 2u * kSavedCellBytes);
  // Cell (5,5) is the 2nd cell of the first saved row.
  const char* cell = saved.data() + 1 * kSavedCellBytes;
  EXPECT_EQ(cell[0], 'a');
  EXPECT_EQ(cell[2], 15);
  EXPECT_EQ(cell[3], 4);
  EXPECT_EQ(cell[4], 1);
  EXPECT_EQ(static_cast<uint8_t>(cell[5]), kEdgeRaised);

  const Cell before = Screen().At(5, 5);
  const uint16_t leftFlags = Flags(4, 5);
  TextBackground(0);
  ClrScr();
  RestoreScreenRect(rect, saved);
  const Cell after = Screen().At(5, 5);
  EXPECT_EQ(after.ch, before.ch);
  EXPECT_EQ(after.fg, before.fg);
  EXPECT_EQ(after.bg, before.bg);
  EXPECT_EQ(after.style, before.style);
  EXPECT_EQ(after.flags, before.flags);
  EXPECT_EQ(Flags(4, 5), leftFlags);
}

TEST_F(FieldsTest, RestoreWithAShortBufferRestoresWhatItHas) {
  const ScreenRect rect{0, 0, 79, 24};
  std::string saved = SaveScreenRect(rect);
  saved.resize(10);
  RestoreScreenRect(rect, saved);  // must not read past the buffer
  EXPECT_EQ(Screen().At(1, 1).ch, 32);
}

TEST_F(FieldsTest, ImageSlots) {
  ShowImage(55, 9, 15, "CONSTRUCT", 10);
  EXPECT_EQ(Screen().images[0].name, "CONSTRUCT");
  EXPECT_EQ(Screen().images[0].col, 55);
  RemoveImage("construct");  // names match exactly
  EXPECT_EQ(Screen().images[0].name, "CONSTRUCT");
  RemoveImage("CONSTRUCT");
  EXPECT_TRUE(Screen().images[0].name.empty());
  for (int i = 0; i < 101; ++i) ShowImage(1, 1, 1, "P", 1);
  EXPECT_EQ(Screen().images[99].name, "P");
}

}  // namespace
}  // namespace vantu
