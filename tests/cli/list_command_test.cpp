// vantu-cli list over generated calculated sets: the text is what the
// viewer gets, page ranges, refusals and bad arguments that write nothing,
// and the PDF drawn by the window program.
#include "cli/list_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "app/install_modules.h"
#include "cli/calc_command.h"
#include "cli/list_host.h"
#include "cli/set_open.h"
#include "records/dataset_fixture.h"
#include "reports/budget_listings.h"
#include "reports/listing_fixture.h"
#include "reports/listing_output.h"

namespace vantu::test {
namespace {

// "ING. MUÑOZ" as the settings file holds it (UTF-8) and as listings print it.
constexpr const char* kConsultantUtf8 = "ING. MU\xC3\x91OZ";
constexpr const char* kConsultant1252 = "ING. MU\xD1OZ";

using ListingFn = bool (*)(int, int);

class ListCommandTest : public DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    setenv("VANTU_HOME", (root / "home").c_str(), 1);
    fs::create_directories(root / "home");
    std::ofstream(root / "home" / "Presupuesto.conf")
        << "[Presupuesto]\nsConsultor=" << kConsultantUtf8 << "\n";
    auto shape = SmallShape();
    shape.calculated = true;
    GenerateDataset(shape);
  }
  void TearDown() override {
    unsetenv("VANTU_HOME");
    unsetenv("VANTU_GUI_PROGRAM");
    DatasetTest::TearDown();
  }

  // Runs the command with the set's arguments and `extra`; the status.
  int List(std::vector<std::string> extra, bool withObra = true) {
    std::vector<std::string> args = {"--dir", dataDir.string(), "--rama", "A"};
    if (withObra) args.insert(args.end(), {"--obra", "01"});
    args.insert(args.end(), extra.begin(), extra.end());
    const int status = cli::ListCommand(args, "vantu-cli");
    SetHost(&host);
    return status;
  }

  // What the viewer gets from the listing run in the view mode, as the
  // partial listings command runs it.
  std::string ViewModeText(ListingFn fn, int from, int to) {
    ListingHost viewer;
    SetHost(&viewer);
    InstallModules();
    cli::OpenSetAsSelected(dataDir.string(), "A", "01", "vantu-cli");
    Shell().consultantName = kConsultant1252;
    Shell().listingFileName = (root / "LPT").string();
    Shell().viewMode = true;
    EmptyListingFile();
    fn(from, to);
    OutputListing(false);
    cli::FinishSetRun();
    SetHost(&host);
    return viewer.shown.empty() ? std::string() : viewer.shown.front();
  }

  static std::string Slurp(const fs::path& p) { return ListingHost::Slurp(p.string()); }

  // The page numbers "Hoja [n] de [m]" in order, and m.
  static std::vector<int> Pages(const std::string& text, int& total) {
    std::vector<int> pages;
    const std::regex hoja(R"(Hoja \[(\d+)\] de \[(\d+)\])");
    for (std::sregex_iterator it(text.begin(), text.end(), hoja), end; it != end; ++it) {
      pages.push_back(std::stoi((*it)[1]));
      total = std::stoi((*it)[2]);
    }
    return pages;
  }
};

TEST_F(ListCommandTest, TextIsWhatTheViewerGets) {
  const struct {
    const char* name;
    ListingFn fn;
  } cases[] = {
      {"insumos", ListBasicInputs},
      {"analisis-varios", ListAnalysesSeveral},
      {"analisis-hoja", ListAnalysesOnePerPage},
      {"resumen-precios", ListUnitPriceSummary},
      {"subcontratos", ListSubcontracts},
      {"requerimientos", ListRequirements},
      {"presupuesto", ListWorkBudget},
      {"resumen-presupuesto", ListBudgetSummary},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path out = root / (std::string(c.name) + ".txt");
    ASSERT_EQ(List({"--listing", c.name, "--text", out.string()}), cli::kExitOk);
    const std::string text = Slurp(out);
    EXPECT_EQ(text, ViewModeText(c.fn, 1, 0));
    EXPECT_NE(text.find(kConsultant1252), std::string::npos) << "the consultant of the settings";
    int total = 0;
    const std::vector<int> pages = Pages(text, total);
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front(), 1);
    EXPECT_EQ(pages.back(), total);
    for (unsigned char b : text)
      ASSERT_TRUE(b >= 32 || b == '\r' || b == '\n') << "a control code " << int(b);
  }
}

