// The total budget listing of a calculated Rama and Obra at the largest
// size (32,766 records in each of files 2 to 6), written to the listing
// file by the engine with both passes of every listing, against a plain
// sequential read of the same data and index files in the same run. The
// argument is the analyses' layout: 1 one on each page, 0 several on a
// page. The ratio is the counter "x_plain_read"; the absolute time of the
// listing is the benchmark's own; neither counts reading the listing file
// back to report its size.
#include <benchmark/benchmark.h>

#include <chrono>

#include "listing_bench_set.h"

namespace vantu {
namespace {

using Clock = std::chrono::steady_clock;
using namespace listing_bench;

void BM_TotalBudgetListing_Max(benchmark::State& state) {
  const dataset::DatasetShape& shape = MaxCalculatedSet();
  OpenForListing(shape, state.range(0) != 0);
  double listingSeconds = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    WriteTotalListingFile();
    listingSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    // Read back only to report the size: not the listing's work.
    state.PauseTiming();
    bytes = ReadListingFile().size();
    state.ResumeTiming();
  }
  CloseAfterListing();
  const auto files = SetFiles(shape);
  double readSeconds = 0;
  for (int64_t i = 0; i < state.iterations(); ++i) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(ReadPlain(files));
    readSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.counters["x_plain_read"] = listingSeconds / readSeconds;
  state.counters["plain_read_ms"] = readSeconds * 1000 / static_cast<double>(state.iterations());
  state.counters["listing_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_ListingPlainRead_Max(benchmark::State& state) {
  const auto files = SetFiles(MaxCalculatedSet());
  for (auto _ : state) benchmark::DoNotOptimize(ReadPlain(files));
}

}  // namespace

BENCHMARK(BM_TotalBudgetListing_Max)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingPlainRead_Max)->Unit(benchmark::kMillisecond);

}  // namespace vantu
