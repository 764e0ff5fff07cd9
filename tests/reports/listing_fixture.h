#pragma once
// A listing file in a fresh directory, a host that keeps what the viewer
// and the printer were given, and readers of the listing as lines.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "support/headless_fixture.h"

namespace vantu::test {

// Keeps the bytes of every listing shown or printed.
class ListingHost : public HeadlessHost {
 public:
  std::vector<std::string> shown;
  std::vector<std::string> printed;
  std::vector<bool> landscapes;
  bool printerWorks = true;

  void ShowListing(const std::string& fileName) override { shown.push_back(Slurp(fileName)); }
  bool PrintListingFile(const std::string& fileName, bool landscape, std::string& error) override {
    if (!printerWorks) {
      error = "sin papel";
      return false;
    }
    printed.push_back(Slurp(fileName));
    landscapes.push_back(landscape);
    return true;
  }
  static std::string Slurp(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

// Splits at CR LF; a final line without one is kept.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class ListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHost(&host);
    ResetScreen();
    ResetInput();
    ResetZones();
    ResetButtons();
    ResetListingState();
    ResetShell();
    ResetSelection();
    dir = std::filesystem::temp_directory_path() /
          ("vantu-listing-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    Shell().listingFileName = (dir / "LPT").string();
    Shell().consultantName = "ING. ANA PEREZ";
    Prefs() = DefaultPreferences();
    Prefs().englishUnits = true;  // decimal point, comma thousands
    Selection().RamaName = "RAMA DE PRUEBA";
    Selection().TodayDate = "07/12/26";
    EmptyListingFile();
  }
  void TearDown() override {
    ResetListingState();
    std::filesystem::remove_all(dir);
    SetHost(nullptr);
  }

  std::string ListingBytes() {
    CloseListingFile();
    return ListingHost::Slurp(Shell().listingFileName);
  }
  std::vector<std::string> ListingLines() { return SplitLines(ListingBytes()); }

  ListingHost host;
  std::filesystem::path dir;
};

}  // namespace vantu::test
