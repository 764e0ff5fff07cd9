// Command I's review and calculation over a generated Rama and Obra at the
// largest size (32,766 records in each of files 2 to 6, analyses nesting
// analyses), everything marked changed so that every step runs, against a
// plain sequential read of the same data and index files in the same run.
// Both sides open the files they use and close them again; the run also
// writes its results and syncs every file it changed, the read does not.
// The run reports the ratios of elapsed time ("x_plain_read") and of the
// thread's processor time ("x_plain_read_cpu"): on a shared machine the
// latter is the steadier of the two. "run_x_plain_read" and
// "run_x_plain_read_cpu" leave out opening and closing the set, which
// check every file and index: command I alone, as the program runs it on
// the open set. "BM_CalcFileWork_Max" does only the file work of such a
// run (read everything, write every data file back, sync it), against the
// same plain read: the part of the ratio no reckoning can remove.
// "BM_CommandIWindow" runs command I through its window on the scripted
// host (the progress line per record and the key check before each, the
// host's turns paced by the clock as in the window program), beside the
// engine alone and beside the run's file floor in the same run, at
// realistic and maximum size, after every file changed and after one
// price changed: "x_headless" is the window over the engine,
// "headless_x_floor" the engine over its file floor.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "calc/review_and_calc.h"
#include "command_i_runs.h"
#include "console/keys.h"
#include "dataset_generator.h"
#include "file_floor.h"
#include "platform/headless/headless_host.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using bench::ReadPlain;
using bench::SyncToDisk;
using bench::ThreadCpuSeconds;

// The data and index files of the whole set.
std::vector<fs::path> CalcFiles(const dataset::DatasetShape& shape) {
  return bench::SetFiles(shape, {1, 2, 3, 4, 5, 6}, true);
}
using Clock = std::chrono::steady_clock;

const dataset::DatasetShape& MaxSet() {
  return command_i::Set(true);
}

using command_i::Spent;

// Opens the set, marks every file changed, runs the review and the
// calculation and closes the set; false when the run did not close well.
// `command` gets what the run alone took, as command I on a set already
// open (opening checks every file and index).
bool CalculateAll(const dataset::DatasetShape& shape, Spent& command) {
  std::vector<uint8_t> buffer(kMaxRecordLength);
  for (int n = 1; n <= 5; ++n)
    OpenWorkArea(n, false, buffer.data(), shape.rama, kSetRecordLength[n]);
  OpenWorkArea(6, false, buffer.data(), shape.rama + shape.obra, kSetRecordLength[6]);
  for (int n = 1; n <= 6; ++n) Area(n).SavedChangeMarker = 1;
  CalcObserver none;
  const std::string errors = (fs::path(shape.directory) / "ApError").string();
  const auto start = Clock::now();
  const double cpu = ThreadCpuSeconds();
  const RunOutcome out = ExecuteRun(PrepareRun(), none, errors);
  command.cpu += ThreadCpuSeconds() - cpu;
  command.wall += std::chrono::duration<double>(Clock::now() - start).count();
  for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
  int shown = 0;
  for (const ErrorEntry& e : ReadErrorFile(errors))
    if (shown++ < 5)
      std::fprintf(stderr, "%d %d %s %d %s\n", e.severity, e.targetKind, e.errCode.c_str(),
                   e.nameIndex, e.detailsText.c_str());
  return out.closed;
}

