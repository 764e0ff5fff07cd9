// The laser route's drawing: box bytes as lines and fills at chosen points,
// and a listing drawn into a PDF file and rendered back to an image.
#include "gui/listing_printer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cstdlib>
#include <filesystem>

namespace vantu::test {
namespace {

bool Dark(const QImage& img, int x, int y) {
  return qGray(img.pixel(x, y)) < 128;
}

QImage Cell(uint8_t byte, int w = 20, int h = 40) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  DrawBoxCharacter(p, 0, 0, byte, w, h, h / 8);
  p.end();
  return img;
}

TEST(ListingPrinter, BoxBytesDrawTheirStrokes) {
  struct Case {
    uint8_t byte;
    bool up, down, left, right;
  } cases[] = {
      {179, true, true, false, false}, {196, false, false, true, true},
      {205, false, false, true, true}, {218, false, true, false, true},
      {217, true, false, true, false}, {197, true, true, true, true},
      {224, false, true, true, true},  {201, false, true, false, true},
      {188, true, false, true, false}, {'A', false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.byte));
    const QImage img = Cell(c.byte);
    EXPECT_EQ(Dark(img, 10, 2), c.up);
    EXPECT_EQ(Dark(img, 10, 37), c.down);
    EXPECT_EQ(Dark(img, 1, 20), c.left);
    EXPECT_EQ(Dark(img, 18, 20), c.right);
  }
  // A double rule is thicker than a single one.
  EXPECT_TRUE(Dark(Cell(205), 5, 22));
  EXPECT_FALSE(Dark(Cell(196), 5, 23));
}

TEST(ListingPrinter, BlockBytesFillTheirPart) {
  EXPECT_TRUE(Dark(Cell(220), 10, 38));
  EXPECT_FALSE(Dark(Cell(220), 10, 5));
  EXPECT_TRUE(Dark(Cell(221), 2, 20));
  EXPECT_FALSE(Dark(Cell(221), 17, 20));
  EXPECT_TRUE(Dark(Cell(223), 10, 2));
  EXPECT_FALSE(Dark(Cell(223), 10, 38));
}

TEST(ListingPrinter, ListingDrawnIntoPdfShowsItsRule) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("vantu-pdf-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path pdf = dir / "listado.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  std::string listing = "\x0f\r\n";
  listing += std::string(60, static_cast<char>(205)) + "\r\n";
  listing += "A\xd1O\r\n\x0c\r\n";
  ASSERT_TRUE(DrawListingFile(printer, listing, false));
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_GT(fs::file_size(pdf), 500u);
  if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftoppm";
  const std::string command =
      "pdftoppm -r 150 -png -f 1 -l 1 '" + pdf.string() + "' '" + (dir / "page").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  QImage page;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".png") page.load(QString::fromStdString(e.path().string()));
  ASSERT_FALSE(page.isNull());
  // Some row near the top holds a long dark run: the double rule.
  int longest = 0;
  for (int y = 0; y < page.height() / 8; ++y) {
    int run = 0;
    for (int x = 0; x < page.width(); ++x) {
      run = Dark(page, x, y) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  EXPECT_GT(longest, 150 * 2);  // 60 cells of 7-point Liberation Mono: over 2 inches
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vantu::test
