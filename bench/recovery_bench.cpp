// Recovery of a generated Rama and Obra, at the largest file size (32,766
// records in each of files 2 to 6) and at a realistic size, against reading
// the same data files once with a plain sequential read. The recovery run
// reports that ratio as its counter "x_plain_read" (wall time) and
// "x_plain_read_cpu" (CPU time). Each recovery starts, as at the start
// after a stop, from a set marked in use in the configuration file. Also: opening the set
// through the work areas, and the generator itself. "BM_RecoverInWindow"
// runs the recovery with the progress window the program shows, on the
// scripted host, beside the recovery with none in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/install_modules.h"
#include "bench_support.h"
#include "dataset_generator.h"
#include "platform/headless/headless_host.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_in_use.h"
#include "storage/storage_engine.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A private directory for the run's sets and the configuration file that
// the recovery marks, removed at exit.
const bench::ScratchDir& Scratch() {
  static const bench::ScratchDir scratch("recovery", true);
  return scratch;
}

dataset::DatasetShape ShapeOf(bool maximum) {
  const fs::path dir = Scratch().dir / (maximum ? "max" : "real");
  if (maximum) return dataset::MaximumShape(dir.string());
  dataset::DatasetShape shape;
  shape.directory = dir.string();
  return shape;
}

// Generates the set once per size, calculated, as a finished session leaves it.
const dataset::DatasetShape& SetOf(bool maximum) {
  static dataset::DatasetShape made[2];
  dataset::DatasetShape& shape = made[maximum ? 1 : 0];
  if (shape.directory.empty()) {
    shape = ShapeOf(maximum);
    shape.calculated = true;
    InitStorageEngine();
    dataset::GenerateDataset(shape);
  }
  return shape;
}

// The data files the recovery reads: files 1 to 4 and the Obra's file 6.
std::vector<fs::path> RecoveredFiles(const dataset::DatasetShape& shape) {
  return bench::SetFiles(shape, {1, 2, 3, 4, 6}, false);
}

size_t FileBytes(const std::vector<fs::path>& files) {
  size_t total = 0;
  for (const fs::path& f : files) total += fs::file_size(f);
  return total;
}

void Recover(benchmark::State& state, bool maximum) {
  const dataset::DatasetShape& shape = SetOf(maximum);
  const auto files = RecoveredFiles(shape);
  double recoverSeconds = 0, recoverSecondsCpu = 0;
  for (auto _ : state) {
    // The set as a run that stopped leaves it: marked in use.
    state.PauseTiming();
    MarkSetInUseAs(shape.directory, shape.rama, shape.obra);
    state.ResumeTiming();
    StampMax() = 0;
    const auto start = Clock::now();
    const double cpuStart = bench::ThreadCpuSeconds();
    const int result = RecoverFileSet(shape.directory, shape.rama, shape.obra);
    recoverSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    recoverSecondsCpu += bench::ThreadCpuSeconds() - cpuStart;
    if (result != kRecoveryRamaAndObra) state.SkipWithError("recovery failed");
  }
  // The same number of plain reads of the same files, for the ratio.
  double readSeconds = 0, readSecondsCpu = 0;
  for (int64_t i = 0; i < state.iterations(); ++i) {
    const auto start = Clock::now();
    const double cpuStart = bench::ThreadCpuSeconds();
    benchmark::DoNotOptimize(bench::ReadPlain(files));
    readSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    readSecondsCpu += bench::ThreadCpuSeconds() - cpuStart;
  }
  state.counters["x_plain_read"] = recoverSeconds / readSeconds;
  state.counters["x_plain_read_cpu"] = recoverSecondsCpu / readSecondsCpu;
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes(files)));
}

void BM_RecoverFileSet_Max(benchmark::State& s) {
  Recover(s, true);
}
void BM_RecoverFileSet_Realistic(benchmark::State& s) {
  Recover(s, false);
}

// Argument: 1 the largest set, 0 the realistic one.
void BM_RecoverInWindow(benchmark::State& state) {
  const dataset::DatasetShape& shape = SetOf(state.range(0) != 0);
  HeadlessHost host;
  SetHost(&host);
  InstallFileSets();
  const RecoveryUi screens = RecoveryScreens();
  double seconds[2] = {}, cpu[2] = {};
  for (auto _ : state) {
    for (int shown = 0; shown < 2; ++shown) {
      state.PauseTiming();
      MarkSetInUseAs(shape.directory, shape.rama, shape.obra);
      RecoveryScreens() = shown != 0 ? screens : RecoveryUi{};
      state.ResumeTiming();
      StampMax() = 0;
      const auto start = Clock::now();
      const double cpuStart = bench::ThreadCpuSeconds();
      const int result = RecoverFileSet(shape.directory, shape.rama, shape.obra);
      seconds[shown] += std::chrono::duration<double>(Clock::now() - start).count();
      cpu[shown] += bench::ThreadCpuSeconds() - cpuStart;
      if (result != kRecoveryRamaAndObra) state.SkipWithError("recovery failed");
    }
  }
  RecoveryScreens() = RecoveryUi{};
  SetHost(nullptr);
  state.counters["x_headless"] = seconds[1] / seconds[0];
  state.counters["x_headless_cpu"] = cpu[1] / cpu[0];
}

void PlainRead(benchmark::State& state, bool maximum) {
  const auto files = RecoveredFiles(SetOf(maximum));
  for (auto _ : state) benchmark::DoNotOptimize(bench::ReadPlain(files));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes(files)));
}

void BM_PlainRead_Max(benchmark::State& s) {
  PlainRead(s, true);
}
void BM_PlainRead_Realistic(benchmark::State& s) {
  PlainRead(s, false);
}

// Opening and closing the six work areas, as selecting the Rama and Obra does.
void BM_OpenSet_Max(benchmark::State& state) {
  const dataset::DatasetShape& shape = SetOf(true);
  Selection().DataDirectory = shape.directory;
  std::vector<uint8_t> buffer(kMaxRecordLength);
  for (auto _ : state) {
    for (int n = 1; n <= 5; ++n)
      OpenWorkArea(n, false, buffer.data(), shape.rama, kSetRecordLength[n]);
    OpenWorkArea(6, false, buffer.data(), shape.rama + shape.obra, kSetRecordLength[6]);
    for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
  }
}

void Generate(benchmark::State& state, bool maximum) {
  dataset::DatasetShape shape = ShapeOf(maximum);
  shape.directory += "-generated";
  shape.calculated = true;
  InitStorageEngine();
  for (auto _ : state) benchmark::DoNotOptimize(dataset::GenerateDataset(shape));
  const int records = shape.inputRecords + shape.analysisRecords + shape.subcontractRecords +
                      shape.globalRecords + shape.budgetRecords;
  state.SetItemsProcessed(state.iterations() * records);
}

void BM_Generate_Max(benchmark::State& s) {
  Generate(s, true);
}
void BM_Generate_Realistic(benchmark::State& s) {
  Generate(s, false);
}

}  // namespace

BENCHMARK(BM_RecoverFileSet_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoverFileSet_Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoverInWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead_Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSet_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate_Realistic)->Unit(benchmark::kMillisecond);

}  // namespace vantu
