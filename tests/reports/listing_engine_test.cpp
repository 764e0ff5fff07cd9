// The listing engine: margins, pages and their numbers, page ranges, the
// separator page, amounts and the view-mode rules.
#include <algorithm>

#include "listing_fixture.h"
#include "reports/listing_run.h"
#include "storage/file_sets.h"

namespace vantu::test {
namespace {

const std::string kHeading = "CODIGO    DESCRIPCION" + std::string(34, ' ') + "VALOR";  // 60
const std::string kTitle = "L I S T A";
const std::string kDouble60(60, kRuleDouble);

class EngineTest : public ListingTest {
 protected:
  // A listing of `lines` numbered detail lines, as every listing walks.
  bool RunLines(int lines, int from, int to) {
    Area(kAreaInputs).SavedSetSerial = 3;
    BeginListing(kTitle, kHeading, Prefs().marginsBudget);
    ListingRun run{kAreaInputs, from, to};
    return RunTwoPasses(run, [lines](ListingRun& r) {
      for (int i = 1; i <= lines; ++i) {
        r.Begin();
        if (r.Line()) MarginLine("linea " + std::to_string(i));
      }
      return WalkEnd::Done;
    });
  }
  static int CountOf(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
      return l.find(part) != std::string::npos;
    }));
  }
};

TEST_F(EngineTest, LeftMarginFollowsWidthAndAdjustment) {
  struct Case {
    const char* name;
    int width, adjust;
    bool view;
    int expected;
  } cases[] = {
      {"narrow listing centred", 86, 0, false, 10 + 39 / 2},
      {"narrow with adjustment", 100, -3, false, -3 + 10 + 25 / 2},
      {"width 125 gets the base", 125, 0, false, 10},
      {"width 125 adjusted", 125, 4, false, 14},
      {"wide listing loses margin", 130, 0, false, 5},
      {"wide listing adjusted", 132, -5, false, -2},
      {"viewer always 1", 86, 5, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Shell().viewMode = c.view;
    Listing().margins.left = static_cast<int16_t>(c.adjust);
    Page().PageWidth = static_cast<int16_t>(c.width);
    EXPECT_EQ(ComputeLeftMargin(), c.expected);
  }
}

TEST_F(EngineTest, ControlTextPadsToFourDigits) {
  EXPECT_EQ(ControlText(7), "Control : 0007");
  EXPECT_EQ(ControlText(1234), "Control : 1234");
  EXPECT_EQ(ControlText(54321), "Control : 54321");
}

TEST_F(EngineTest, AmountsShowTwoFourOrSixDecimals) {
  struct Case {
    long double x;
    int width;
    int style;
    std::string text;
  } cases[] = {
      {1.5L, 10, 1, "     1.50 "},
      {1.2345L, 10, 1, "   1.2345 "},
      {1.234567L, 12, 1, "   1.234567 "},
      {1.23456L, 12, 1, "   1.234560 "},
      {1234567.25L, 14, 1, " 1,234,567.25 "},
      {1234567.25L, 14, 0, " 1'234.567,25 "},
      {-12.1L, 8, 1, " -12.10 "},
      {0.0L, 10, 1, "     ---- "},
      {0.0L, 21, 0, std::string(16, ' ') + "---- "},
      // Too wide for the column: fewer decimals, then no separators, then
      // stars; the column keeps its width.
      {-14580974300.0L, 18, 0, "  -14.580'974.300 "},
      {-14580974300.0L, 18, 1, "  -14,580,974,300 "},
      {999999999.9876L, 14, 1, "1,000,000,000 "},
      {-1234567890123.0L, 15, 1, "-1234567890123 "},
      {-123456789012345.0L, 15, 1, std::string(14, '*') + " "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<double>(c.x)) + " style " + std::to_string(c.style));
    Prefs().englishUnits = c.style == 1;
    EXPECT_EQ(AmountText(c.width, c.x), c.text);
    EXPECT_EQ(static_cast<int>(AmountText(c.width, c.x).size()), std::max(c.width, 0));
  }
}

