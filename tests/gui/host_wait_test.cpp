// The Qt host waits for a key by blocking on its events, and paints the
// cells a run changed when it gets its turn.
#include <QElapsedTimer>
#include <QPainter>

#include "gui_fixture.h"

namespace vantu::gui::test {
namespace {

// Counts the core's waits for events.
class CountingHost : public QtHost {
 public:
  int waits = 0;
  void WaitForEvents() override {
    ++waits;
    QtHost::WaitForEvents();
  }
};

class HostWaitTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetHost(&counting);
    counting.Attach(window.get());
  }
  void TearDown() override {
    counting.Attach(nullptr);
    GuiTest::TearDown();
  }
  CountingHost counting;
};

TEST_F(HostWaitTest, ReadKeySleepsInTheEventWaitUntilTheKeyComes) {
  QTimer::singleShot(150, [] { PushKey('k'); });
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(ReadKey(), 'k');
  EXPECT_GE(clock.elapsed(), 140) << "the key came from the timer";
  // A polling wait would have turned about 150 times.
  EXPECT_LE(counting.waits, 5);
}

TEST_F(HostWaitTest, ARunFrameStaysOverTheCellsWrittenBeforeIt) {
  TextBackground(15);
  TextColor(0);
  GotoXY(10, 5);
  WriteText("ABCDE");
  counting.DrawRunFrame(10, 5, 5, 0x000000FF);  // red
  counting.ProcessEvents();
  const QImage img = window->Console()->grab().toImage();
  const int w = window->Console()->CellWidth(), h = window->Console()->CellHeight();
  const QRgb top = img.pixel(9 * w + w / 2, 4 * h + 1);
  EXPECT_EQ(qRed(top), 255) << "the frame's top edge";
  EXPECT_EQ(qGreen(top), 0);
}

TEST_F(HostWaitTest, CellsWrittenBeforeATurnAreShownAfterIt) {
  TextBackground(0);
  TextColor(15);
  GotoXY(3, 3);
  WriteText(std::string(10, static_cast<char>(219)));  // full blocks
  counting.ProcessEvents();
  const QImage img = window->Console()->grab().toImage();
  const int w = window->Console()->CellWidth(), h = window->Console()->CellHeight();
  for (int col = 3; col <= 12; ++col) {
    const QRgb c = img.pixel((col - 1) * w + w / 2, 2 * h + h / 2);
    EXPECT_GT(qRed(c), 200) << "column " << col;
  }
}

}  // namespace
}  // namespace vantu::gui::test
