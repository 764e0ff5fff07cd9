// Where a consultant clicks in the window: a line of an analysis moves the
// cursor to the field clicked, and a right click offers a code only on the
// code field it was made on.
#include <gtest/gtest.h>

#include <string>

#include "e2e/empty_folder_session.h"
#include "records/analysis_records.h"

namespace vantu {
namespace {

class ClicksSessionTest : public test::EmptyFolderSession {
 protected:
  // The set's analysis 010020 as the program left it.
  AnalysisRecord StoredAnalysis() {
    OpenTheSet();
    AnalysisRecord a;
    std::string key = "010020";
    int16_t r = 0;
    FindKey(Area(3).Index, r, key);
    EXPECT_TRUE(LastOpOk());
    GetRec(Area(3).Data, r, a.data());
    CloseTheSet();
    return a;
  }
  static AnalysisLine LineOf(const AnalysisRecord& a, int group, int index) {
    return Get(a, analysis::Lines(SectionFirstSlot(a, group) + index));
  }
};

// The screen cell (0-based) `offset` cells right of where `text` begins on
// the screen, found at the moment of the click.
bool CellOf(const std::string& text, int offset, int& col0, int& row0) {
  for (int row = 1; row <= 25; ++row) {
    const size_t at = ScreenRow(row).find(text);
    if (at == std::string::npos) continue;
    col0 = static_cast<int>(at) + offset;
    row0 = row - 1;
    return true;
  }
  return false;
}

// A click of the left or right button on that cell, as the window turns it
// into a zone's code.
void ClickOn(const std::string& text, int offset, bool left = true) {
  int col0 = 0, row0 = 0;
  ASSERT_TRUE(CellOf(text, offset, col0, row0)) << text << "\n" << ScreenText();
  MouseDown(col0 * 9, row0 * 18, left ? MouseBtn::Left : MouseBtn::Right, 9, 18);
  MouseUp();
}

void TypeKeys(const std::string& text, int end = kKeyEnter) {
  for (unsigned char ch : text) PushKey(ch);
  PushKey(static_cast<uint8_t>(end));
}

// From the analysis's description, a click on a line's quantity edits that
// quantity, and one on a global line's price edits that price; what is
// typed there never reaches the field the cursor was on.
TEST_F(ClicksSessionTest, AClickOnAnAnalysisLineMovesToTheClickedField) {
  SelectNewRamaAndObra();
  GeneralData();
  BasicInputs();
  Analyses();
  Menu('F');
  Type("010020");
  host.QueueStep([] {
    ClickOn("CEMENTO GRIS", 62);  // the quantity of the materials' first line
    TypeKeys("7");
  });
  host.QueueStep([] {
    ClickOn("ANDAMIO", 46);  // the global line's price
    TypeKeys("2500");
  });
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(4).find("MURO EN BLOQUE"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
  Quit();
  const AnalysisRecord a = StoredAnalysis();
  EXPECT_EQ(Get(a, analysis::Description), "MURO EN BLOQUE");
  EXPECT_EQ(Get(LineOf(a, 2, 0), analysis_line::RefCode), "02010");
  EXPECT_EQ(Get(LineOf(a, 2, 0), analysis_line::Quantity), 7.0L);
  EXPECT_EQ(Get(LineOf(a, 4, 0), analysis_line::RefCode), "04010");
  OpenTheSet();
  GlobalPriceRecord g;
  GetRec(Area(5).Data, Get(LineOf(a, 1, 0), analysis_line::RefRecNo), g.data());
  CloseTheSet();
  EXPECT_EQ(Get(g, global_price::GlobalPrice), 2500.0L);
}

// On a line, a right click on the analysis's own code field offers nothing:
// the line's menu of a global code belongs to the line's code field.
TEST_F(ClicksSessionTest, ARightClickOffTheLineOffersNoGlobalCode) {
  SelectNewRamaAndObra();
  GeneralData();
  BasicInputs();
  Analyses();
  Menu('F');
  Type("010020", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter});  // to the lines
  host.QueueStep([] {
    EXPECT_EQ(WhereY(), 7) << ScreenText();
    ClickOn("Codigo :", 10, false);
  });
  host.QueueStep([] {
    EXPECT_FALSE(ScreenContains(" Codigo Item Global ")) << ScreenText();
    ClickOn("ANDAMIO", -8, false);  // the line's own code
  });
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" Codigo Item Global ")) << ScreenText();
    PushKey(kKeyEsc);  // the menu
  });
  host.QueueStep([] { PushKey(kKeyEsc); });
  Quit();
  const AnalysisRecord a = StoredAnalysis();
  EXPECT_EQ(Get(LineOf(a, 1, 0), analysis_line::RefCode), "000000");
  EXPECT_EQ(Get(LineOf(a, 2, 0), analysis_line::RefCode), "02010");
}

}  // namespace
}  // namespace vantu
