#include <gtest/gtest.h>

#include <string>

#include "app/main_program.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "session/shell_state.h"
#include "support/headless_fixture.h"
#include "toolkit/schemes.h"

namespace vantu {
namespace {

class MainLoopTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetShell();
    ResetSchemes();
    ClearCommands();
    for (char c = 'A'; c <= 'P'; ++c)
      RegisterCommand(static_cast<uint8_t>(c), [this, c] { ran += c; });
  }
  void TearDown() override {
    ClearCommands();
    HeadlessTest::TearDown();
  }
  // Ends the loop: Alt+X answered Yes.
  void Leave() {
    host.TypeKeys({kKeyAltX});
    host.AnswerBox(BoxAnswer::Yes);
  }

  std::string ran;
};

TEST_F(MainLoopTest, TypedLettersAreIgnoredAndMenuLettersRun) {
  host.TypeText("E");
  host.PushKeys({'E'});
  Leave();
  MainLoop();
  EXPECT_EQ(ran, "E");
  EXPECT_EQ(Shell().currentCommand, kKeyAltX);
}

TEST_F(MainLoopTest, EscIsIgnoredFromAnySource) {
  host.PushKeys({kKeyEsc});
  host.TypeKeys({kKeyEsc});
  host.PushKeys({'D'});
  Leave();
  MainLoop();
  EXPECT_EQ(ran, "D");
}

TEST_F(MainLoopTest, AltXAsksAndNoReturnsToTheMenu) {
  host.TypeKeys({kKeyAltX});
  host.AnswerBox(BoxAnswer::No);
  host.PushKeys({'F'});
  Leave();
  MainLoop();
  EXPECT_EQ(ran, "F");
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[0].text, "Desea abandonar ahora ?");
  EXPECT_EQ(host.Boxes()[0].caption, "Salir del Programa");
  EXPECT_EQ(host.Boxes()[0].buttons, BoxButtons::YesNo);
}

TEST_F(MainLoopTest, EndCodeLeavesWithoutAsking) {
  host.PushKeys({180});
  MainLoop();
  EXPECT_TRUE(host.Boxes().empty());
  EXPECT_EQ(Shell().commandKey, 180);
}

TEST_F(MainLoopTest, ObraCommandsNeedAnObra) {
  host.PushKeys({'H', 'N', 'O', 'P', 'G'});
  Leave();
  MainLoop();
  EXPECT_EQ(ran, "G");
  Shell().obraSelected = true;
  ran.clear();
  for (int code : {'H', 'N', 'O', 'P'}) host.PushKeys({code});
  Leave();
  MainLoop();
  EXPECT_EQ(ran, "HNOP");
}

TEST_F(MainLoopTest, OneWaitingKeyIsDroppedAfterListingCommands) {
  // A key waiting when 'I' returns is dropped; after 'E' it is kept.
  RegisterCommand('I', [this] {
    ran += 'I';
    PushKey('G');
  });
  RegisterCommand('E', [this] {
    ran += 'E';
    PushKey('G');
  });
  host.PushKeys({'I'});
  host.PushKeys({'E'});
  Leave();
  MainLoop();
  EXPECT_EQ(ran, "IEG");
}

TEST_F(MainLoopTest, MainMenuScreenShowsOnlyTheExitButton) {
  host.QueueStep([] {
    EXPECT_TRUE(Shell().atMainMenu);
    const KeyButtonRow& row = Buttons().rows[0];
    ASSERT_EQ(row.buttons.size(), 1u);
    EXPECT_EQ(row.buttons[0].caption, "SALIR");
    EXPECT_EQ(row.buttons[0].code, kKeyAltX);
    EXPECT_EQ(CurrentScheme(), 9);
    EXPECT_FALSE(Input().caretWanted);
  });
  Leave();
  MainLoop();
  EXPECT_FALSE(Shell().atMainMenu);
}

TEST_F(MainLoopTest, CommandsSetCaretAndScheme) {
  RegisterCommand('D', [] {
    EXPECT_TRUE(Input().caretWanted);
    EXPECT_EQ(CurrentScheme(), 1);
  });
  RegisterCommand('N', [] { EXPECT_EQ(CurrentScheme(), 12); });
  RegisterCommand('I', [] { EXPECT_FALSE(Input().caretWanted); });
  Shell().obraSelected = true;
  host.PushKeys({'D'});
  host.PushKeys({'N'});
  host.PushKeys({'I'});
  Leave();
  MainLoop();
}

TEST_F(MainLoopTest, UnknownCodesRunNothing) {
  ClearCommands();
  host.PushKeys({'Z', 'A', 200});
  Leave();
  MainLoop();
  EXPECT_EQ(Shell().currentCommand, kKeyAltX);
}

}  // namespace
}  // namespace vantu
