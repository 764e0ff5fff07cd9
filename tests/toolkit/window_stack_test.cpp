#include "toolkit/window_stack.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "console/keys.h"
#include "toolkit/field_fixture.h"
#include "toolkit/progress.h"
#include "toolkit/screen.h"

namespace vantu::test {
namespace {

using WindowStackTest = FieldTest;

void FillScreen() {
  for (int r = 1; r <= 24; ++r) {
    GotoXY(1, r);
    WriteText(std::string(80, static_cast<char>('a' + r % 26)));
  }
}

WindowDesc Desc(int i, char frame, const std::string& style = "SIMPLE") {
  WindowDesc w;
  w.scheme = 2 + i;
  w.frame = frame;
  w.left = 5 + 3 * i, w.top = 3 + 2 * i, w.right = 40 + 3 * i, w.bottom = 12 + 2 * i;
  w.title = " NIVEL " + std::to_string(i) + " ";
  w.buttons = "Esc^regresa F" + std::to_string(i + 1) + "^nivel";
  w.style = style;
  return w;
}

TEST_F(WindowStackTest, FourLevelsNestAndAFifthIsRefused) {
  FillScreen();
  ShowKeyButtons(0, 25, "Esc^cerrar", true, 1);
  const std::string before = ScreenText();
  const char frames[] = {'D', 'S', 'H', 'D'};
  const char* styles[] = {"SIMPLE", "Wind", "Tabs|2||  BASICOS  |3| UNITARIOS |2", "SIMPLE"};
  std::vector<std::string> screens;
  for (int i = 0; i < kMaxWindows; ++i) {
    SCOPED_TRACE(i);
    screens.push_back(ScreenText());
    ASSERT_TRUE(OpenWindow(Desc(i, frames[i], styles[i])));
    EXPECT_EQ(WindowDepth(), i + 1);
    EXPECT_EQ(Buttons().rows[0].label, Desc(i, 'D').buttons);
    // Output goes inside the frame.
    EXPECT_EQ(Screen().left, Desc(i, 'D').left + 1);
  }
  const std::string top = ScreenText();
  const ScreenState saved = Screen();
  EXPECT_FALSE(OpenWindow(Desc(0, 'S')));
  EXPECT_EQ(WindowDepth(), kMaxWindows);
  EXPECT_EQ(ScreenText(), top);
  EXPECT_EQ(Screen().left, saved.left);
  EXPECT_EQ(Buttons().rows[0].label, Desc(3, 'D').buttons);
  for (int i = kMaxWindows - 1; i >= 0; --i) {
    SCOPED_TRACE(i);
    CloseWindow();
    EXPECT_EQ(ScreenText(), screens[i]);
  }
  EXPECT_EQ(ScreenText(), before);
  EXPECT_EQ(Buttons().rows[0].label, "Esc^cerrar");
  EXPECT_EQ(Screen().left, 1);
  CloseWindow();  // nothing open: no effect
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(WindowStackTest, FramesTitleAndTabs) {
  ASSERT_TRUE(OpenWindow(Desc(0, 'D')));
  EXPECT_EQ(Screen().At(5, 3).ch, 201);
  EXPECT_EQ(Screen().At(40, 12).ch, 188);
  EXPECT_NE(ScreenRow(3).find(" NIVEL 0 "), std::string::npos);
  CloseWindow();
  ASSERT_TRUE(OpenWindow(Desc(0, 'S')));
  EXPECT_EQ(Screen().At(5, 3).ch, 218);
  CloseWindow();
  Screen().highColour = false;
  ASSERT_TRUE(OpenWindow(Desc(0, 'H')));
  EXPECT_EQ(Screen().At(5, 3).ch, 219);
  CloseWindow();

  const auto tabs = ParseWindowTabs("Tabs|2||  BASICOS  |3| UNITARIOS |2");
  ASSERT_EQ(tabs.size(), 2u);
  EXPECT_EQ(tabs[0].label, "  BASICOS  ");
  EXPECT_EQ(tabs[1].scheme, 2);
  EXPECT_TRUE(ParseWindowTabs("SIMPLE").empty());
  ASSERT_TRUE(OpenWindow(Desc(0, 'D', "Tabs|1|| SUBCTRTOS |14")));
  EXPECT_NE(ScreenRow(3).find(" SUBCTRTOS "), std::string::npos);
  int buttons = 0;
  for (const auto& b : Buttons().free) buttons += b.used;
  EXPECT_EQ(buttons, 3);
  CloseWindow();
  buttons = 0;
  for (const auto& b : Buttons().free) buttons += b.used;
  EXPECT_EQ(buttons, 0);
}

TEST_F(WindowStackTest, RectanglesOffTheScreenAreRefused) {
  WindowDesc w = Desc(0, 'D');
  w.right = 81;
  EXPECT_FALSE(OpenWindow(w));
  w = Desc(0, 'D');
  w.top = 0;
  EXPECT_FALSE(OpenWindow(w));
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(WindowStackTest, ProgressTurnsAndCloses) {
  FillScreen();
  const std::string before = ScreenText();
  ASSERT_TRUE(ShowProgress(40, 12));
  EXPECT_EQ(Screen().At(35, 10).ch, 201);
  EXPECT_EQ(Screen().At(45, 14).ch, 188);
  StepProgress(true);
  EXPECT_EQ(ProgressPhase(), 0);
  StepProgress(false);  // the first turn of a run is always due
  EXPECT_EQ(ProgressPhase(), 1);
  // The window's inside starts at column 36, row 11: phase 1 is the top middle.
  EXPECT_EQ(Screen().At(36 + 4, 11).ch, 219);
  EXPECT_EQ(Screen().At(36 + 3, 11).ch, 176);
  HideProgress();
  EXPECT_EQ(ScreenText(), before);
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(WindowStackTest, PicturesAndTheCaretStayOffUnderAWindowUntilItCloses) {
  ShowImage(55, 9, 15, "CONSTRUCT", 10);
  ShowImage(2, 20, 4, "OTRA", 3);
  SetCaret(true);
  struct Case {
    const char* name;
    int left, top, right, bottom;
    bool constructShown;
  } cases[] = {
      {"a full-screen help covers it", 1, 1, 80, 25, false},
      {"a window touching its corner covers it", 60, 18, 79, 22, false},
      {"a window beside it leaves it", 10, 3, 50, 8, true},
  };
  const auto shown = [](const std::string& name) {
    for (const ImageSlot& slot : Screen().images)
      if (slot.name == name) return true;
    return false;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowDesc w;
    w.left = c.left, w.top = c.top, w.right = c.right, w.bottom = c.bottom;
    ASSERT_TRUE(OpenWindow(w));
    EXPECT_EQ(shown("CONSTRUCT"), c.constructShown);
    EXPECT_FALSE(Input().caretWanted) << "no caret at the end of a window's text";
    CloseWindow();
    EXPECT_TRUE(shown("CONSTRUCT"));
    EXPECT_TRUE(shown("OTRA"));
    EXPECT_TRUE(Input().caretWanted);
  }
  // Nested windows give everything back in order.
  ASSERT_TRUE(OpenWindow(Desc(0, 'D')));
  WindowDesc all;
  ASSERT_TRUE(OpenWindow(all));
  EXPECT_FALSE(shown("OTRA"));
  CloseWindow();
  EXPECT_TRUE(shown("OTRA"));
  CloseWindow();
  EXPECT_TRUE(shown("CONSTRUCT"));
}

}  // namespace
}  // namespace vantu::test