// Without an Obra the pages are dated with today's date, the system's: the
// date the selection screen keeps, and that the forms age prices from.
TEST_F(ListCommandTest, WithoutAnObraThePagesCarryTodaysDate) {
  const Date today = cli::SystemToday();
  EXPECT_EQ(cli::ListHost().Today().day, today.day);
  char date[16];
  std::snprintf(date, sizeof date, "%02d/%02d/%02d", today.day, today.month, today.year % 100);
  const fs::path out = root / "insumos.txt";
  ASSERT_EQ(List({"--listing", "insumos", "--text", out.string()}, false), cli::kExitOk);
  const std::string text = Slurp(out);
  const size_t hoja = text.find("Hoja [1] de [");
  ASSERT_NE(hoja, std::string::npos);
  const size_t lineStart = text.rfind('\n', hoja) + 1;
  EXPECT_EQ(text.substr(lineStart, 9), std::string(" ") + date) << text.substr(lineStart, 40);
}

TEST_F(ListCommandTest, PageRangesChooseThePages) {
  const fs::path whole = root / "whole.txt";
  ASSERT_EQ(List({"--listing", "analisis-hoja", "--text", whole.string()}), cli::kExitOk);
  int total = 0;
  ASSERT_GE(Pages(Slurp(whole), total).size(), 4u);
  const struct {
    const char* range;
    int from, to;
  } cases[] = {{"2-3", 2, 3}, {"3-0", 3, 0}, {"0-1", 0, 1}, {"2-2", 2, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range);
    const fs::path out = root / "range.txt";
    ASSERT_EQ(List({"--listing", "analisis-hoja", "--pages", c.range, "--text", out.string()}),
              cli::kExitOk);
    const std::string text = Slurp(out);
    EXPECT_EQ(text, ViewModeText(ListAnalysesOnePerPage, c.from, c.to));
    int shownTotal = 0;
    const std::vector<int> pages = Pages(text, shownTotal);
    std::vector<int> expected;
    for (int p = std::max(c.from, 1); p <= (c.to == 0 ? total : c.to); ++p) expected.push_back(p);
    EXPECT_EQ(pages, expected);
    EXPECT_EQ(shownTotal, total) << "every page shows the whole count";
  }
  // The separator page comes before the first page only when asked for.
  const fs::path first = root / "first.txt";
  const fs::path withSeparator = root / "separator.txt";
  ASSERT_EQ(List({"--listing", "insumos", "--pages", "1-1", "--text", first.string()}), 0);
  ASSERT_EQ(List({"--listing", "insumos", "--pages", "0-1", "--text", withSeparator.string()}), 0);
  EXPECT_GT(Slurp(withSeparator).size(), Slurp(first).size());
}

