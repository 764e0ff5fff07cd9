#include "console/zones.h"

#include <gtest/gtest.h>

#include <vector>

#include "console/keys.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

class ZonesTest : public test::HeadlessTest {
 protected:
  static constexpr int kW = 9, kH = 18;
  // Left click on a 0-based cell; returns the code it queued.
  int ClickCell(int col, int row, MouseBtn b = MouseBtn::Left) {
    MouseDown(col * kW + 2, row * kH + 3, b, kW, kH);
    MouseUp();
    uint8_t code = 0;
    EXPECT_TRUE(PopKey(code));
    return code;
  }
  void Add(int table, int index, const ClickZone& z) { Zones(table)[index] = z; }
};

TEST_F(ZonesTest, ClickOutsideEveryZoneQueues255AndRecordsTheCell) {
  EXPECT_EQ(ClickCell(12, 7), 255);
  EXPECT_EQ(Input().mouseCol, 12);
  EXPECT_EQ(Input().mouseRow, 7);
  EXPECT_EQ(Input().mouseButton, -1);
  EXPECT_TRUE(Input().noTypedKey);
}

TEST_F(ZonesTest, LaterTablesWinOverEarlierOnes) {
  Add(1, 0, MakeZone('a', 0, 10, 0, 5));
  Add(6, 0, MakeZone('f', 5, 6, 2, 2));
  Add(8, 0, MakeZone('h', 0, 79, 0, 24));
  EXPECT_EQ(ClickCell(5, 2), 'f');
  EXPECT_EQ(Zones(6)[0].hitCol, 6);
  EXPECT_EQ(Zones(6)[0].hitRow, 3);
  EXPECT_EQ(ClickCell(1, 1), 'a');
  EXPECT_EQ(ClickCell(50, 20), 'h');
}

TEST_F(ZonesTest, FirstMatchingZoneOfATableAndTheEndMarker) {
  Add(2, 0, MakeZone('1', 0, 3, 0, 0));
  Add(2, 1, MakeZone('2', 0, 3, 0, 0));
  Add(2, 3, MakeZone('4', 10, 12, 0, 0));  // after the end marker at index 2
  EXPECT_EQ(ClickCell(2, 0), '1');
  EXPECT_EQ(ClickCell(11, 0), 255);
}

TEST_F(ZonesTest, ButtonMustMatch) {
  ClickZone right = MakeZone('r', 0, 5, 0, 0);
  right.button = 1;
  Add(3, 0, right);
  EXPECT_EQ(ClickCell(1, 0), 255);
  EXPECT_EQ(ClickCell(1, 0, MouseBtn::Right), 'r');
  EXPECT_EQ(Input().mouseButton, 1);
}

TEST_F(ZonesTest, RepeatedClickOnTable8TogglesAndAnotherZoneResets) {
  ClickZone a = MakeZone('a', 0, 5, 0, 10);
  a.secondCode = 'A';
  a.field = 7;
  ClickZone b = MakeZone('b', 10, 15, 0, 10);
  b.secondCode = 'B';
  Add(8, 0, a);
  Add(8, 1, b);
  EXPECT_EQ(ClickCell(2, 3), 'a');
  EXPECT_EQ(Input().clickedField, 7);
  EXPECT_EQ(ClickCell(3, 3), 'A');
  EXPECT_EQ(ClickCell(3, 3), 'a');
  EXPECT_EQ(ClickCell(2, 4), 'a');  // another row is not a repeat
  EXPECT_EQ(ClickCell(12, 4), 'b');
  EXPECT_EQ(Input().clickedField, 0);
  EXPECT_EQ(ClickCell(2, 4), 'a');
}

TEST_F(ZonesTest, Table8IgnoredWhileSwitchedOff) {
  Add(8, 0, MakeZone('h', 0, 79, 0, 24));
  Input().zoneTable8Off = true;
  EXPECT_EQ(ClickCell(3, 3), 255);
}

TEST_F(ZonesTest, Table7HasItsOwnMemory) {
  ClickZone seven = MakeZone('s', 0, 5, 0, 0);
  seven.secondCode = 'S';
  ClickZone eight = MakeZone('e', 0, 5, 1, 1);
  eight.secondCode = 'E';
  Add(7, 0, seven);
  Add(8, 0, eight);
  EXPECT_EQ(ClickCell(1, 0), 's');
  EXPECT_EQ(ClickCell(1, 1), 'e');
  EXPECT_EQ(ClickCell(1, 0), 'S');
}

TEST_F(ZonesTest, MemoryTimerForgetsAfterFiveTicks) {
  ClickZone a = MakeZone('a', 0, 5, 0, 0);
  a.secondCode = 'A';
  a.memory = 1;
  Add(8, 0, a);
  EXPECT_EQ(ClickCell(1, 0), 'a');
  EXPECT_TRUE(MemoryTimerRunning());
  for (int i = 0; i < 4; ++i) MemoryTimerTick();
  EXPECT_EQ(ClickCell(1, 0), 'A');
  EXPECT_EQ(ClickCell(1, 0), 'a');
  for (int i = 0; i < 5; ++i) MemoryTimerTick();
  EXPECT_FALSE(MemoryTimerRunning());
  EXPECT_EQ(ClickCell(1, 0), 'a');  // forgotten: the first code again
}

TEST_F(ZonesTest, AutoRepeatFromTheFifthTickUntilThePointerLeaves) {
  ClickZone z = MakeZone('+', 10, 12, 5, 5);
  z.autoRepeat = 1;
  Add(5, 0, z);
  MouseDown(11 * kW, 5 * kH, MouseBtn::Left, kW, kH);
  uint8_t code;
  ASSERT_TRUE(PopKey(code));
  EXPECT_EQ(code, '+');
  std::vector<int> repeatedAt;
  for (int tick = 1; tick <= 8; ++tick) {
    if (RepeatTimerTick()) {
      RepeatLastClick();
      repeatedAt.push_back(tick);
      ASSERT_TRUE(PopKey(code));
      EXPECT_EQ(code, '+');
    }
  }
  EXPECT_EQ(repeatedAt, (std::vector<int>{5, 6, 7, 8}));
  MouseMove(20 * kW, 5 * kH, kW, kH);  // left the zone
  EXPECT_FALSE(RepeatTimerTick());
  EXPECT_FALSE(RepeatTimerRunning());
  EXPECT_TRUE(KeyQueueEmpty());
}

TEST_F(ZonesTest, ButtonUpStopsTheRepeat) {
  ClickZone z = MakeZone('+', 0, 2, 0, 0);
  z.autoRepeat = 1;
  Add(5, 0, z);
  MouseDown(0, 0, MouseBtn::Left, kW, kH);
  MouseMove(kW, 0, kW, kH);  // still inside
  EXPECT_FALSE(RepeatTimerTick());
  EXPECT_TRUE(RepeatTimerRunning());
  MouseUp();
  EXPECT_FALSE(RepeatTimerTick());
  EXPECT_FALSE(RepeatTimerRunning());
}

TEST_F(ZonesTest, ClearFillsWithBytes255) {
  Add(4, 0, MakeZone('x', 0, 0, 0, 0));
  ClearZoneTable4();
  const auto* bytes = reinterpret_cast<const uint8_t*>(Zones(4).data());
  for (size_t i = 0; i < sizeof(ZoneTable); ++i) ASSERT_EQ(bytes[i], 255) << i;
}

}  // namespace
}  // namespace vantu
