#pragma once
// Command I over a generated Rama and Obra, as the program runs it on an
// open set with every file changed: the run alone with no one watching (the
// engine), and the run in its window on the current host, with the progress
// line per record and the key check before each. Each returns the elapsed
// and the thread's processor seconds of the run alone; opening and closing
// the set are left out. On a shared machine the syncs make the elapsed
// time wander; the processor time is the steadier of the two.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench_support.h"
#include "calc/review_and_calc.h"
#include "calc/run_window.h"
#include "records/coded_records.h"
#include "records/codes.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu::command_i {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A generated set in its own scratch folder, made once per program run:
// `maximum` gives 32,766 records in each of files 2 to 6, else the
// generator's realistic shape.
inline const dataset::DatasetShape& Set(bool maximum) {
  static const bench::ScratchDir scratch("command-i");
  static dataset::DatasetShape shapes[2];
  dataset::DatasetShape& shape = shapes[maximum ? 1 : 0];
  if (shape.directory.empty()) {
    const std::string dir = (scratch.dir / (maximum ? "max" : "real")).string();
    shape = maximum ? dataset::MaximumShape(dir) : dataset::DatasetShape{};
    shape.directory = dir;
    InitStorageEngine();
    dataset::GenerateDataset(shape);
    bench::SyncToDisk(bench::SetFiles(shape, {1, 2, 3, 4, 5, 6}, true));
  }
  return shape;
}

// What the user changed before command I: every file (a full run), or
// the price of one basic input, as Basicos leaves it.
enum class Change { kEverything, kOnePrice };

// Raises the price of the first basic input that is not a chapter by one
// and marks the inputs' file changed.
inline void ChangeOnePrice() {
  InputRecord in;
  for (int r = 1; r < FileRecordCount(Area(2).Data); ++r) {
    GetRec(Area(2).Data, static_cast<int16_t>(r), in.data());
    if (Get(in, coded::RecordStatus) != 0 || Get(in, coded::Code).size() == kChapterCodeLength)
      continue;
    Set(in, input::Price, Get(in, input::Price) + 1);
    PutRec(Area(2).Data, static_cast<int16_t>(r), in.data());
    Area(2).SavedChangeMarker = 1;
    return;
  }
}

// Opens the set as the selection leaves it and makes the change.
inline void OpenChanged(const dataset::DatasetShape& shape, Change change = Change::kEverything) {
  static std::vector<uint8_t> buffer(kMaxRecordLength);
  Selection().DataDirectory = shape.directory;
  Selection().RamaCode = shape.rama;
  Selection().ObraCode = shape.obra;
  Shell().errorFileName = (fs::path(shape.directory) / "ApError").string();
  for (int n = 1; n <= 5; ++n)
    OpenWorkArea(n, false, buffer.data(), shape.rama, kSetRecordLength[n]);
  OpenWorkArea(6, false, buffer.data(), shape.rama + shape.obra, kSetRecordLength[6]);
  if (change == Change::kOnePrice) return ChangeOnePrice();
  for (int n = 1; n <= 6; ++n) Area(n).SavedChangeMarker = 1;
}

inline void Close() {
  for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
}

// Elapsed and thread processor seconds, added up over the iterations.
struct Spent {
  double wall = 0, cpu = 0;
};

// Times `run` into `spent`.
template <class Run>
void Time(Spent& spent, Run run) {
  const auto start = Clock::now();
  const double cpu = bench::ThreadCpuSeconds();
  run();
  spent.cpu += bench::ThreadCpuSeconds() - cpu;
  spent.wall += std::chrono::duration<double>(Clock::now() - start).count();
}

// The engine alone; false when the run did not close well.
inline bool Headless(const dataset::DatasetShape& shape, Spent& spent,
                     Change change = Change::kEverything) {
  OpenChanged(shape, change);
  CalcObserver none;
  bool closed = false;
  Time(spent, [&] { closed = ExecuteRun(PrepareRun(), none, Shell().errorFileName).closed; });
  Close();
  return closed;
}

// Through the run window on the current host, which must answer the
// closing wait for Esc; false when the run left a marker set.
inline bool InWindow(const dataset::DatasetShape& shape, Spent& spent,
                     Change change = Change::kEverything) {
  OpenChanged(shape, change);
  Time(spent, [] { RunReviewAndCalculation(); });
  const bool calculated = Area(1).SavedChangeMarker == 0;
  Close();
  return calculated;
}

// The counters of a benchmark that timed both: milliseconds of each per
// iteration, and the window's time over the engine's, elapsed and processor.
inline void Report(benchmark::State& state, const Spent& inWindow, const Spent& alone) {
  const double n = static_cast<double>(state.iterations());
  state.counters["window_ms"] = inWindow.wall * 1000 / n;
  state.counters["headless_ms"] = alone.wall * 1000 / n;
  state.counters["x_headless"] = inWindow.wall / alone.wall;
  state.counters["x_headless_cpu"] = inWindow.cpu / alone.cpu;
}

}  // namespace vantu::command_i
