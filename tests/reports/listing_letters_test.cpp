// Letters of the data in the listing file: marked so that no reader takes
// É for the frame corner of the same byte, while frames keep their bytes
// and every column keeps its width.
#include <algorithm>

#include "app/reset_core_state.h"
#include "listing_fixture.h"
#include "reports/form_lines.h"
#include "reports/listing_output.h"
#include "reports/listing_page.h"
#include "session/selection_state.h"

namespace vantu::test {
namespace {

const std::string M(1, kLetterMark);

TEST(ListingLetters, DataBytesReadAsPiecesAreMarked) {
  const struct {
    const char* name;
    std::string data, marked;
  } cases[] = {
      {"plain text as it is", "CONCRETO 3000 PSI", "CONCRETO 3000 PSI"},
      {"empty", "", ""},
      {"E acute, N tilde kept", "JOS\xC9 MU\xD1OZ", "JOS" + M + "\xC9 MU\xD1OZ"},
      {"o acute above the frames", "Excavaci\xF3n", "Excavaci" + M + "\xF3n"},
      {"capitals on frame bytes", "\xCD\xD3\xDA", M + "\xCD" + M + "\xD3" + M + "\xDA"},
      {"squared and cubed units", "m\xB2 m\xB3", "m" + M + "\xB2 m" + M + "\xB3"},
      {"n tilde kept", "a\xF1o", "a\xF1o"},
      {"marked twice stays", "JOS" + M + "\xC9", "JOS" + M + "\xC9"},
      {"control codes untouched", "\x0f\x1bG", "\x0f\x1bG"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MarkLetters(c.data), c.marked);
    EXPECT_EQ(Columns(c.marked), Columns(c.data)) << "the mark takes no column";
  }
  EXPECT_EQ(Columns("JOS" + M + "\xC9"), 4);
  EXPECT_EQ(Columns("A" + M), 2) << "a mark at the end marks nothing and is shown";
}

TEST(ListingLetters, DotMatrixGetsTheLettersAtTheirPrinterPositions) {
  const std::string listing = "\xC9\xCD " + MarkLetters("JOS\xC9 MU\xD1OZ Excavaci\xF3n \xCD\xFC");
  std::string expected = "\xC9\xCD JOS\x90 MU\xA5OZ Excavaci\xA2n I\x81";
  EXPECT_EQ(RawPrinterBytes(listing), expected) << "frames stay, letters lose their mark";
}

class ListingLettersPage : public ListingTest {
 protected:
  void SetUp() override {
    ResetCoreState();
    ListingTest::SetUp();
    Prefs().dotMatrixPrinter = false;
  }
  // One page with the given data: header, a row of form cells between
  // separators, a field line, and the listing's rules.
  std::vector<std::string> WritePage(const std::string& consultant, const std::string& obra,
                                     const std::string& description, const std::string& unit) {
    EmptyListingFile();
    Shell().consultantName = consultant;
    Shell().obraSelected = true;
    Selection().ObraName = obra;
    Selection().ObraReference = "REF " + unit;
    Selection().BudgetDate = "01/02/26";
    BeginListing("L I S T A", "CODIGO  DESCRIPCION" + std::string(41, ' '), Prefs().marginsBudget);
    StartPass(2);
    PageHeader(Page().ListingTitle, 7, 1, 0);
    StartLine(kFormSeparator);
    ListingWrite(Cell(" 01 001", 9) + Cell(" " + description, 30) + Cell(" " + unit, 6));
    LineEnd();
    StartLine();
    Field(description, 20);
    CentredField(unit, 9);
    LineEnd();
    RightLine(description + " $ 1.00");
    CloseLastPage(true);
    return ListingLines();
  }
};

TEST_F(ListingLettersPage, DataLettersAreMarkedAndFramesAndWidthsAreKept) {
  const std::vector<std::string> accented =
      WritePage("ING. JOS\xC9 MU\xD1OZ", "OBRA \xCD\xD3\xDA", "Excavaci\xF3n", "m\xB3");
  const std::vector<std::string> plain =
      WritePage("ING. JOSE MU\xD1OZ", "OBRA IOU", "Excavacion", "m3");
  ASSERT_EQ(accented.size(), plain.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    SCOPED_TRACE(plain[i]);
    EXPECT_EQ(Columns(accented[i]), static_cast<int>(plain[i].size())) << "width kept";
  }
  const auto has = [&](const std::string& part) {
    return std::any_of(accented.begin(), accented.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
  };
  EXPECT_TRUE(has("ING. JOS" + M + "\xC9 MU\xD1OZ"));
  EXPECT_TRUE(has("OBRA " + M + "\xCD" + M + "\xD3" + M + "\xDA"));
  EXPECT_TRUE(has("Excavaci" + M + "\xF3n"));
  // The rules and the form's separators are written as they are.
  const std::string rule(60, kRuleDouble);
  EXPECT_TRUE(has(rule));
  EXPECT_TRUE(has(std::string(1, kFormSeparator) + " 01 001  " + kFormSeparator + " Excavaci" + M +
                  "\xF3n"));
  EXPECT_TRUE(has(" m" + M + "\xB3   " + kFormSeparator));
  // Lines of frames alone are the same bytes whatever the data.
  int frameLines = 0;
  for (const std::string& line : plain) {
    if (line.find(kRuleDouble) == std::string::npos) continue;
    ++frameLines;
    EXPECT_TRUE(has(line)) << "frame line changed";
  }
  EXPECT_GE(frameLines, 4) << "the rules over and under the heading, the title's and the last";
}

}  // namespace
}  // namespace vantu::test
