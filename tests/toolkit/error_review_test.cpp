#include "toolkit/error_review.h"

#include <gtest/gtest.h>

#include <vector>

#include "console/key_buttons.h"
#include "console/keys.h"
#include "toolkit/key_reader.h"
#include "toolkit_fixture.h"

namespace vantu {
namespace {

ErrorEntry Content(uint8_t kind, const std::string& code, std::vector<uint8_t> missing) {
  ErrorEntry e;
  e.severity = kSevContent;
  e.targetKind = kind;
  e.errCode = code;
  e.nameIndex = 2;
  e.missing = std::move(missing);
  return e;
}

ErrorEntry Cross(uint8_t severity, uint8_t kind, const std::string& code, uint8_t nameIndex,
                 const std::string& details, uint8_t variant) {
  ErrorEntry e;
  e.severity = severity;
  e.targetKind = kind;
  e.errCode = code;
  e.nameIndex = nameIndex;
  e.detailsText = details;
  e.variant = variant;
  return e;
}

// The bytes of `s` as key codes, then `tail`.
std::vector<int> Codes(const std::string& s, std::vector<int> tail) {
  std::vector<int> v(reinterpret_cast<const uint8_t*>(s.data()),
                     reinterpret_cast<const uint8_t*>(s.data()) + s.size());
  v.insert(v.end(), tail.begin(), tail.end());
  return v;
}

class ReviewTest : public test::ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    Shell().atMainMenu = true;
    WorkAreaLinks().markReplayKey = [this](int area) { marked.push_back(area); };
  }

  void Write(const std::vector<ErrorEntry>& records) {
    ASSERT_TRUE(WriteErrorFile(Shell().errorFileName, records));
  }

  // Types `key` and reads codes as the main loop and a data-entry module
  // do until the module is told to show the record (128): a letter at the
  // main menu opens the module, Esc closes it.
  std::vector<int> Press(uint8_t key) {
    PushKey(key);
    std::vector<int> got;
    for (int i = 0; i < 30; ++i) {
      uint8_t code = GetKey();
      got.push_back(code);
      if (level == 0 && code >= 'D' && code <= 'H')
        level = 1;
      else if (level == 1 && code == kKeyEsc)
        level = 0;
      Shell().atMainMenu = level == 0;
      Shell().escDepth = static_cast<uint8_t>(level);
      if (code == kReplayDone || code == 0) break;
    }
    return got;
  }

  static std::string Row(const std::string& s) { return s + std::string(80 - s.size(), ' '); }

  int level = 0;
  std::vector<int> marked;
};

