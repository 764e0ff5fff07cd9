#include "app/menu_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "console/keys.h"
#include "session/shell_state.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

constexpr int E = kKeyEsc;

class MenuCommandsTest : public test::HeadlessTest {
 protected:
  std::vector<int> Drain() {
    std::vector<int> codes;
    uint8_t code = 0;
    while (PopKey(code)) codes.push_back(code);
    return codes;
  }
};

TEST_F(MenuCommandsTest, EscCodesBringTheRunningModuleBackBeforeTheLetter) {
  struct Case {
    const char* name;
    bool atMainMenu;
    uint8_t current;
    int escDepth;
    bool editEsc, message, windowEsc, scheduleMenu;
    uint8_t letter;
    std::vector<int> codes;
  } cases[] = {
      {"at the main menu only the letter", true, 0, 0, 0, 0, 0, 0, 'A', {'A'}},
      {"the open data-entry module is not reopened", false, 'E', 0, 0, 0, 0, 0, 'E', {}},
      {"another module closes the open one", false, 'E', 0, 0, 0, 0, 0, 'F', {E, 'F'}},
      {"nested levels, an input and a message",
       false,
       'E',
       2,
       1,
       1,
       0,
       0,
       'F',
       {E, E, E, E, E, 'F'}},
      {"a message and an inner window count once", false, 'D', 0, 0, 1, 1, 0, 'B', {E, E, 'B'}},
      {"a command that is not data entry runs again", false, 'I', 0, 0, 0, 0, 0, 'I', {E, 'I'}},
      {"the open schedule is not reopened", false, 'N', 1, 0, 0, 0, 0, 'N', {}},
      {"the schedule's own menu reopens it", false, 'N', 1, 0, 0, 0, 1, 'N', {E, E, 'N'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShellState& sh = Shell();
    sh.atMainMenu = c.atMainMenu;
    sh.currentCommand = c.current;
    sh.escDepth = static_cast<uint8_t>(c.escDepth);
    sh.editEscPending = c.editEsc;
    sh.messageShown = c.message;
    sh.windowEscPending = c.windowEsc;
    sh.scheduleMenuOpen = c.scheduleMenu;
    Input().mouseCol = 7;
    Input().mouseButton = 1;
    PushCommand(c.letter);
    EXPECT_EQ(Drain(), c.codes);
    EXPECT_EQ(Input().mouseCol, 0);
    EXPECT_EQ(Input().mouseButton, c.codes.empty() ? 1 : -1);
  }
}

TEST_F(MenuCommandsTest, QuitAsksThenPushesTheWayOutAndTheEndCode) {
  struct Case {
    const char* name;
    BoxAnswer answer;
    bool haltAtClose;
    QuitOutcome outcome;
    std::vector<int> codes;
  } cases[] = {
      {"No keeps the program", BoxAnswer::No, false, QuitOutcome::Cancelled, {}},
      {"Yes pushes the way out",
       BoxAnswer::Yes,
       false,
       QuitOutcome::CodesPushed,
       {E, E, E, kEndCode}},
      {"Yes during the start stops at once", BoxAnswer::Yes, true, QuitOutcome::HaltNow, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Shell().atMainMenu = false;
    Shell().escDepth = 1;
    Shell().messageShown = true;
    Shell().haltAtClose = c.haltAtClose;
    host.AnswerBox(c.answer);
    EXPECT_EQ(AskQuit(), c.outcome);
    ASSERT_FALSE(host.Boxes().empty());
    EXPECT_EQ(host.Boxes().back().text, "Desea abandonar ahora ?");
    EXPECT_EQ(Drain(), c.codes);
  }
}

}  // namespace
}  // namespace vantu