TEST_F(EngineTest, HeaderInTheViewer) {
  Shell().viewMode = true;
  ASSERT_TRUE(RunLines(3, 1, 0));
  const auto lines = ListingLines();
  const std::string c = "Control : 0003";
  const std::string hoja = "Hoja [1] de [1]";
  const std::vector<std::string> expected = {
      std::string(1 + (60 - 14) / 2, ' ') + "ING. ANA PEREZ",
      "",
      std::string((60 - 9) / 2 + 1, ' ') + kTitle,
      " " + kDouble60,
      " RAMA DE PRUEBA",
      " 07/12/26" + std::string(23 - 8, ' ') + c +
          std::string(60 - 23 - c.size() - hoja.size(), ' ') + hoja,
      " " + kDouble60,
      " " + kHeading,
      " " + kDouble60,
      " linea 1",
      " linea 2",
      " linea 3",
      " " + kDouble60,
      "",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(EngineTest, HeaderWithAnObraShowsItsNameReferenceAndDate) {
  Shell().viewMode = true;
  Shell().obraSelected = true;
  Selection().ObraName = "EDIFICIO CENTRAL";
  Selection().ObraReference = "REF-22";
  Selection().BudgetDate = "01/02/26";
  ASSERT_TRUE(RunLines(1, 1, 0));
  const auto lines = ListingLines();
  ASSERT_GT(lines.size(), 6u);
  EXPECT_EQ(lines[4], " EDIFICIO CENTRAL" + std::string(60 - 16 - 6, ' ') + "REF-22");
  EXPECT_EQ(lines[5].substr(0, 9), " 01/02/26");
}

TEST_F(EngineTest, PageBreaksExactlyAtTheLimit) {
  Shell().viewMode = true;
  struct Case {
    bool dotMatrix;
    int bottom;
    int lines;
    int pages;
  } cases[] = {
      {true, 0, 53 - 9, 1},       {true, 0, 53 - 9 + 1, 2}, {false, 0, 91 - 14, 1},
      {false, 0, 91 - 14 + 1, 2}, {true, 2, 53 - 9 - 2, 1}, {true, 2, 53 - 9 - 1, 2},
      {true, 0, 3 * 44, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.lines) + " lines, matrix " + std::to_string(c.dotMatrix));
    EmptyListingFile();
    Prefs().dotMatrixPrinter = c.dotMatrix;
    Prefs().marginsBudget.bottom = static_cast<int16_t>(c.bottom);
    ASSERT_TRUE(RunLines(c.lines, 1, 0));
    EXPECT_EQ(Page().PageCount, c.pages);
    const auto lines = ListingLines();
    for (int n = 1; n <= c.pages; ++n)
      EXPECT_EQ(
          CountOf(lines, "Hoja [" + std::to_string(n) + "] de [" + std::to_string(c.pages) + "]"),
          1);
    // The page's last body line is followed by its rule and the next page.
    const int perPage = (c.dotMatrix ? 44 : 77) - c.bottom;
    const auto at = std::find(lines.begin(), lines.end(), " linea " + std::to_string(perPage));
    ASSERT_NE(at, lines.end());
    ASSERT_LT(at + 2, lines.end());
    EXPECT_EQ(*(at + 1), " " + kDouble60);
    EXPECT_EQ(*(at + 2), "");
    if (c.pages > 1) {
      ASSERT_LT(at + 3, lines.end());
      EXPECT_NE((at + 3)->find("ING. ANA PEREZ"), std::string::npos);
    }
  }
}

TEST_F(EngineTest, PageRangesWriteOnlyTheirPages) {
  Shell().viewMode = true;
  Prefs().dotMatrixPrinter = true;
  struct Case {
    int from, to;
    std::vector<int> pages;
  } cases[] = {
      {1, 0, {1, 2, 3}}, {2, 0, {2, 3}}, {1, 2, {1, 2}}, {2, 2, {2}}, {3, 2, {}}, {5, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("pages " + std::to_string(c.from) + " to " + std::to_string(c.to));
    EmptyListingFile();
    RunLines(3 * 44, c.from, c.to);
    const auto lines = ListingLines();
    for (int n = 1; n <= 3; ++n) {
      const bool wanted = std::find(c.pages.begin(), c.pages.end(), n) != c.pages.end();
      EXPECT_EQ(CountOf(lines, "Hoja [" + std::to_string(n) + "] de [3]"), wanted ? 1 : 0);
      EXPECT_EQ(
          std::count(lines.begin(), lines.end(), " linea " + std::to_string((n - 1) * 44 + 1)),
          wanted ? 1 : 0);
    }
  }
}

TEST_F(EngineTest, SeparatorPageComesBeforeTheFirstPageFromPageZero) {
  Prefs().dotMatrixPrinter = false;
  RunLines(2, 0, 0);
  const auto lines = ListingLines();
  ASSERT_GT(lines.size(), 52u);
  for (int i = 0; i < 48; ++i) EXPECT_EQ(lines[static_cast<size_t>(i)], "") << i;
  const std::string rule = std::string(20, ' ') + std::string(100, kRuleDouble);
  EXPECT_EQ(lines[48], rule);
  EXPECT_EQ(lines[49], std::string(20 + (100 - 9) / 2, ' ') + kTitle);
  EXPECT_EQ(lines[50], rule);
  EXPECT_EQ(lines[51], std::string(1, kCodeFF));
  EXPECT_EQ(CountOf(lines, "Hoja [1] de [1]"), 1);
}

TEST_F(EngineTest, ViewModeWritesNoControlCodes) {
  Shell().viewMode = true;
  RunLines(100, 1, 0);
  const std::string bytes = ListingBytes();
  ASSERT_FALSE(bytes.empty());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    EXPECT_TRUE(b >= 32 || b == '\r' || b == '\n') << int(b);
  }
}

TEST_F(EngineTest, PrintedPagesAreFilledAndEndWithFormFeed) {
  Prefs().dotMatrixPrinter = true;
  RunLines(44 + 5, 1, 0);
  const auto lines = ListingLines();
  const auto feeds = std::count(lines.begin(), lines.end(), std::string(1, kCodeFF));
  EXPECT_EQ(feeds, 2);
  // Every page is the same number of lines: header, 44 body lines, the rule
  // and the form feed.
  ASSERT_EQ(lines.size(), 2u * (9 + 44 + 2));
  EXPECT_EQ(lines[2 * (9 + 44 + 2) - 1], std::string(1, kCodeFF));
}

TEST_F(EngineTest, NothingListedIsReportedAndCounted) {
  BeginListing(kTitle, kHeading, Prefs().marginsBudget);
  ListingRun run{kAreaInputs, 1, 0};
  std::string screen;
  host.QueueStep([&] {
    screen = ScreenText();
    PushKey(kKeyEnter);
  });
  EXPECT_FALSE(RunTwoPasses(run, [](ListingRun&) { return WalkEnd::Done; }));
  EXPECT_EQ(Listing().emptyListingCount, 1);
  EXPECT_NE(screen.find("<< La Obra no usa datos de este listado >>"), std::string::npos);

  Listing().quietEmpty = true;
  EXPECT_FALSE(RunTwoPasses(run, [](ListingRun&) { return WalkEnd::Done; }));
  EXPECT_EQ(Listing().emptyListingCount, 2);
}

TEST_F(EngineTest, InterruptionStopsAndIsCleared) {
  Listing().interruptRequested = true;
  EXPECT_TRUE(CheckInterrupt());
  EXPECT_FALSE(Listing().listingContinue);
  EXPECT_FALSE(Listing().interruptRequested);
  EXPECT_FALSE(CheckInterrupt());
  EXPECT_TRUE(Listing().listingContinue);
  // An Esc waiting in the key queue asks for the interruption.
  PushKey(kKeyEsc);
  EXPECT_TRUE(CheckInterrupt());
}

}  // namespace
}  // namespace vantu::test
