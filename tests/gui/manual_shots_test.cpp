// The manual's screenshot host: a shot saves the screen as the window
// paints it, a screen that lacks an expected text fails the run, and the
// viewer and message-box shots are taken only for what they wait for.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <fstream>

#include "app/reset_core_state.h"
#include "console/console.h"
#include "gui/console_widget.h"
#include "gui/manual/screen_image.h"
#include "gui/manual/shot_host.h"

namespace vantu::manual {
namespace {

class ShotHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCoreState();
    SetHost(&host);
    Window(1, 1, 80, 25);
    TextBackground(1);
    TextColor(15);
    ClrScr();
    GotoXY(3, 2);
    WriteText("SELECCION INICIAL");
  }
  void TearDown() override { ResetCoreState(); }
  // Runs the queued steps as the program's waits would.
  void RunSteps() {
    for (int i = 0; i < 20 && !host.ScriptDone(); ++i) {
      host.WaitForEvents();
      host.ProcessEvents();
    }
  }
  QString Png(const char* name) const { return dir.filePath(QString(name) + ".png"); }

  QTemporaryDir dir;
  ShotHost host{dir.path()};
};

TEST_F(ShotHostTest, AShotSavesTheWholeScreenInTheConsoleFont) {
  host.Shot("pantalla", {"SELECCION INICIAL"});
  RunSteps();
  EXPECT_TRUE(host.Failures().empty());
  const QImage image(Png("pantalla"));
  ASSERT_FALSE(image.isNull());
  const QSize cell = gui::CellOf(gui::ConsoleFont(QStringLiteral("Courier New"), 14));
  EXPECT_EQ(image.size(), QSize(80 * cell.width(), 25 * cell.height()));
  // The blue of the cleared screen, and white text where the words are.
  EXPECT_EQ(image.pixelColor(1, 1), QColor(gui::ToQColor(ColourOf(1))));
  bool textDrawn = false;
  for (int x = 2 * cell.width(); x < 19 * cell.width() && !textDrawn; ++x)
    for (int y = cell.height(); y < 2 * cell.height() && !textDrawn; ++y)
      textDrawn = image.pixelColor(x, y) == QColor(gui::ToQColor(ColourOf(15)));
  EXPECT_TRUE(textDrawn);
}

TEST_F(ShotHostTest, AScreenWithoutTheExpectedTextFailsTheRun) {
  host.Shot("uno", {"SELECCION INICIAL"});
  host.Expect({"Datos Generales"});
  host.Shot("dos", {"SELECCION", "CALCULO"});
  RunSteps();
  ASSERT_EQ(host.Failures().size(), 2u);
  EXPECT_NE(host.Failures()[0].find("Datos Generales"), std::string::npos);
  EXPECT_NE(host.Failures()[1].find("CALCULO"), std::string::npos);
  // What the screen said is part of the report.
  EXPECT_NE(host.Failures()[1].find("SELECCION INICIAL"), std::string::npos);
}

TEST_F(ShotHostTest, TheViewerIsPicturedOnlyWithTheListingItWaitsFor) {
  const std::string listing = dir.filePath("LPT").toStdString();
  std::ofstream(listing) << "   VALOR TOTAL DEL PRESUPUESTO   1.000,00\r\n";
  host.ShowListing(listing);  // nothing asked for: no picture
  EXPECT_TRUE(host.Saved().empty());
  host.ShotOfViewer("visor", "VALOR TOTAL");
  host.ShotOfViewer("otro", "CAPITULO 09");
  RunSteps();
  EXPECT_TRUE(host.ViewerShotPending());
  host.ShowListing(listing);
  EXPECT_FALSE(host.ViewerShotPending());
  ASSERT_EQ(host.Failures().size(), 1u);
  EXPECT_NE(host.Failures()[0].find("CAPITULO 09"), std::string::npos);
  EXPECT_TRUE(QImage(Png("otro")).isNull());
}

TEST_F(ShotHostTest, AMessageBoxIsPicturedOverTheScreenWhenItsCaptionComes) {
  host.ShotOfBox("exportado", "Exportar");
  RunSteps();
  EXPECT_EQ(host.MessageBox("Otro aviso", "Importar", BoxIcon::Information, BoxButtons::Ok),
            BoxAnswer::Ok);
  EXPECT_TRUE(host.BoxShotPending());
  EXPECT_EQ(host.MessageBox("Exportado en\rA01.bc3", "Exportar", BoxIcon::Information,
                            BoxButtons::Ok),
            BoxAnswer::Ok);
  EXPECT_FALSE(host.BoxShotPending());
  const QImage shot(Png("exportado"));
  ASSERT_FALSE(shot.isNull());
  const QImage screen = PaintScreen();
  ASSERT_EQ(shot.size(), screen.size());
  // The box covers the screen across the middle, two thirds down, and
  // leaves its corners.
  const QPoint box(shot.width() / 2, shot.height() * 2 / 3);
  EXPECT_NE(shot.pixelColor(box), screen.pixelColor(box));
  EXPECT_EQ(shot.pixelColor(2, 2), screen.pixelColor(2, 2));
  EXPECT_EQ(host.Boxes().size(), 2u);
}

}  // namespace
}  // namespace vantu::manual
