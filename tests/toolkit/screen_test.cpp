#include "toolkit/screen.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "toolkit/status_line.h"
#include "toolkit_fixture.h"

namespace vantu {
namespace {

class ScreenTest : public test::ToolkitTest {
 protected:
  static std::string Pad(const std::string& s) { return s + std::string(80 - s.size(), ' '); }
  static std::string At(int col, const std::string& s) { return std::string(col - 1, ' ') + s; }
};

TEST_F(ScreenTest, MessageReplacesRow25AndClearMessageRestoresIt) {
  struct Case {
    int kind;
    std::string rowAfter;
  };
  const Case cases[] = {
      {1, Pad("F1 ayuda")},  // the saved line comes back
      {5, Pad("F1 ayuda")},
      {3, Pad("")},  // indexed areas start from a cleared line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    WriteLineAt(25, "F1 ayuda");
    ShowStatusMessage("Codigo no existe");
    EXPECT_EQ(ScreenRow(25), Pad(At(32, "Codigo no existe")));
    EXPECT_TRUE(Shell().messageShown);
    EXPECT_EQ(SavedStatusLine(), Pad("F1 ayuda"));
    ClearMessage(c.kind);
    EXPECT_EQ(ScreenRow(25), c.rowAfter);
    EXPECT_FALSE(Shell().messageShown);
  }
}

TEST_F(ScreenTest, ShowErrorDropsWaitingKeysBeepsAndKeepsTheModuleWindow) {
  Shell().escDepth = 1;
  Window(10, 5, 40, 20);
  GotoXY(3, 4);
  PushKey('x');
  PushKey(kKeyEnter);
  ShowError("Dato invalido");
  EXPECT_TRUE(KeyQueueEmpty());
  EXPECT_EQ(host.BeepCount(), 1);
  EXPECT_EQ(ScreenRow(25), Pad(At(33, "Dato invalido")));
  const ScreenState& s = Screen();
  EXPECT_EQ((std::array{s.left, s.top, s.right, s.bottom}), (std::array{10, 5, 40, 20}));
  EXPECT_EQ(WhereX(), 3);
  EXPECT_EQ(WhereY(), 4);
}

TEST_F(ScreenTest, CentredTextAndItsEdges) {
  WriteCentered(3, "abcd");
  EXPECT_EQ(ScreenRow(3), Pad(At(38, "abcd")));
  // An 80-character text has column 0, which GotoXY ignores: it goes where
  // the cursor is.
  GotoXY(1, 7);
  WriteCentered(3, std::string(85, 'z'));
  EXPECT_EQ(ScreenRow(7), std::string(80, 'z'));
  WriteLineAt(9, std::string(81, 'q'));
  EXPECT_EQ(ScreenRow(9), std::string(80, 'q'));
}

TEST_F(ScreenTest, FramesInBothLayouts) {
  struct Case {
    bool compact;
    int top, separator, subtitleRow;
  };
  const Case cases[] = {{true, 1, 3, 2}, {false, 2, 4, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.compact);
    ClrScr();
    SetBoxChars('S');
    FrameScreen(c.compact, "TITULO", "subtitulo");
    const std::string h(78, '\xC4');
    EXPECT_EQ(ScreenRow(c.top), "\xDA" + h + "\xBF");
    EXPECT_EQ(ScreenRow(c.separator), "\xC3" + h + "\xB4");
    EXPECT_EQ(ScreenRow(25), "\xC0" + h + "\xD9");
    EXPECT_EQ(ScreenRow(c.subtitleRow), "\xB3" + Pad(At(35, "subtitulo")).substr(1, 78) + "\xB3");
    EXPECT_EQ(ScreenRow(12), "\xB3" + std::string(78, ' ') + "\xB3");
    EXPECT_EQ(ScreenContains("TITULO"), !c.compact);
  }
}

TEST_F(ScreenTest, ModuleScreenTakesTitleAndButtonsFromItsWorkArea) {
  WorkAreaLinks().title = [](int area) { return area == 2 ? " Insumos Basicos " : "?"; };
  WorkAreaLinks().buttons = [](int) { return ButtonsOf({2, 3}); };
  Shell().windowEscPending = true;
  StartModuleScreen(2);
  EXPECT_EQ(ScreenRow(1), Pad(At(31, " Insumos Basicos ")));
  EXPECT_EQ(ScreenRow(2), std::string(80, '\xDC'));
  EXPECT_EQ(ScreenRow(24), std::string(80, '\xDF'));
  EXPECT_FALSE(Shell().windowEscPending);
  EXPECT_EQ(CurrentButtonLabel(), "Esc^regresa CtrlF1^ayuda");
  EXPECT_EQ(Buttons().rows[0].label, "Esc^regresa CtrlF1^ayuda");
  EXPECT_FALSE(Buttons().rows[1].shown);

  StartErrorReview(3);
  ScreenTitle("X");
  EXPECT_TRUE(Buttons().rows[1].shown);
  EXPECT_EQ(Buttons().rows[1].label,
            "CtrlRePag^error/previo CtrlAvPag^error/sigue CtrlFin^error/salir");
}

TEST_F(ScreenTest, ButtonLabelsAndSchemes) {
  ShowStandardButtons(0);
  EXPECT_FALSE(Buttons().rows[0].shown);
  Shell().openingWork = true;
  ShowButtonLabel("Esc^regresa");
  EXPECT_EQ(CurrentScheme(), 9);
  EXPECT_EQ(CurrentButtonLabel(), "Esc^regresa");
  Shell().openingWork = false;
  ShowButtonLabel("*");
  EXPECT_EQ(CurrentScheme(), 9);
  EXPECT_EQ(CurrentButtonLabel(), "Esc^regresa");
  ShowButtonLabel("F7^salva");
  EXPECT_EQ(CurrentScheme(), 1);
  EXPECT_EQ(Buttons().rows[0].label, "F7^salva");
  ShowStandardButtons(ButtonsOf({24, 0}));
  EXPECT_EQ(CurrentButtonLabel(), "AltX^salir TAB^borra_crono");
}

TEST_F(ScreenTest, SpinMarksSitAboveAndBelowTheFieldEnd) {
  MarkSpinField(20, 10, 5);
  EXPECT_EQ(ReadScreenText(23, 9, 2), "\xE1\xE2");
  EXPECT_EQ(ReadScreenText(23, 11, 2), "\xE3\xE4");
  EXPECT_EQ(Screen().At(23, 9).bg, ColourOf(8));
  EXPECT_EQ(GetTextBackground(), 21);
}

}  // namespace
}  // namespace vantu
