// Listings printed one after another by one command into a PDF file: the
// file keeps every one of them, each in its own orientation.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gui/qt_host.h"

namespace vantu::gui::test {
namespace {

namespace fs = std::filesystem;

class ListingPrintJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null") != 0)
      GTEST_SKIP() << "no poppler tools";
    dir = fs::temp_directory_path() / ("vantu-job-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    pdf = dir / "total.pdf";
  }
  void TearDown() override { fs::remove_all(dir); }

  // A listing file of `pages` pages, each headed by `title`.
  std::string Listing(const std::string& name, const std::string& title, int pages) {
    std::string bytes = "\x0f";
    for (int p = 1; p <= pages; ++p) {
      if (p > 1) bytes += "\x0c";
      bytes += title + " HOJA " + std::to_string(p) + "\r\n";
      bytes += std::string(40, static_cast<char>(205)) + "\r\n";
    }
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::string Run(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
      char buf[512];
      while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
      ::pclose(p);
    }
    return out;
  }
  std::string Text() { return Run("pdftotext -layout '" + pdf.string() + "' -"); }
  // "Page    1 size: 595 x 842 pts (A4)", one line per page.
  std::string PageSizes() { return Run("pdfinfo -f 1 -l 99 '" + pdf.string() + "'"); }
  static int Count(const std::string& text, const std::string& word) {
    int n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }

  QtHost host;
  fs::path dir, pdf;
};

TEST_F(ListingPrintJobTest, ATotalPrintToAFileKeepsEveryListing) {
  QPrinter& printer = host.Printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  std::string error;
  // The chart in landscape, then the flow listings in portrait, as the
  // total schedule listing prints them.
  ASSERT_TRUE(host.PrintListingFile(Listing("chart", "CRONOGRAMA", 2), true, error)) << error;
  ASSERT_TRUE(host.PrintListingFile(Listing("flow", "FLUJO", 3), false, error)) << error;
  const std::string text = Text();
  EXPECT_EQ(Count(text, "CRONOGRAMA HOJA"), 2) << text;
  EXPECT_EQ(Count(text, "FLUJO HOJA"), 3) << text;
  // The chart's pages wider than high, the flow's higher than wide.
  std::vector<bool> landscape;
  std::istringstream sizes(PageSizes());
  for (std::string line; std::getline(sizes, line);) {
    double w = 0, h = 0;
    const size_t at = line.find("size:");
    if (line.rfind("Page", 0) == 0 && at != std::string::npos &&
        std::sscanf(line.c_str() + at, "size: %lf x %lf", &w, &h) == 2)
      landscape.push_back(w > h);
  }
  EXPECT_EQ(landscape, (std::vector<bool>{true, true, false, false, false}));
}

}  // namespace
}  // namespace vantu::gui::test
