// Offered codes and typed-code completion over real indexes.
#include <gtest/gtest.h>

#include "record_ops_fixture.h"

namespace vantu {
namespace {

using test::RecordOpsTest;

class CodeAllocTest : public RecordOpsTest {};

TEST_F(CodeAllocTest, OffersTheNextItemOfAChapterUpToTheLimit) {
  struct Case {
    const char* name;
    int area;
    std::vector<const char*> codes;
    const char* chapter;
    const char* offer;  // nullptr: codes used up
  };
  const Case cases[] = {
      {"empty_chapter_inputs", 2, {"01", "02", "02010"}, "01", "01010"},
      {"after_last_item", 2, {"03", "03010", "03970", "04"}, "03", "03980"},
      {"limit_reached", 2, {"03", "03980", "04"}, "03", nullptr},
      {"beyond_limit", 2, {"03", "03985"}, "03", nullptr},
      {"empty_chapter_analyses", 3, {"01", "02"}, "01", "010010"},
      {"analysis_after_last", 3, {"01", "010010", "019970"}, "01", "019980"},
      {"analysis_limit", 3, {"01", "019980"}, "01", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenSet(std::string(1, 'A' + static_cast<int>(&c - cases)));
    for (const char* k : c.codes) AddCoded(c.area, k);
    Screen().At(1, 25).ch = ' ';
    const auto offer = NextItemCode(c.area, c.chapter);
    if (c.offer) {
      ASSERT_TRUE(offer.has_value());
      EXPECT_EQ(*offer, c.offer);
    } else {
      EXPECT_FALSE(offer.has_value());
      EXPECT_NE(Row25().find(kCodesExhausted), std::string::npos) << Row25();
    }
    CloseSet();
  }
}

TEST_F(CodeAllocTest, OffersTheChapterAfterTheLastOne) {
  OpenSet("A");
  EXPECT_EQ(NextChapterCode(2), "01");  // an empty file starts at 01
  AddInputs({"01", "01010", "07", "07010"});
  EXPECT_EQ(NextChapterCode(2), "08");
  AddInputs({"99"});
  EXPECT_FALSE(NextChapterCode(2).has_value());
  EXPECT_NE(Row25().find(kCodesExhausted), std::string::npos);
}

TEST_F(CodeAllocTest, CompletesTypedItemParts) {
  struct Case {
    int area;
    const char *typed, *current, *expected;
  };
  const Case cases[] = {
      {2, "020", "01010", "01020"},   {2, "020", "01", "01020"},
      {2, "02", "01010", "02"},       {2, "02030", "01010", "02030"},
      {2, "01020", "01010", "01020"}, {3, "0030", "010010", "010030"},
      {3, "02", "010010", "02"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " in " + c.current);
    EXPECT_EQ(CompleteCode(c.area, c.typed, c.current), c.expected);
  }
}

TEST_F(CodeAllocTest, RightClickMenuPlacesTheOfferInTheCodeField) {
  OpenSet("A");
  AddInputs({"01", "01010", "01020", "02"});
  Select("01010");
  // Right click on the code field, then "Adicionar ITEM", then Enter on
  // the offered code: 01030 is added and becomes current.
  host.Click(25, 10, false);
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" Cancelar Adicion   "));
    // The title sits inside the top border, with a line cell each side.
    const std::string title = "... codigo ofrecido ...";
    bool framed = false;
    for (int r = 1; r <= 25 && !framed; ++r) {
      const std::string row = ScreenRow(r);
      const size_t at = row.find(title);
      if (at == std::string::npos) continue;
      ASSERT_GE(at, 1u);
      const char line = static_cast<char>(196);
      framed = row[at - 1] == line && row[at + title.size()] == line;
    }
    EXPECT_TRUE(framed);
    PushKey(kKeyEnter);
  });
  host.QueueStep([] {
    EXPECT_EQ(ScreenRow(11).substr(25, 5), "01030");
    PushKey(kKeyEnter);
  });
  uint8_t key = 0;
  EnterCode(screen, key);
  EXPECT_EQ(Current(), "01030");
  EXPECT_GT(Find(2, "01030"), 0);
  EXPECT_EQ(Area(2).CurrentKey, "01030");
}

}  // namespace
}  // namespace vantu