TEST_F(ReviewTest, WalkReplaysKeysAndShowsEachError) {
  Write({
      Cross(kSevCross, 3, "010002", 2, "01005", 0), Content(2, "01009", {2}),  // hidden below
      Content(2, "01001 ", {0, 1}), Content(1, " ---- ", {7}),
      Cross(kSevWarning, 8, "010003", 0, "02001", 2),
      Cross(kSevCross, 4, "03001", 0, "------", 1),  // no module shows it
      Content(6, "01001", {4}),                      // hidden below
  });
  StartErrorReview(7);
  HideError(1);
  HideError(6);
  EXPECT_EQ(Review().errorCount, 5);

  struct Step {
    const char* name;
    uint8_t key;
    std::vector<int> codes;
    std::string row25;  // empty: row 25 as the step before left it
    int beeps;
  };
  const uint8_t up = kKeyCtrlPgUp, down = kKeyCtrlPgDn;
  const std::string esc = "\x1b";
  const Step steps[] = {
      {"first from the menu", down,
       Codes("\xae"
             "F010002\r",
             {128}),
       "**[1:5] ERROR ...{ Insumo Basico 01005 eliminado usuario }", 0},
      {"skips the hidden one", down, Codes("\xae" + esc + "E01001\r", {128}),
       "**[2:5] CORREGIR ..{ descripcion }..{ unidad }", 0},
      {"general data: no code, no line", down, Codes("\xae" + esc + "D\r", {128}), "", 0},
      {"warning", down, Codes("\xae" + esc + "F010003\r", {128}),
       "**[4:5] ADVERTENCIA ...{ Codigo 02001 candidato a eliminar }", 0},
      {"no keys: shown at the menu", down, Codes("\xae" + esc, {128}),
       "**[5:5] ERROR ...{ Analisis unitario involucrado en error de circularidad }", 0},
      {"last visible: beeps and stays", down, Codes("\xae", {128}),
       "**[5:5] ERROR ...{ Analisis unitario involucrado en error de circularidad }", 1},
      {"back one", up,
       Codes("\xad"
             "F010003\r",
             {128}),
       "**[4:5] ADVERTENCIA ...{ Codigo 02001 candidato a eliminar }", 1},
      {"back to general data", up, Codes("\xad" + esc + "D\r", {128}), "", 1},
      {"back over the hidden one", up, Codes("\xad" + esc + "E01001\r", {128}),
       "**[2:5] CORREGIR ..{ descripcion }..{ unidad }", 1},
      {"first", up, Codes("\xad" + esc + "F010002\r", {128}),
       "**[1:5] ERROR ...{ Insumo Basico 01005 eliminado usuario }", 1},
      {"first: beeps and stays", up, Codes("\xad" + esc + "F010002\r", {128}),
       "**[1:5] ERROR ...{ Insumo Basico 01005 eliminado usuario }", 2},
  };
  std::string row25;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    marked.clear();
    EXPECT_EQ(Press(s.key), s.codes);
    if (!s.row25.empty()) row25 = Row(s.row25);
    EXPECT_EQ(ScreenRow(25), row25);
    EXPECT_EQ(host.BeepCount(), s.beeps);
    // Every replayed key sets the browsing flag of the target area.
    for (int area : marked) EXPECT_EQ(area, Review().reviewTargetKind);
  }

  // Ctrl+Fin inside the module ends the review and reaches it as 0.
  ShowReviewButtons();
  ASSERT_TRUE(Buttons().rows[1].shown);
  EXPECT_EQ(Press(kKeyCtrlEnd), std::vector<int>{0});
  EXPECT_FALSE(Review().active);
  EXPECT_EQ(Review().errorCount, 0);
  EXPECT_FALSE(Buttons().rows[1].shown);
  EXPECT_EQ(ScreenRow(25), Row(""));
  EXPECT_TRUE(SavedStatusLine().empty());
  // Afterwards the review keys are plain keys.
  PushKey(kKeyCtrlPgDn);
  EXPECT_EQ(GetKey(), kKeyCtrlPgDn);
  EXPECT_FALSE(Review().replayActive);
}

TEST_F(ReviewTest, EndRules) {
  Write({Content(2, "01001", {0}), Content(3, "010001", {3})});
  // Without errors the review keys reach the module as they are.
  for (uint8_t key : {kKeyCtrlEnd, kKeyCtrlPgDn, kKeyCtrlPgUp}) {
    SCOPED_TRACE(key);
    PushKey(key);
    EXPECT_EQ(GetKey(), key);
    EXPECT_FALSE(Review().replayActive);
  }
  StartErrorReview(2);
  EXPECT_EQ(Press(kKeyCtrlPgDn), Codes("\xae"
                                       "E01001\r",
                                       {128}));
  EXPECT_EQ(Press(kKeyCtrlPgDn), Codes("\xae\x1b"
                                       "F010001\r",
                                       {128}));
  EXPECT_EQ(host.BeepCount(), 0);
  EXPECT_EQ(Press(kKeyCtrlPgDn), Codes("\xae\x1b"
                                       "F010001\r",
                                       {128}));
  EXPECT_EQ(host.BeepCount(), 1);
  EXPECT_EQ(ScreenRow(25), Row("**[2:2] CORREGIR ..{ costos }"));
}

