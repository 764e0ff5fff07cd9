// Command I in the real window: the main window shown on the offscreen
// platform (or on $QT_QPA_PLATFORM, such as xcb under Xvfb), the run drawn
// by the Qt host, against the engine alone in the same run. Arguments: the
// size, 1 for the largest set (32,766 records in each of files 2 to 6), 0
// for the generator's realistic one; the change before the run, 0 every
// file, 1 the price of one basic input.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "command_i_runs.h"
#include "console/keys.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"

namespace vantu {
namespace {

// The user presses Esc as soon as the run waits for a key: only the
// closing wait does. The key is there at once, as if it had woken the wait.
class EscAtTheEnd : public gui::QtHost {
 public:
  void WaitForEvents() override {
    if (KeyQueueEmpty())
      PushKey(kKeyEsc);
    else
      gui::QtHost::WaitForEvents();
  }
};

void BM_CommandIInTheWindow(benchmark::State& state) {
  const dataset::DatasetShape& shape = command_i::Set(state.range(0) != 0);
  EscAtTheEnd host;
  SetHost(&host);
  gui::TForm1 window(&host);
  host.Attach(&window);
  window.show();
  QApplication::processEvents();
  const auto change =
      state.range(1) != 0 ? command_i::Change::kOnePrice : command_i::Change::kEverything;
  command_i::Spent inWindow, alone, unused;
  command_i::Headless(shape, unused);  // a calculated set to start from
  for (auto _ : state) {
    const bool closed = command_i::Headless(shape, alone, change);
    const bool calculated = command_i::InWindow(shape, inWindow, change);
    if (!closed || !calculated) state.SkipWithError("the run did not calculate");
  }
  host.Attach(nullptr);
  SetHost(nullptr);
  command_i::Report(state, inWindow, alone);
}

}  // namespace
}  // namespace vantu

BENCHMARK(vantu::BM_CommandIInTheWindow)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"max", "one_price"})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
