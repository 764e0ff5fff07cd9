#include "toolkit/prompts.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "console/keys.h"
#include "toolkit_fixture.h"

namespace vantu {
namespace {

class PromptTest : public test::ToolkitTest {
 protected:
  static std::string Row(int col, const std::string& s) {
    std::string r = std::string(col - 1, ' ') + s;
    return r + std::string(80 - r.size(), ' ');
  }
};

TEST_F(PromptTest, AskKeyTakesTheDefaultOnIntroAndEchoesTheAnswer) {
  struct Case {
    const char* name;
    uint8_t def;
    std::vector<int> typed;
    uint8_t expected;
    std::string row;
    int beeps;
  };
  // "Grabar ? S" is 10 characters: column 35.
  const Case cases[] = {
      {"Intro takes the default", 'S', {kKeyEnter}, 'S', Row(35, "Grabar ? S"), 0},
      {"lower case answer", 'S', {'n'}, 'N', Row(35, "Grabar ? N"), 0},
      {"other keys beep", 'S', {'x', kKeyF1, 'n'}, 'N', Row(35, "Grabar ? N"), 2},
      {"no default: Intro beeps", 0, {kKeyEnter, 's'}, 'S', Row(35, "Grabar ? S"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClrScr();
    const int beeps = host.BeepCount();
    host.TypeKeys(c.typed);
    EXPECT_EQ(AskKey(12, "Grabar ?", "SN", c.def), c.expected);
    EXPECT_EQ(ScreenRow(12), c.row);
    EXPECT_EQ(host.BeepCount() - beeps, c.beeps);
    EXPECT_TRUE(Input().caretWanted);
  }
}

TEST_F(PromptTest, ReviewKeysPassWhileTheReviewRuns) {
  // Without a review they are keys like any other.
  host.TypeKeys({kKeyCtrlPgDn, 'N'});
  EXPECT_EQ(AskKey(5, "Seguir ?", "SN", 'S'), 'N');
  EXPECT_EQ(host.BeepCount(), 1);
  StartErrorReview(1);
  host.TypeKeys({kKeyCtrlPgDn});
  EXPECT_EQ(AskKey(5, "Seguir ?", "SN", 'S'), kKeyCtrlPgDn);
  EXPECT_EQ(ReadScreenText(35, 5, 10), "Seguir ? S");  // nothing echoed
  Review().replayActive = false;
  host.TypeKeys({'a', kKeyCtrlPgUp});
  EXPECT_EQ(WaitKeyIn("XY"), kKeyCtrlPgUp);
  EXPECT_EQ(host.BeepCount(), 2);
}

TEST_F(PromptTest, AskKeyOnLineSavesTheStatusLine) {
  WriteLineAt(25, "F1 ayuda");
  WriteLineAt(10, "resto de linea");
  host.TypeKeys({'s', 's'});
  EXPECT_EQ(AskKeyOnLine(25, "Borrar ?", "SN", 'N'), 'S');
  EXPECT_EQ(SavedStatusLine(), Row(1, "F1 ayuda"));
  EXPECT_EQ(ScreenRow(25), Row(35, "Borrar ? S"));
  EXPECT_EQ(AskKeyOnLine(10, "Borrar ?", "SN", 'N'), 'S');
  EXPECT_EQ(ScreenRow(10), Row(35, "Borrar ? S"));
  EXPECT_EQ(SavedStatusLine(), Row(1, "F1 ayuda"));
}

TEST_F(PromptTest, WaitKeyInBeepsUntilAListedKey) {
  host.TypeKeys({'q', kKeyEsc, 'B'});
  EXPECT_EQ(WaitKeyIn("AB\x1b"), kKeyEsc);
  EXPECT_EQ(WaitKeyIn("AB"), 'B');
  EXPECT_EQ(host.BeepCount(), 1);
}

}  // namespace
}  // namespace vantu
