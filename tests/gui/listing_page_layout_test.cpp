// Listings drawn into a PDF and rendered back: where the text, the rules
// and the page breaks land. The printer gathers text and strokes and draws
// them in batches, so blanks, weights, sizes and page ends are checked on
// the rendered page.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPrinter>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/listing_printer.h"

namespace vantu::test {
namespace {

namespace fs = std::filesystem;

constexpr char kRule = static_cast<char>(196);
constexpr char kDoubleRule = static_cast<char>(205);
constexpr char kTeeDown = static_cast<char>(194);

// Consecutive rows holding ink, with the extent and amount of that ink.
struct Band {
  int top = 0, bottom = 0, left = 0, right = 0;
  long ink = 0;
  int Width() const { return right - left + 1; }
};

bool Dark(const QImage& img, int x, int y) {
  return qGray(img.pixel(x, y)) < 240;
}

std::vector<Band> InkBands(const QImage& img) {
  std::vector<Band> bands;
  bool open = false;
  for (int y = 0; y < img.height(); ++y) {
    Band row{y, y, img.width(), -1, 0};
    for (int x = 0; x < img.width(); ++x) {
      if (!Dark(img, x, y)) continue;
      ++row.ink;
      row.left = std::min(row.left, x);
      row.right = std::max(row.right, x);
    }
    if (row.ink == 0) {
      open = false;
      continue;
    }
    if (!open) {
      bands.push_back(row);
      open = true;
      continue;
    }
    Band& b = bands.back();
    b.bottom = y;
    b.left = std::min(b.left, row.left);
    b.right = std::max(b.right, row.right);
    b.ink += row.ink;
  }
  return bands;
}

// The longest run of dark pixels in one row of the band.
int LongestRun(const QImage& img, const Band& band) {
  int longest = 0;
  for (int y = band.top; y <= band.bottom; ++y) {
    int run = 0;
    for (int x = 0; x < img.width(); ++x) {
      run = Dark(img, x, y) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

class ListingPageLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftoppm";
    dir_ = fs::temp_directory_path() / ("vantu-layout-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // Draws the listing (condensed, as every printed listing begins) and
  // renders the top left of one page at the printer's 1200 dpi, where a
  // thin rule is one pixel wide.
  // The written PDF by default, or the pages painted through the printer's
  // paint engine.
  QImage Render(const std::string& body, int page = 1, bool painted = false,
                bool landscape = false) {
    const fs::path pdf = dir_ / "listado.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    const std::string listing = "\x0f\r\n" + body;
    EXPECT_TRUE(painted ? PaintListingFile(printer, listing, landscape)
                        : DrawListingFile(printer, listing, landscape));
    const fs::path stem = dir_ / ("page" + std::to_string(page));
    const std::string command = "pdftoppm -r 1200 -x 0 -y 0 -W 3400 -H 1600 -png -singlefile -f " +
                                std::to_string(page) + " -l " + std::to_string(page) + " '" +
                                pdf.string() + "' '" + stem.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    QImage img;
    img.load(QString::fromStdString(stem.string() + ".png"));
    EXPECT_FALSE(img.isNull());
    return img;
  }

  fs::path dir_;
};

TEST_F(ListingPageLayout, TextAfterBlanksStaysInItsColumn) {
  const std::string listing = std::string(40, ' ') + "X\r\n" + std::string(41, kRule) + "\r\n" +
                              "   " + "W" + std::string(5, ' ') + "W\r\n" + std::string(41, kRule) +
                              "\r\n";
  const QImage page = Render(listing);
  const std::vector<Band> bands = InkBands(page);
  ASSERT_EQ(bands.size(), 4u);
  const Band& rule = bands[1];
  const double cell = rule.Width() / 41.0;
  // The X sits in the last cell of the rule below it (text steps by the
  // face's own advance, a little over the whole-pixel cell).
  const double slack = cell / 4;
  EXPECT_GE(bands[0].left, rule.left + 40 * cell - slack);
  EXPECT_LE(bands[0].right, rule.left + 41 * cell + slack);
  // The two W's cover cells 3 to 9, nothing left of them.
  EXPECT_GE(bands[2].left, rule.left + 3 * cell - slack);
  EXPECT_LE(bands[2].left, rule.left + 4 * cell);
  EXPECT_GE(bands[2].right, rule.left + 9 * cell);
  EXPECT_LE(bands[2].right, rule.left + 10 * cell + slack);
}

TEST_F(ListingPageLayout, RulesRunUnbrokenThroughJoins) {
  const std::string single = std::string(5, kRule) + kTeeDown + std::string(5, kRule);
  const std::string listing = single + "\r\n\r\n" + std::string(11, kDoubleRule) + "AB" +
                              std::string(11, kDoubleRule) + "\r\n";
  const QImage page = Render(listing);
  const std::vector<Band> bands = InkBands(page);
  ASSERT_GE(bands.size(), 2u);
  const Band& tee = bands[0];
  const double cell = tee.Width() / 11.0;
  EXPECT_GE(LongestRun(page, tee), tee.Width() - 1);
  // The tee's stem goes down from the middle of cell 5 to the line's end.
  const int stemX = tee.left + static_cast<int>(5.5 * cell);
  int below = 0;
  for (int y = tee.top; y < page.height() && (Dark(page, stemX, y) || Dark(page, stemX - 1, y) ||
                                              Dark(page, stemX + 1, y));
       ++y)
    ++below;
  EXPECT_GT(below, 4);
  // The double rules stop where the text begins and start again after it.
  const Band& doubled = bands.back();
  EXPECT_GE(doubled.bottom - doubled.top, tee.bottom - tee.top);
  EXPECT_NEAR(doubled.Width(), 24 * cell, cell);
  EXPECT_LT(LongestRun(page, doubled), 12 * cell + 1);
  EXPECT_GT(LongestRun(page, doubled), 10 * cell);
}

TEST_F(ListingPageLayout, WeightAndSizeChangeWithinAPage) {
  const std::string text(8, 'C');
  const std::string listing = text + "\r\n\r\n\x1bG" + text + "\x1bH\r\n\r\n\x12" + text + "\r\n";
  const QImage page = Render(listing);
  const std::vector<Band> bands = InkBands(page);
  ASSERT_EQ(bands.size(), 3u);
  const Band &plain = bands[0], &bold = bands[1], &large = bands[2];
  EXPECT_GT(bold.ink, plain.ink * 6 / 5);
  EXPECT_NEAR(bold.Width(), plain.Width(), plain.Width() / 8);
  // Nine points against seven.
  EXPECT_NEAR(static_cast<double>(large.Width()) / plain.Width(), 9.0 / 7.0, 0.1);
  EXPECT_GT(large.bottom - large.top, plain.bottom - plain.top);
}

TEST_F(ListingPageLayout, PageEndDrawsWhatWasGatheredOnItsOwnPage) {
  const std::string listing = std::string(30, kDoubleRule) + "\r\nABC\r\n\x0c\r\nX\r\n";
  const QImage first = Render(listing, 1);
  const QImage second = Render(listing, 2);
  const std::vector<Band> one = InkBands(first);
  const std::vector<Band> two = InkBands(second);
  ASSERT_EQ(one.size(), 2u);
  ASSERT_EQ(two.size(), 1u);
  EXPECT_GT(LongestRun(first, one[0]), 20 * two[0].Width() / 2);
  // The second page holds the X alone, at the top like the first page's rule.
  EXPECT_LT(two[0].Width(), one[0].Width() / 20);
  EXPECT_NEAR(two[0].top, one[0].top, one[1].bottom - one[0].top);
}

TEST_F(ListingPageLayout, WrittenPagesMatchThePaintedOnes) {
  std::string listing = std::string(20, kDoubleRule) + "\r\n";
  listing += "\x1bGCODIGO\x1bH   D E S C R I P C I O N   (m2) \\ \x80 1.234,50\r\n";
  listing += std::string(3, kRule) + kTeeDown + std::string(3, kRule) + "\r\n";
  listing += std::string("   ") + static_cast<char>(179) + "  A\xd1O " + static_cast<char>(219) +
             static_cast<char>(220) + static_cast<char>(221) + static_cast<char>(222) +
             static_cast<char>(223) + "\r\n";
  listing += "\x12Hoja [1] de [2]\r\n\x0f" + std::string(10, kRule) + "\r\n\x0c\r\nfin\r\n";
  for (int run = 0; run < 3; ++run) {
    const int page = run == 1 ? 2 : 1;
    const bool landscape = run == 2;
    SCOPED_TRACE(testing::Message() << "page " << page << (landscape ? " landscape" : ""));
    const QImage written = Render(listing, page, false, landscape);
    const QImage painted = Render(listing, page, true, landscape);
    ASSERT_EQ(written.size(), painted.size());
    // A pixel differs when nothing within one pixel of it in the other
    // image comes close: the two rasterise glyph edges a shade apart.
    const QImage a = written.convertToFormat(QImage::Format_Grayscale8);
    const QImage b = painted.convertToFormat(QImage::Format_Grayscale8);
    long ink = 0, differ = 0;
    for (int y = 1; y + 1 < a.height(); ++y)
      for (int x = 1; x + 1 < a.width(); ++x) {
        const int v = a.constScanLine(y)[x];
        ink += v < 128;
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
          for (int dx = -1; dx <= 1 && !near; ++dx)
            near = std::abs(v - b.constScanLine(y + dy)[x + dx]) <= 96;
        differ += !near;
      }
    EXPECT_GT(ink, 1000);
    EXPECT_LT(differ, ink / 200);
  }
}

TEST(ListingPdf, UnwritableFileIsAFailure) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName("/nonexistent-vantu-dir/listado.pdf");
  EXPECT_FALSE(DrawListingFile(printer, "\x0f\r\nA\r\n", false));
}

}  // namespace
}  // namespace vantu::test
