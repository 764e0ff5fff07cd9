#include "console/keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/headless_fixture.h"

namespace vantu {
namespace {

using KeysTest = test::HeadlessTest;

std::vector<int> Drain() {
  std::vector<int> out;
  uint8_t c;
  while (PopKey(c)) out.push_back(c);
  return out;
}

struct KeyCase {
  const char* name;
  VKey key;
  Modifiers mods;
  char letter;
  int ch;  // character of the key press, -1 for none
  std::vector<int> queued;
};

TEST_F(KeysTest, KeyEventsQueueTheirCodes) {
  const Modifiers none{}, shift{true, false, false}, ctrl{false, true, false},
      alt{false, false, true};
  const KeyCase cases[] = {
      {"enter_once", VKey::Enter, none, 0, 13, {13}},
      {"esc", VKey::Esc, none, 0, 27, {27}},
      {"backspace", VKey::Backspace, none, 0, 8, {8}},
      {"shift_tab", VKey::Tab, shift, 0, 9, {9}},
      {"ctrl_b_is_control_char", VKey::Letter, ctrl, 'B', 2, {2}},
      {"alt_b", VKey::Letter, alt, 'B', 'b', {146}},
      {"alt_x", VKey::Letter, alt, 'X', 'x', {168}},
      {"alt_1_nothing", VKey::Other, alt, 0, '1', {}},
      {"alt_f1", VKey::F1, alt, 0, -1, {182}},
      {"alt_f2", VKey::F2, alt, 0, -1, {184}},
      {"alt_f3_nothing", VKey::F3, alt, 0, -1, {}},
      {"plain_letter", VKey::Letter, none, 'A', 'a', {'a'}},
      {"shifted_letter", VKey::Letter, shift, 'A', 'A', {'A'}},
      {"enye", VKey::Other, none, 0, 241, {241}},
      {"f1", VKey::F1, none, 0, -1, {133}},
      {"f9", VKey::F9, none, 0, -1, {141}},
      {"f10_never", VKey::F10, none, 0, -1, {}},
      {"f11", VKey::F11, none, 0, -1, {175}},
      {"f12", VKey::F12, none, 0, -1, {176}},
      {"ctrl_pgup", VKey::PgUp, ctrl, 0, -1, {173}},
      {"ctrl_pgdn", VKey::PgDn, ctrl, 0, -1, {174}},
      {"ctrl_home", VKey::Home, ctrl, 0, -1, {177}},
      {"ctrl_end", VKey::End, ctrl, 0, -1, {178}},
      {"ctrl_f1", VKey::F1, ctrl, 0, -1, {179}},
      {"ctrl_f2", VKey::F2, ctrl, 0, -1, {180}},
      {"ctrl_f12_as_its_button", VKey::F12, ctrl, 0, -1, {183}},
      {"ctrl_f3_nothing", VKey::F3, ctrl, 0, -1, {}},
      {"pgdn", VKey::PgDn, none, 0, -1, {143}},
      {"pgup", VKey::PgUp, none, 0, -1, {144}},
      {"insert", VKey::Insert, none, 0, -1, {181}},
      {"delete", VKey::Delete, none, 0, -1, {132}},
      {"arrows", VKey::Right, none, 0, -1, {131}},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResetInput();
    HostKeyEvent(c.key, c.mods, c.letter, c.ch);
    EXPECT_EQ(Drain(), c.queued);
    EXPECT_FALSE(Input().noTypedKey);
  }
}

TEST_F(KeysTest, SuppressionDropsOnlyTheNextCharacter) {
  KeyDownEvent(VKey::Enter, {});
  KeyPressEvent(13);
  KeyPressEvent('x');
  EXPECT_EQ(Drain(), (std::vector<int>{13, 'x'}));
}

TEST_F(KeysTest, QueueHoldsSixtyThreeCodes) {
  for (int i = 0; i < 63; ++i) EXPECT_TRUE(PushKey(static_cast<uint8_t>(i + 1))) << i;
  EXPECT_FALSE(PushKey(200));  // the 64th is dropped
  std::vector<int> got = Drain();
  ASSERT_EQ(got.size(), 63u);
  EXPECT_EQ(got.front(), 1);
  EXPECT_EQ(got.back(), 63);
  // The ring wraps and keeps working.
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(PushKey(static_cast<uint8_t>(i)));
    ASSERT_EQ(Drain().size(), 40u);
  }
}

TEST_F(KeysTest, ReadKeyWaitsThroughHostEvents) {
  host.PushKeys({'Q'});
  EXPECT_EQ(ReadKey(), 'Q');
}

TEST_F(KeysTest, ReadKeyShowsTheCaretOnlyWhileWaiting) {
  Input().caretWanted = true;
  bool shownWhileWaiting = false;
  host.QueueStep([&] {
    shownWhileWaiting = host.CaretShown();
    PushKey('a');
  });
  EXPECT_EQ(ReadKey(), 'a');
  EXPECT_TRUE(shownWhileWaiting);
  EXPECT_FALSE(host.CaretShown());
}

// The wait for a key blocks in the host's wait for events: a host that
// slept instead would wake the machine a thousand times a second.
TEST_F(KeysTest, ReadKeyBlocksInTheHostsWaitNeverInASleep) {
  struct SleepCountingHost : HeadlessHost {
    int sleeps = 0;
    void Sleep(int ms) override {
      ++sleeps;
      HeadlessHost::Sleep(ms);
    }
  } counting;
  SetHost(&counting);
  counting.PushKeys({'Q'});
  counting.PushKeys({'R'});
  EXPECT_EQ(ReadKey(), 'Q');
  EXPECT_EQ(ReadKey(), 'R');
  EXPECT_EQ(counting.sleeps, 0);
  EXPECT_EQ(counting.WaitCount(), 2) << "one wait per key the script gives";
  SetHost(&host);
}

TEST_F(KeysTest, WaitingWithAnEmptyScriptThrows) {
  EXPECT_THROW(ReadKey(), ScriptExhausted);
}

TEST_F(KeysTest, KeyPressedProcessesEventsWithoutTakingTheCode) {
  EXPECT_FALSE(KeyPressed());
  host.PushKeys({'z'});
  Delay(5);  // the user acts while the program waits
  EXPECT_TRUE(KeyPressed());
  EXPECT_EQ(ReadKey(), 'z');
}

}  // namespace
}  // namespace vantu
