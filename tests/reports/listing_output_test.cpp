// The output routes: the viewer, the printer without a final form feed, the
// raw device with Ñ and ñ at their printer positions, and a range with no
// page.
#include "reports/listing_output.h"

#include <algorithm>

#include "listing_fixture.h"

namespace vantu::test {
namespace {

class OutputTest : public ListingTest {};

const std::string kTwoPages = std::string(1, kCodeSI) + "\r\nPAGINA UNO A\xd1O\r\n\x0c\r\n" +
                              "PAGINA DOS ma\xf1"
                              "ana\r\n\x0c\r\n";

TEST_F(OutputTest, LaserRouteCutsTheLastFormFeed) {
  ListingWrite(kTwoPages);
  OutputListing(false);
  ASSERT_EQ(host.printed.size(), 1u);
  const std::string& printed = host.printed[0];
  EXPECT_EQ(printed, kTwoPages.substr(0, kTwoPages.rfind(kCodeFF)));
  EXPECT_EQ(std::count(printed.begin(), printed.end(), kCodeFF), 1);
  EXPECT_EQ(ListingBytes(), "");  // emptied for the next listing
}

TEST_F(OutputTest, RawRouteKeepsFormFeedsAndMapsEnye) {
  Prefs().dotMatrixPrinter = true;
  const std::string device = (dir / "impresora").string();
  host.WriteSetting("\\Presupuesto", "sImpresoraMatriz", device);
  ListingWrite(kTwoPages);
  OutputListing(false);
  const std::string sent = ListingHost::Slurp(device);
  std::string expected = kTwoPages;
  for (char& c : expected) {
    if (static_cast<unsigned char>(c) == 209) c = static_cast<char>(165);
    if (static_cast<unsigned char>(c) == 241) c = static_cast<char>(164);
  }
  EXPECT_EQ(sent, expected);
  EXPECT_EQ(sent.substr(sent.size() - 3), "\x0c\r\n");
  EXPECT_TRUE(host.printed.empty());
}

TEST_F(OutputTest, DeviceThatCannotOpenKeepsTheListing) {
  Prefs().dotMatrixPrinter = true;
  host.WriteSetting("\\Presupuesto", "sImpresoraMatriz", (dir / "no" / "existe").string());
  ListingWrite(kTwoPages);
  std::string screen;
  host.QueueStep([&] {
    screen = ScreenText();
    PushKey(kKeyEnter);
  });
  OutputListing(false);
  EXPECT_NE(screen.find("No se puede imprimir"), std::string::npos);
  EXPECT_EQ(ListingHost::Slurp(Shell().listingFileName + ".prn"), kTwoPages);
}

TEST_F(OutputTest, ViewerGetsTheListingAndARangeWithoutPagesGetsTheNote) {
  Shell().viewMode = true;
  ListingWrite("LINEA\r\nOTRA LINEA\r\n");
  OutputListing(false);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0], "LINEA\r\nOTRA LINEA\r\n");

  Shell().viewMode = false;
  ListingWrite(std::string(1, kCodeSI) + "\r\n");
  std::string screen;
  host.QueueStep([&] {
    screen = ScreenText();
    PushKey(kKeyEnter);
  });
  OutputListing(false);
  EXPECT_NE(screen.find("<< Seleccion de paginas fuera de rango >>"), std::string::npos);
  EXPECT_TRUE(host.printed.empty());
}

}  // namespace
}  // namespace vantu::test
