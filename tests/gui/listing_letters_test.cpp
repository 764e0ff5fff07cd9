// A listing whose data holds letters on the bytes of frame pieces (É is the
// corner ╔, Í the double rule ═) and above them (ó): the viewer and both
// printer routes show the letters, and the frames stay frames.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPrinter>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/reset_core_state.h"
#include "gui/listing_printer.h"
#include "gui/viewer_text.h"
#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"

namespace vantu::test {
namespace {

namespace fs = std::filesystem;

constexpr char kTopLeft = static_cast<char>(201), kTopRight = static_cast<char>(187);
constexpr char kVertical = static_cast<char>(186);

class ListingLettersRoutes : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCoreState();
    dir = fs::temp_directory_path() / ("vantu-letters-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    Shell().listingFileName = (dir / "LPT").string();
    Shell().consultantName = "ING. JOS\xC9 MU\xD1OZ";
    Prefs().dotMatrixPrinter = false;
    Selection().RamaName = "RAMA \xCD\xD3\xDA";
    Selection().TodayDate = "07/12/26";
  }
  void TearDown() override {
    ResetListingState();
    fs::remove_all(dir);
  }

  // One page written by the listing writers: the header, a framed box
  // around a line of data, and a data line under the column heading.
  std::string WriteListing() {
    EmptyListingFile();
    CondensedOn();
    LineEnd();
    BeginListing("L I S T A", "DESCRIPCION" + std::string(49, ' '), Prefs().marginsBudget);
    StartPass(2);
    PageHeader(Page().ListingTitle, 1, 1, 0);
    FrameLine(kTopLeft + std::string(20, kRuleDouble) + kTopRight);
    FrameLine(kVertical + MarkLetters(FieldText("Excavaci\xF3n \xCD\xD3\xDA", 20)) + kVertical);
    MarginLine("Excavaci\xF3n en roca, m\xB3");
    CloseLastPage(true);
    CloseListingFile();
    std::ifstream in(Shell().listingFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string PdfText(const fs::path& pdf) {
    std::string out;
    const std::string command = "pdftotext -layout -enc UTF-8 '" + pdf.string() + "' -";
    if (FILE* p = ::popen(command.c_str(), "r")) {
      char buf[512];
      while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
      ::pclose(p);
    }
    return out;
  }

  fs::path dir;
};

TEST_F(ListingLettersRoutes, TheViewerShowsLettersAndFrames) {
  const QString text = ListingToUnicode(QByteArray::fromStdString(WriteListing()));
  EXPECT_TRUE(text.contains(QStringLiteral("ING. JOSÉ MUÑOZ"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("RAMA ÍÓÚ")));
  EXPECT_TRUE(text.contains(QStringLiteral("Excavación en roca, m³")));
  // The box keeps its corners and its width around the letters.
  const QString top = QStringLiteral("╔") + QString(20, QChar(0x2550)) + QStringLiteral("╗");
  const QString middle = QStringLiteral("║Excavación ÍÓÚ      ║");
  EXPECT_TRUE(text.contains(top));
  EXPECT_TRUE(text.contains(middle));
  EXPECT_EQ(text.indexOf(top) - text.lastIndexOf('\n', text.indexOf(top)),
            text.indexOf(middle) - text.lastIndexOf('\n', text.indexOf(middle)))
      << "the box's sides in the same column";
  EXPECT_FALSE(text.contains(QChar(kLetterMark)));
}

TEST_F(ListingLettersRoutes, BothPrinterRoutesPrintTheLettersAndDrawTheFrames) {
  if (std::system("command -v pdftotext >/dev/null && command -v pdftoppm >/dev/null") != 0)
    GTEST_SKIP() << "no poppler tools";
  const std::string listing = WriteListing();
  for (const bool painted : {false, true}) {
    SCOPED_TRACE(painted ? "painted" : "written directly");
    const fs::path pdf = dir / (painted ? "painted.pdf" : "direct.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    ASSERT_TRUE(painted ? PaintListingFile(printer, listing, false)
                        : DrawListingFile(printer, listing, false));
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("ING. JOSÉ MUÑOZ"), std::string::npos) << text;
    EXPECT_NE(text.find("RAMA ÍÓÚ"), std::string::npos);
    EXPECT_NE(text.find("Excavación ÍÓÚ"), std::string::npos);
    EXPECT_NE(text.find("Excavación en roca, m³"), std::string::npos);
    // A frame byte printed as its letter would show up as text.
    EXPECT_EQ(text.find("ÍÍ"), std::string::npos) << "a double rule printed as letters";
    EXPECT_EQ(text.find("ÉÍ"), std::string::npos) << "a corner printed as a letter";
    // The rules are drawn: some row near the top is dark across the page.
    const fs::path png = dir / (painted ? "painted" : "direct");
    const std::string raster =
        "pdftoppm -r 100 -png -singlefile -f 1 -l 1 '" + pdf.string() + "' '" + png.string() + "'";
    ASSERT_EQ(std::system(raster.c_str()), 0);
    QImage page;
    ASSERT_TRUE(page.load(QString::fromStdString(png.string() + ".png")));
    int longest = 0;
    for (int y = 0; y < page.height() / 4; ++y) {
      for (int x = 0, run = 0; x < page.width(); ++x) {
        run = qGray(page.pixel(x, y)) < 128 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
    }
    EXPECT_GT(longest, 100 * 2) << "60 cells of 7 points: over 2 inches of rule";
  }
}

}  // namespace
}  // namespace vantu::test
