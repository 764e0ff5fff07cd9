// Painting the console grid: a full repaint of 25 rows by the console
// painter (runs of equal attributes, decorations, graphic glyphs) against
// the plain drawing of the same 25 lines of text with QPainter, one call
// per line, on an image of the same size. The ratio of the two is the
// painter's overhead.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/console.h"
#include "gui/console_painter.h"
#include "gui/console_widget.h"
#include "gui/dialog_text.h"
#include "platform/headless/headless_host.h"

namespace {

using namespace vantu;

// A data-entry screen: a title, labels with framed fields, a list with box
// lines, and the status line.
void FillScreen() {
  ResetScreen();
  Window(1, 1, 80, 25);
  TextBackground(7);
  TextColor(0);
  ClrScr();
  GotoXY(30, 1);
  TextBackground(1);
  TextColor(15);
  WriteText(" Insumos Basicos ");
  for (int row = 3; row <= 22; ++row) {
    TextBackground(7);
    TextColor(0);
    GotoXY(3, row);
    WriteText("Descripcion del insumo numero " + std::to_string(row) + "  :");
    TextBackground(15);
    TextColor(1);
    GotoXY(40, row);
    WriteField(30, "CEMENTO GRIS PORTLAND TIPO I", 0, false);
  }
  TextBackground(7);
  TextColor(0);
  GotoXY(2, 23);
  WriteText(std::string(78, static_cast<char>(196)));
  GotoXY(2, 24);
  WriteText(std::string(78, static_cast<char>(205)));
  GotoXY(20, 25);
  WriteText("Usar maximo 2 cifras decimales");
}

// The text of each row, as the plain baseline draws it.
std::vector<QString> RowTexts() {
  std::vector<QString> rows;
  const ScreenState& s = Screen();
  for (int r = 1; r <= 25; ++r) {
    std::string line;
    for (int c = 1; c <= 80; ++c) line += static_cast<char>(s.At(c, r).ch);
    rows.push_back(CoreToQt(line));
  }
  return rows;
}

struct Canvas {
  QFont font = gui::ConsoleFont(QStringLiteral("Courier New"), 14);
  QSize cell = gui::CellOf(font);
  QImage image{80 * cell.width(), 25 * cell.height(), QImage::Format_RGB32};
};

void BM_ConsolePainterFullRepaint(benchmark::State& state) {
  FillScreen();
  Canvas c;
  const gui::CellFonts fonts(c.font, c.cell.width());
  const gui::GlyphMetrics metrics{c.cell.width(), c.cell.height(), 3, 3};
  for (auto _ : state) {
    QPainter p(&c.image);
    gui::ConsolePainter painter(p, fonts, metrics);
    for (int row = 1; row <= 25; ++row) painter.PaintCells(Screen(), row, 1, 80);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConsolePainterFullRepaint)->Unit(benchmark::kMillisecond);

void BM_PlainQPainterText25Lines(benchmark::State& state) {
  FillScreen();
  Canvas c;
  const std::vector<QString> rows = RowTexts();
  const int ascent = QFontMetrics(c.font).ascent();
  for (auto _ : state) {
    QPainter p(&c.image);
    p.setFont(c.font);
    p.setPen(Qt::black);
    for (int row = 0; row < 25; ++row) {
      p.fillRect(0, row * c.cell.height(), c.image.width(), c.cell.height(), Qt::lightGray);
      p.drawText(0, row * c.cell.height() + ascent, rows[static_cast<size_t>(row)]);
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainQPainterText25Lines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  // The cells are written through the core, which reports to a host.
  vantu::HeadlessHost host;
  vantu::SetHost(&host);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