TEST_F(ReviewTest, BackFromBeforeTheFirstGoesToTheFirst) {
  Write({Content(2, "01001", {0}), Content(2, "01002", {1})});
  StartErrorReview(2);
  EXPECT_EQ(Press(kKeyCtrlPgUp), Codes("\xad"
                                       "E01001\r",
                                       {128}));
  EXPECT_EQ(host.BeepCount(), 1);
  EXPECT_EQ(ScreenRow(25), Row("**[1:2] CORREGIR ..{ descripcion }"));
}

TEST_F(ReviewTest, HidingTheCurrentErrorKeepsThePositionRight) {
  Write({Content(2, "01001", {0}), Content(2, "01002", {1}), Content(2, "01003", {2})});
  StartErrorReview(3);
  Press(kKeyCtrlPgDn);
  Press(kKeyCtrlPgDn);
  HideError(1);  // its record was deleted
  EXPECT_EQ(Press(kKeyCtrlPgDn), Codes("\xae\x1b"
                                       "E01003\r",
                                       {128}));
  EXPECT_EQ(ScreenRow(25), Row("**[2:2] CORREGIR ..{ precio }"));
  HideError(0);
  HideError(2);
  EXPECT_FALSE(Review().active);
}

TEST_F(ReviewTest, ClearMessageBringsBackTheReviewLineOnTheErrorRecord) {
  Write({Content(2, "01001 ", {1})});
  StartErrorReview(1);
  Press(kKeyCtrlPgDn);
  std::string key = "1001";
  WorkAreaLinks().currentKey = [&key](int area) { return area == 2 ? key : std::string(); };
  ShowStatusMessage("Aviso");
  ClearMessage(2);
  EXPECT_EQ(ScreenRow(25), Row("**[1:1] CORREGIR ..{ unidad }"));
  key = "01002";
  ShowStatusMessage("Aviso");
  ClearMessage(2);
  EXPECT_EQ(ScreenRow(25), Row(""));
}

TEST(ReviewTexts, DescriptionsAndKeys) {
  struct Case {
    const char* name;
    ErrorEntry entry;
    std::string description;
    std::string keys;
    uint8_t kind;  // target area after the keys (0: unchanged)
  };
  const Case cases[] = {
      {"content of an analysis", Content(3, "010001", {5, 6}), "..{ grupo }..{ cantidades }",
       "F010001\r$", 3},
      {"group change", Content(7, "010001", {13}), "..{ eliminar un item }", "F010001\r$", 3},
      {"subcontract", Content(4, " 04001", {11, 12}), "..{ codigos }..{ globales }", "G04001\r$",
       4},
      {"budget item", Content(6, "01002", {4, 20}), "..{ cantidad o precio }", "H01002\r$", 6},
      {"general data", Content(1, " ---- ", {8, 9, 10}), "..{ obra }..{ referencia }..{ fecha }",
       "D\r$", 1},
      {"content of kind 5", Content(5, "01", {1}), "..{ unidad }", "", 0},
      {"broken global price", Cross(kSevCross, 6, "01001", 5, "010002", 0),
       "...{ Global de Unitario 010002 eliminado usuario }", "H01001\r$", 6},
      {"budget user of a deleted code", Cross(kSevWarning, 9, "02003", 0, "01001", 2),
       "...{ Codigo 01001 candidato a eliminar }", "H02003\r$", 6},
      {"cross error of basic inputs", Cross(kSevCross, 2, "01001", 2, "01001", 0),
       "...{ Insumo Basico 01001 eliminado usuario }", "", 0},
      {"unknown name index", Cross(kSevCross, 3, "010001", 40, "x", 0),
       "...{  x eliminado usuario }", "F010001\r$", 3},
      {"unknown variant", Cross(kSevCross, 3, "010001", 2, "x", 7), "", "F010001\r$", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorDescription(c.entry), c.description);
    uint8_t kind = 0;
    EXPECT_EQ(ErrorReplayKeys(c.entry, kind), c.keys);
    EXPECT_EQ(kind, c.kind);
  }
}

}  // namespace
}  // namespace vantu