TEST_F(ListCommandTest, NothingToWriteIsStatusOneAndNoFile) {
  const fs::path out = root / "none.txt";
  testing::internal::CaptureStderr();
  EXPECT_EQ(List({"--listing", "presupuesto", "--pages", "900-950", "--text", out.string()}),
            cli::kExitDataErrors);
  EXPECT_EQ(List({"--listing", "presupuesto", "--pages", "3-2", "--text", out.string()}),
            cli::kExitDataErrors);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Seleccion de paginas fuera de rango"), std::string::npos) << said;
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(ListCommandTest, DataChangedSinceTheCalculationIsRefused) {
  for (const char* name : {"Apr03dat.A", "Apr06dat.A01"}) {
    SCOPED_TRACE(name);
    GenerateDataset([&] {
      auto shape = SmallShape();
      shape.calculated = true;
      return shape;
    }());
    {
      std::fstream f(dataDir / name, std::ios::in | std::ios::out | std::ios::binary);
      f.seekp(kHdrChangeMarker);
      f.put(1);
    }
    const fs::path out = root / "refused.txt";
    testing::internal::CaptureStderr();
    EXPECT_EQ(List({"--listing", "total", "--text", out.string()}), cli::kExitDataErrors);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("PRIMERO DEBE  REALIZAR LOS CALCULOS"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST_F(ListCommandTest, ArgumentsAreCheckedBeforeAnythingIsWritten) {
  const std::string out = (root / "bad.out").string();
  const struct {
    const char* why;
    std::vector<std::string> args;
    bool withObra;
  } cases[] = {
      {"no listing", {"--text", out}, true},
      {"unknown listing", {"--listing", "nada", "--text", out}, true},
      {"no output", {"--listing", "insumos"}, true},
      {"two outputs", {"--listing", "insumos", "--text", out, "--pdf", out}, true},
      {"budget without Obra", {"--listing", "presupuesto", "--text", out}, false},
      {"pages not a range", {"--listing", "insumos", "--pages", "x-3", "--text", out}, true},
      {"pages too large", {"--listing", "insumos", "--pages", "1-1000", "--text", out}, true},
      {"pages one number", {"--listing", "insumos", "--pages", "4", "--text", out}, true},
      {"pages of the total", {"--listing", "total", "--pages", "1-2", "--text", out}, true},
      {"value missing", {"--listing", "insumos", "--text"}, true},
      {"output folder missing",
       {"--listing", "insumos", "--text", (root / "no" / "x.txt").string()},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    testing::internal::CaptureStderr();
    EXPECT_EQ(List(c.args, c.withObra), cli::kExitFailure);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(fs::exists(out));
  }
  // Relative paths are taken from where the command starts, not from the
  // data directory it enters.
  fs::current_path(root);
  EXPECT_EQ(cli::ListCommand(
                {"--dir", "datos", "--rama", "A", "--listing", "insumos", "--text", "relative.txt"},
                "vantu-cli"),
            cli::kExitOk);
  EXPECT_TRUE(fs::exists(root / "relative.txt"));
  EXPECT_FALSE(fs::exists(dataDir / "relative.txt"));
  // A set that is not there.
  EXPECT_EQ(cli::ListCommand({"--dir", (root / "nowhere").string(), "--rama", "A", "--listing",
                              "insumos", "--text", out},
                             "vantu-cli"),
            cli::kExitFailure);
  EXPECT_EQ(cli::ListCommand(
                {"--dir", dataDir.string(), "--rama", "B", "--listing", "insumos", "--text", out},
                "vantu-cli"),
            cli::kExitFailure);
  SetHost(&host);
  // A PDF without the window program.
  setenv("VANTU_GUI_PROGRAM", (root / "no-vantu").c_str(), 1);
  EXPECT_EQ(List({"--listing", "insumos", "--pdf", out}), cli::kExitFailure);
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(ListCommandTest, TheTotalHoldsEveryTickedListingWithSeparators) {
  const fs::path out = root / "total.txt";
  ASSERT_EQ(List({"--listing", "total", "--text", out.string()}), cli::kExitOk);
  const std::string text = Slurp(out);
  for (const char* title :
       {"L I S T A   D E   I N S U M O S   B A S I C O S", "P R E S U P U E S T O   D E   O B R A",
        "R E S U M E N   D E   P R E S U P U E S T O   D E   O B R A"})
    EXPECT_NE(text.find(title), std::string::npos) << title;
  // Page numbers restart with every listing.
  int total = 0;
  const std::vector<int> pages = Pages(text, total);
  EXPECT_GE(std::count(pages.begin(), pages.end(), 1), 4);
  // Without an Obra only the Rama's listings.
  const fs::path rama = root / "rama.txt";
  ASSERT_EQ(List({"--listing", "total", "--text", rama.string()}, false), cli::kExitOk);
  EXPECT_EQ(Slurp(rama).find("P R E S U P U E S T O   D E   O B R A"), std::string::npos);
}

#ifdef VANTU_GUI_BINARY
// The darkness (0 black .. 255 white) of every pixel of a binary PGM.
std::vector<std::vector<int>> ReadPgm(const fs::path& p, int& width) {
  std::ifstream in(p, std::ios::binary);
  std::string magic;
  int height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  std::vector<std::vector<int>> rows(static_cast<size_t>(height));
  for (auto& row : rows)
    for (int x = 0; x < width; ++x) row.push_back(in.get());
  return rows;
}

TEST_F(ListCommandTest, PdfIsDrawnByTheWindowProgram) {
  setenv("VANTU_GUI_PROGRAM", VANTU_GUI_BINARY, 1);
  setenv("ASAN_OPTIONS", "detect_leaks=0", 0);
  if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftoppm";
  const fs::path pdf = root / "presupuesto.pdf";
  ASSERT_EQ(List({"--listing", "presupuesto", "--pages", "1-2", "--pdf", pdf.string()}),
            cli::kExitOk);
  ASSERT_EQ(Slurp(pdf).substr(0, 5), "%PDF-");
  const std::string prefix = (root / "page").string();
  ASSERT_EQ(std::system(("pdftoppm -r 60 -gray " + pdf.string() + " " + prefix).c_str()), 0);
  // Two pages, no empty third one after the last form feed.
  EXPECT_TRUE(fs::exists(prefix + "-1.pgm"));
  EXPECT_TRUE(fs::exists(prefix + "-2.pgm"));
  EXPECT_FALSE(fs::exists(prefix + "-3.pgm"));
  int width = 0;
  const auto rows = ReadPgm(prefix + "-1.pgm", width);
  // The rules of the header are drawn as lines across the listing's width
  // (125 cells of 7 points): some row is dark over most of the page.
  int ruleRows = 0;
  for (const auto& row : rows) {
    int run = 0, longest = 0;
    for (int v : row) longest = std::max(longest, run = v < 128 ? run + 1 : 0);
    if (longest > width * 6 / 10) ++ruleRows;
  }
  EXPECT_GE(ruleRows, 2) << "the rules above and below the column heading";
}
#endif

}  // namespace
}  // namespace vantu::test
