// Recodification of a generated Rama and Obra at the largest file size
// (32,766 records in each of files 2 to 6) and at a realistic size, against
// one plain sequential read of the same data and index files in the same
// run. The recodification reports that ratio as "x_plain_read"; the goal is
// at most 20. Successive runs alternate two parameter sets, so that every
// run renumbers every record.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "dataset_generator.h"
#include "selection/recode.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const bench::ScratchDir& Scratch() {
  static const bench::ScratchDir scratch("recode", true);
  return scratch;
}

// The files the recodification rewrites: 2 to 6 with their indexes.
std::vector<fs::path> RecodedFiles(const dataset::DatasetShape& shape) {
  return bench::SetFiles(shape, {2, 3, 4, 5, 6}, true);
}

const dataset::DatasetShape& SetOf(bool maximum) {
  static dataset::DatasetShape made[2];
  dataset::DatasetShape& shape = made[maximum ? 1 : 0];
  if (shape.directory.empty()) {
    const fs::path dir = Scratch().dir / (maximum ? "max" : "real");
    if (maximum) {
      shape = dataset::MaximumShape(dir.string());
    } else {
      shape.directory = dir.string();
    }
    shape.calculated = true;
    InitStorageEngine();
    dataset::GenerateDataset(shape);
  }
  return shape;
}

// Data and index files of the coded files, and the global prices.
void OpenSet(const dataset::DatasetShape& shape) {
  SelectionState& s = Selection();
  s.DataDirectory = shape.directory;
  s.RamaCode = shape.rama;
  s.ObraCode = shape.obra;
  std::vector<uint8_t> buffer(kMaxRecordLength);
  for (int n = 1; n <= 5; ++n)
    OpenWorkArea(n, false, buffer.data(), shape.rama, kSetRecordLength[n]);
  OpenWorkArea(6, false, buffer.data(), shape.rama + shape.obra, kSetRecordLength[6]);
}

void CloseSet() {
  for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
}

void Recode(benchmark::State& state, bool maximum) {
  const dataset::DatasetShape& shape = SetOf(maximum);
  const auto files = RecodedFiles(shape);
  const RecodeParams params[2] = {{2, 2, 5}, {0, 1, 10}};
  OpenSet(shape);
  double recodeSeconds = 0, recodeSecondsCpu = 0;
  int64_t i = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpuStart = bench::ThreadCpuSeconds();
    const int refused = RunRecodification(kRecodeIdle, params[i++ % 2]);
    recodeSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    recodeSecondsCpu += bench::ThreadCpuSeconds() - cpuStart;
    if (refused != 0) state.SkipWithError("codes refused");
  }
  CloseSet();
  double readSeconds = 0, readSecondsCpu = 0;
  for (int64_t k = 0; k < state.iterations(); ++k) {
    const auto start = Clock::now();
    const double cpuStart = bench::ThreadCpuSeconds();
    benchmark::DoNotOptimize(bench::ReadPlain(files));
    readSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    readSecondsCpu += bench::ThreadCpuSeconds() - cpuStart;
  }
  state.counters["x_plain_read"] = recodeSeconds / readSeconds;
  state.counters["x_plain_read_cpu"] = recodeSecondsCpu / readSecondsCpu;
}

void BM_Recodify_Max(benchmark::State& s) {
  Recode(s, true);
}
void BM_Recodify_Realistic(benchmark::State& s) {
  Recode(s, false);
}

void BM_RecodePlainRead_Max(benchmark::State& state) {
  const auto files = RecodedFiles(SetOf(true));
  for (auto _ : state) benchmark::DoNotOptimize(bench::ReadPlain(files));
}

}  // namespace

BENCHMARK(BM_Recodify_Max)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_RecodePlainRead_Max)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recodify_Realistic)->Unit(benchmark::kMillisecond);

}  // namespace vantu
