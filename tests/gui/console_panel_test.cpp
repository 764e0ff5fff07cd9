#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <string>

#include "gui/console_painter.h"
#include "gui/gui_fixture.h"
#include "gui/key_button_bar.h"
#include "gui/win_console.h"

namespace vantu::gui::test {
namespace {

TEST(PanelSizing, WidthAndHeightSnapToWholeCells) {
  QWidget parent;
  TWinConsole panel(&parent);
  // A font whose blank is an even number of pixels wide, so that half a cell
  // is a whole number of pixels.
  QFont f(QStringLiteral("Courier New"));
  for (int px = 16; px < 40 && (panel.setFont(f), panel.CellWidth() % 2 != 0); ++px)
    f.setPixelSize(px);
  ASSERT_EQ(panel.CellWidth() % 2, 0);
  panel.SetNBtnRow(2);
  const int w = panel.CellWidth(), h = panel.CellHeight();
  const int buttons = 3 * h;  // round(2 x 1.51) rows
  struct Case {
    const char* name;
    int width, height;
    int cols, rows;
  } cases[] = {
      {"80.5 cells keep 80", 80 * w + w / 2, 25 * h + buttons, 80, 25},
      {"80.6 cells give 81", 80 * w + (6 * w + 9) / 10, 25 * h + buttons, 81, 25},
      {"rows round the same way", 80 * w, 25 * h + h / 2 + 1 + buttons, 80, 26},
      {"half a row is dropped", 80 * w, 25 * h + h / 2 + buttons - (h % 2), 80, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel.SetBounds(QRect(0, 0, c.width, c.height));
    EXPECT_EQ(panel.NCol(), c.cols);
    EXPECT_EQ(panel.NRow(), c.rows);
    EXPECT_EQ(panel.width(), c.cols * w);
    EXPECT_EQ(panel.height(), c.rows * h + buttons);
  }
}

TEST(PanelSizing, PropertiesSizeThePanelAndIgnoreValuesOutOfRange) {
  QWidget parent;
  TWinConsole panel(&parent);
  panel.SetNCol(80);
  panel.SetNRow(25);
  panel.SetLineGap(0);
  panel.SetNBtnRow(2);
  const int w = panel.CellWidth(), h = panel.CellHeight();
  EXPECT_EQ(panel.size(), QSize(80 * w, 28 * h));
  panel.SetNCol(1001);
  panel.SetNRow(1001);
  panel.SetLineGap(11);
  EXPECT_EQ(panel.NCol(), 80);
  EXPECT_EQ(panel.NRow(), 25);
  EXPECT_EQ(panel.LineGap(), 0);
  EXPECT_EQ(panel.size(), QSize(80 * w, 28 * h));
}

TEST(FontSize, StepsDownFrom29UntilTheGridFitsThenCaps) {
  // Cells of a made-up font: p wide, 2p high. The grid of 80 x 28 cells
  // fits when 80p <= width and 62p <= height (three rows kept free).
  struct Case {
    const char* name;
    QSize desktop;
    int expected;
  } cases[] = {
      {"1024 x 768", {1024, 768}, 12},
      {"large desktop capped at 14", {1920, 1080}, 14},
      {"640 x 480", {640, 480}, 7},
      {"nothing fits", {10, 10}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int largestTried = 0;
    auto cellAt = [&](int p) {
      largestTried = std::max(largestTried, p);
      return QSize(p, 2 * p);
    };
    EXPECT_EQ(ChooseFontSize(cellAt, ConsoleGeometry{}, c.desktop), c.expected);
    EXPECT_EQ(largestTried, 29);
  }
}

TEST(FontSize, CourierNewOnA1024x768DesktopTakesTheLargestFittingSize) {
  ConsoleGeometry g;
  auto fits = [&g](int p) {
    const QSize cell = CellOf(ConsoleFont(g.fontName, p));
    return 80 * cell.width() <= 1024 && 28 * cell.height() <= 768 - 3 * cell.height();
  };
  const int size =
      ChooseFontSize([&g](int p) { return CellOf(ConsoleFont(g.fontName, p)); }, g, {1024, 768});
  EXPECT_TRUE(fits(size));
  EXPECT_LE(size, 14);
  if (size < 14) {
    EXPECT_FALSE(fits(size + 1));
  }
}

class ConsoleTest : public GuiTest {
 protected:
  TConsole* console() { return window->Console(); }
  QImage Grab() { return console()->grab().toImage(); }
  static bool IsBlack(QRgb c) { return qRed(c) < 64 && qGreen(c) < 64 && qBlue(c) < 64; }
};

TEST_F(ConsoleTest, KeysReachTheQueueAsTheirCodes) {
  struct Case {
    const char* name;
    int key;
    Qt::KeyboardModifiers mods;
    std::vector<int> codes;
    bool typed;  // the key counts as typed (NoTypedKey cleared)
  } cases[] = {
      {"Enter gives one 13", Qt::Key_Return, Qt::NoModifier, {13}, true},
      {"F10 gives nothing at all", Qt::Key_F10, Qt::NoModifier, {}, false},
      {"Alt+1 gives nothing", Qt::Key_1, Qt::AltModifier, {}, true},
      {"Alt+X", Qt::Key_X, Qt::AltModifier, {168}, true},
      {"Ctrl+B", Qt::Key_B, Qt::ControlModifier, {2}, true},
      {"Tab stays in the console", Qt::Key_Tab, Qt::NoModifier, {9}, true},
      {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, {9}, true},
      {"a letter", Qt::Key_A, Qt::NoModifier, {'a'}, true},
      {"Ctrl+F2", Qt::Key_F2, Qt::ControlModifier, {180}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    console()->setFocus();
    Input().noTypedKey = true;
    QTest::keyClick(console(), static_cast<Qt::Key>(c.key), c.mods);
    EXPECT_EQ(DrainKeys(), c.codes);
    EXPECT_EQ(!Input().noTypedKey, c.typed);
  }
}

// Letters reach the queue as their Windows-1252 bytes; a character whose
// byte is a special key's code (¡ is Alt+Q) is dropped.
TEST_F(ConsoleTest, AccentedLettersReachTheQueueAsTheirBytes) {
  console()->setFocus();
  const std::pair<int, const char*> typed[] = {{Qt::Key_Eacute, "\u00e9"},
                                               {Qt::Key_exclamdown, "\u00a1"},
                                               {Qt::Key_Ntilde, "\u00d1"},
                                               {Qt::Key_questiondown, "\u00bf"}};
  for (const auto& [key, text] : typed) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf8(text));
    QApplication::sendEvent(console(), &press);
  }
  EXPECT_EQ(DrainKeys(), (std::vector<int>{233, 209, 191}));
}

TEST_F(ConsoleTest, DialogKeysOfOtherWidgetsGoToTheConsole) {
  QWidget* other = window->centralWidget();
  QTest::keyClick(other, Qt::Key_Escape);
  QTest::keyClick(other, Qt::Key_Down);
  EXPECT_EQ(DrainKeys(), (std::vector<int>{27, 129}));
}

TEST_F(ConsoleTest, KindZeroFieldShowsBracketsInItsNeighbours) {
  TextBackground(15);
  TextColor(0);
  GotoXY(10, 5);
  WriteField(5, "", 0, false);
  QApplication::processEvents();
  const QImage img = Grab();
  const int w = console()->CellWidth(), h = console()->CellHeight();
  const int y = 4 * h, left = 8 * w, right = 14 * w;
  for (int dy = 2; dy < h - 1; ++dy) {
    SCOPED_TRACE(dy);
    EXPECT_TRUE(IsBlack(img.pixel(left + w - kEdgeInset, y + dy))) << "opening bracket";
    EXPECT_TRUE(IsBlack(img.pixel(right + kEdgeInset, y + dy))) << "closing bracket";
    EXPECT_FALSE(IsBlack(img.pixel(left + 1, y + dy))) << "left of the opening bracket";
    EXPECT_FALSE(IsBlack(img.pixel(right + w - 1, y + dy))) << "right of the closing bracket";
  }
  EXPECT_TRUE(IsBlack(img.pixel(left + w - 1, y + 1))) << "top of the opening bracket";
  EXPECT_TRUE(IsBlack(img.pixel(right + 1, y + h - 1))) << "foot of the closing bracket";
  for (int x = 9 * w; x < 14 * w; ++x) {
    EXPECT_TRUE(IsBlack(img.pixel(x, y + 1))) << "line above, x " << x;
    EXPECT_TRUE(IsBlack(img.pixel(x, y + h - 1))) << "line below, x " << x;
    EXPECT_FALSE(IsBlack(img.pixel(x, y + h / 2))) << "inside, x " << x;
  }
}

// Byte 205 typed into a field is the letter Í; written as text it is the
// frame piece ═, drawn across the whole cell.
TEST_F(ConsoleTest, AnAccentedLetterOfAFieldIsALetterNotAFramePiece) {
  TextBackground(15);
  TextColor(0);
  GotoXY(10, 5);
  WriteField(3, "\xCD\xCD\xCD", 1, false);
  GotoXY(10, 7);
  WriteText("\xCD\xCD\xCD");
  QApplication::processEvents();
  const QImage img = Grab();
  const int w = console()->CellWidth(), h = console()->CellHeight();
  const auto darkAtCellEdges = [&](int row) {
    int dark = 0;
    for (int dy = 0; dy < h; ++dy)
      for (int x : {10 * w, 11 * w - 1}) dark += IsBlack(img.pixel(x, (row - 1) * h + dy));
    return dark;
  };
  EXPECT_GT(darkAtCellEdges(7), 0) << "the frame piece reaches both edges";
  EXPECT_EQ(darkAtCellEdges(5), 0) << "the letter stays inside its cell";
}

TEST_F(ConsoleTest, RunOf40HorizontalPiecesIsOneContinuousLine) {
  TextBackground(15);
  TextColor(0);
  GotoXY(5, 3);
  WriteText(std::string(40, static_cast<char>(196)));
  QApplication::processEvents();
  const QImage img = Grab();
  const int w = console()->CellWidth(), h = console()->CellHeight();
  const int y = 2 * h + h / 2, x0 = 4 * w;
  for (int x = x0; x < x0 + 40 * w; ++x) {
    ASSERT_TRUE(IsBlack(img.pixel(x, y))) << "gap at x " << x;
    ASSERT_FALSE(IsBlack(img.pixel(x, y - 1))) << "thicker than one pixel at x " << x;
    ASSERT_FALSE(IsBlack(img.pixel(x, y + 1))) << "thicker than one pixel at x " << x;
  }
  EXPECT_FALSE(IsBlack(img.pixel(x0 - 1, y)));
  EXPECT_FALSE(IsBlack(img.pixel(x0 + 40 * w, y)));
}

TEST_F(ConsoleTest, KeyButtonRowsBecomePushButtonsUnderTheGrid) {
  ShowKeyButtons(0, 25, "Esc^regresa CtrlF1^ayuda_teclas", true, 1);
  ShowKeyButtons(80, 25, "F9^inserta_", true, 2);
  const QFont& font = console()->ConsoleFontNow();
  struct Case {
    int row, index;
    const char* caption;
    const char* hint;
    QColor colour;
    int code;
  } cases[] = {
      {1, 0, "REGRESA", "Tecla: Esc", QColor(0, 0, 0), 27},
      {1, 1, "AYUDA TECLAS", "Tecla: CtrlF1", QColor(0, 0, 0), 179},
      {2, 0, "INSERTA ", "Tecla: F9", QColor(0x80, 0, 0), 141},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    ASSERT_GT(console()->ButtonBar().Row(c.row).size(), static_cast<size_t>(c.index));
    QPushButton* b = console()->ButtonBar().Row(c.row)[c.index];
    EXPECT_EQ(b->text(), QString::fromLatin1(c.caption));
    EXPECT_EQ(b->toolTip(), QString::fromLatin1(c.hint));
    EXPECT_EQ(b->palette().color(QPalette::ButtonText), c.colour);
    EXPECT_EQ(b->font().pointSize(), font.pointSize() * 9 / 12);
    EXPECT_FALSE(b->font().bold());
    EXPECT_GE(b->y(), 25 * console()->CellHeight());
    EXPECT_LE(b->y() + b->height(), window->Panel()->height());
    b->click();
    EXPECT_EQ(DrainKeys(), std::vector<int>{c.code});
  }
}

TEST_F(ConsoleTest, ReducedLayoutScalesTheFontAndTheWindowFollows) {
  const int base = console()->BaseFontSize();
  window->ApplyLayout(0);
  EXPECT_EQ(console()->ConsoleFontNow().pointSize(), static_cast<int>(std::lround(base * 0.65)));
  EXPECT_EQ(window->Panel()->width(), 80 * console()->CellWidth());
  EXPECT_GE(window->centralWidget()->width(), window->Panel()->width());
  window->ApplyLayout(2);
  EXPECT_EQ(console()->ConsoleFontNow().pointSize(), base);
  EXPECT_EQ(console()->size(), QSize(80 * console()->CellWidth(), 25 * console()->CellHeight()));
}

// The lines a field's frame draws across its cells leave the letters whole
// at every size, as the reduced layout's small ones: a blank pixel row
// between the top line and the capitals, and descenders above the bottom
// line.
TEST_F(ConsoleTest, AFieldsFrameLeavesTheLettersWhole) {
  for (int points = 6; points <= 29; ++points) {
    SCOPED_TRACE(points);
    console()->SetFontSize(points, 0);
    TextBackground(15);
    TextColor(1);
    GotoXY(10, 5);
    WriteField(4, "EMgH", 0, false);
    QApplication::processEvents();
    const QImage img = Grab();
    const int w = console()->CellWidth(), h = console()->CellHeight();
    const QRgb white = ToQColor(ColourOf(15)).rgb();
    int top = h, bottom = -1;
    for (int x = 9 * w; x < 13 * w; ++x) {
      ASSERT_TRUE(IsBlack(img.pixel(x, 4 * h + 1))) << "the top line, x " << x;
      ASSERT_TRUE(IsBlack(img.pixel(x, 4 * h + h - 1))) << "the bottom line, x " << x;
      for (int dy = 0; dy < h; ++dy) {
        const QRgb c = img.pixel(x, 4 * h + dy);
        if (c == white || IsBlack(c)) continue;
        top = std::min(top, dy);
        bottom = std::max(bottom, dy);
      }
    }
    ASSERT_LT(top, h) << "no letter drawn";
    EXPECT_GE(top, 3) << "cell height " << h;
    EXPECT_LE(bottom, h - 2) << "cell height " << h;
  }
}

// Columns of the cell that hold ink (pixels other than the background).
static int InkIn(const QImage& img, int col, int row, int w, int h, QRgb bg) {
  int ink = 0;
  for (int x = (col - 1) * w; x < col * w; ++x)
    for (int y = (row - 1) * h; y < row * h; ++y) ink += img.pixel(x, y) != bg;
  return ink;
}

TEST_F(ConsoleTest, LongRunsKeepEveryCharacterInItsCellInEveryStyle) {
  // A run is drawn with one call: a font advance that is not exactly one
  // cell would push the last characters out of their cells.
  // Upright styles only: an italic letter leans into its neighbour's cell.
  const int w = console()->CellWidth(), h = console()->CellHeight();
  for (int style = 0; style < 2; ++style) {
    SCOPED_TRACE(style);
    TextBackground(15);
    TextColor(0);
    TextStyle(style);
    GotoXY(1, 2 + style);
    WriteText(std::string(79, 'I') + "M");
    // A single character somewhere else, painted on its own, as reference.
    GotoXY(80, 10 + style);
    WriteText("I");
  }
  QApplication::processEvents();
  const QImage img = Grab();
  const QRgb bg = ToQColor(ColourOf(15)).rgb();
  for (int style = 0; style < 2; ++style) {
    SCOPED_TRACE(style);
    for (int col : {1, 40, 79}) {
      // Same ink in the run as in the lone cell, so nothing spilled over.
      EXPECT_EQ(InkIn(img, col, 2 + style, w, h, bg), InkIn(img, 80, 10 + style, w, h, bg))
          << "column " << col;
    }
    EXPECT_GT(InkIn(img, 80, 2 + style, w, h, bg), 0) << "the M at the end is in the last cell";
  }
}

TEST_F(ConsoleTest, TextAfterAGlyphRunOfAnotherColourKeepsItsOwn) {
  // Red text, two blue arrows, red text again: the painter sets the pen
  // only when it changes, so the glyphs (an arrow is filled with no pen at
  // all) must leave the pen as they found it.
  TextBackground(15);
  GotoXY(3, 5);
  TextColor(1);
  WriteText("AB");
  TextColor(4);
  WriteText(std::string(2, static_cast<char>(kGlyphArrowRight)));
  TextColor(1);
  WriteText("CD");
  QApplication::processEvents();
  const QImage img = Grab();
  const int w = console()->CellWidth(), h = console()->CellHeight();
  for (int col : {3, 7, 8}) {
    SCOPED_TRACE(col);
    int reddish = 0, bluish = 0;
    for (int x = (col - 1) * w; x < col * w; ++x)
      for (int y = 4 * h; y < 5 * h; ++y) {
        const QRgb c = img.pixel(x, y);
        reddish += qRed(c) > qBlue(c) + 64;
        bluish += qBlue(c) > qRed(c) + 64;
      }
    EXPECT_GT(reddish, 0);
    EXPECT_EQ(bluish, 0);
  }
}

TEST_F(ConsoleTest, ArrowGlyphsOfTheKeyHelpAreDrawn) {
  TextBackground(15);
  TextColor(0);
  GotoXY(3, 4);
  WriteText(std::string{static_cast<char>(kGlyphArrowLeft), ' ',
                        static_cast<char>(kGlyphArrowRight), ' ', static_cast<char>(kGlyphArrowUp),
                        ' ', static_cast<char>(kGlyphArrowDown)});
  QApplication::processEvents();
  const QImage img = Grab();
  const int w = console()->CellWidth(), h = console()->CellHeight();
  const QRgb bg = ToQColor(ColourOf(15)).rgb();
  EXPECT_EQ(InkIn(img, 4, 4, w, h, bg), 0) << "a blank between them";
  for (int col : {3, 5, 7, 9}) EXPECT_GT(InkIn(img, col, 4, w, h, bg), 4) << "column " << col;
  // The old control codes have no shape at all.
  GotoXY(3, 6);
  WriteText("\x1B\x1A");
  QApplication::processEvents();
  EXPECT_EQ(InkIn(Grab(), 3, 6, w, h, bg), 0);
}

}  // namespace
}  // namespace vantu::gui::test