void BM_ReviewAndCalculation_Max(benchmark::State& state) {
  const dataset::DatasetShape& shape = MaxSet();
  Selection().DataDirectory = shape.directory;
  const auto files = CalcFiles(shape);
  double calcSeconds = 0, calcCpu = 0;
  Spent command;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpu = ThreadCpuSeconds();
    if (!CalculateAll(shape, command)) state.SkipWithError("the review found errors");
    calcCpu += ThreadCpuSeconds() - cpu;
    calcSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  double readSeconds = 0, readCpu = 0;
  for (int64_t i = 0; i < state.iterations(); ++i) {
    const auto start = Clock::now();
    const double cpu = ThreadCpuSeconds();
    benchmark::DoNotOptimize(ReadPlain(files));
    readCpu += ThreadCpuSeconds() - cpu;
    readSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.counters["x_plain_read"] = calcSeconds / readSeconds;
  state.counters["x_plain_read_cpu"] = calcCpu / readCpu;
  state.counters["run_x_plain_read"] = command.wall / readSeconds;
  state.counters["run_x_plain_read_cpu"] = command.cpu / readCpu;
}

// The file work of a run that changes every record, without any of its
// reckoning: every file read once, each data file written back whole and
// synced, as the run's flush and close do. The bytes read.
size_t RewriteAndSync(const std::vector<fs::path>& files, const std::vector<fs::path>& data) {
  static std::vector<char> bytes;
  size_t total = 0;
  for (const fs::path& f : files) {
    const bool index = std::find(data.begin(), data.end(), f) == data.end();
    const int fd = ::open(f.c_str(), (index ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) continue;
    bytes.resize(fs::file_size(f));
    if (::pread(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()))
      total += bytes.size();
    if (!index) {
      benchmark::DoNotOptimize(::pwrite(fd, bytes.data(), bytes.size(), 0));
      ::fdatasync(fd);
    }
    ::close(fd);
  }
  return total;
}

void BM_CalcFileWork_Max(benchmark::State& state) {
  const auto files = CalcFiles(MaxSet());
  const auto data = bench::SetFiles(MaxSet(), {1, 2, 3, 4, 5, 6}, false);
  double workSeconds = 0, readSeconds = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    benchmark::DoNotOptimize(RewriteAndSync(files, data));
    workSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    start = Clock::now();
    benchmark::DoNotOptimize(ReadPlain(files));
    readSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.counters["x_plain_read"] = workSeconds / readSeconds;
}

void BM_CalcPlainRead_Max(benchmark::State& state) {
  const auto files = CalcFiles(MaxSet());
  for (auto _ : state) benchmark::DoNotOptimize(ReadPlain(files));
}

// Arguments: size (0 realistic, 1 maximum) and change (0 every file, 1 one
// price). Each iteration runs the engine alone, its file floor (the files
// the run read, the pages it changed, its syncs: see file_floor.h) and the
// run in its window, each from the set the one before left.
void BM_CommandIWindow(benchmark::State& state) {
  const dataset::DatasetShape& shape = command_i::Set(state.range(0) != 0);
  const auto change =
      state.range(1) != 0 ? command_i::Change::kOnePrice : command_i::Change::kEverything;
  HeadlessHost host;
  SetHost(&host);
  bench::FileFloor floor(CalcFiles(shape));
  command_i::Spent window, alone, unused;
  // A calculated set to start from: a price changed then asks for a run
  // of what depends on it only.
  command_i::Headless(shape, unused);
  double floorSeconds = 0;
  size_t pages = 0;
  for (auto _ : state) {
    state.PauseTiming();
    floor.Before();
    state.ResumeTiming();
    const bool closed = command_i::Headless(shape, alone, change);
    state.PauseTiming();
    floor.After();
    pages = floor.ChangedPages();
    state.ResumeTiming();
    const auto start = Clock::now();
    benchmark::DoNotOptimize(floor.Run());
    floorSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    // The user closes the window when the total shows.
    host.QueueStep([] { PushKey(kKeyEsc); });
    const bool calculated = command_i::InWindow(shape, window, change);
    if (!closed || !calculated) state.SkipWithError("the run did not calculate");
  }
  SetHost(nullptr);
  command_i::Report(state, window, alone);
  state.counters["floor_ms"] = floorSeconds * 1000 / static_cast<double>(state.iterations());
  state.counters["headless_x_floor"] = alone.wall / floorSeconds;
  state.counters["pages_changed"] = static_cast<double>(pages);
}

}  // namespace

BENCHMARK(BM_CommandIWindow)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"max", "one_price"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReviewAndCalculation_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcPlainRead_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcFileWork_Max)->Unit(benchmark::kMillisecond);

}  // namespace vantu
