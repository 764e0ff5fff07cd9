// The PDF of the total budget listing of a calculated Rama and Obra at the
// largest size, drawn by the printer route (the box bytes as lines and
// fills) into a PDF printer, against a plain sequential read of the same
// data files in the same run. The listing file is written once before the
// timing (its own time is measured by the listing benchmark); the counter
// "with_listing_ms" adds it back, for the whole of vantu-cli list --pdf
// apart from starting the window program. The argument is the analyses'
// layout: 1 one on each page, 0 several on a page.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPrinter>
#include <chrono>
#include <cstdlib>

#include "gui/listing_printer.h"
#include "listing_bench_set.h"

namespace vantu {
namespace {

using Clock = std::chrono::steady_clock;
using namespace listing_bench;

void BM_TotalBudgetListingPdf_Max(benchmark::State& state) {
  const dataset::DatasetShape& shape = MaxCalculatedSet();
  OpenForListing(shape, state.range(0) != 0);
  const auto listingStart = Clock::now();
  WriteTotalListingFile();
  const double listingSeconds = std::chrono::duration<double>(Clock::now() - listingStart).count();
  const std::string listing = ReadListingFile();
  CloseAfterListing();
  const QString pdf = QString::fromStdString((Scratch().dir / "total.pdf").string());
  double pdfSeconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    if (!DrawListingFile(printer, listing, false)) state.SkipWithError("the PDF was not written");
    pdfSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  const auto files = SetFiles(shape);
  double readSeconds = 0;
  for (int64_t i = 0; i < state.iterations(); ++i) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(ReadPlain(files));
    readSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["x_plain_read"] = pdfSeconds / readSeconds;
  state.counters["plain_read_ms"] = readSeconds * 1000 / n;
  state.counters["with_listing_ms"] = (pdfSeconds / n + listingSeconds) * 1000;
  state.counters["listing_MB"] = static_cast<double>(listing.size()) / 1e6;
}

}  // namespace
}  // namespace vantu

BENCHMARK(vantu::BM_TotalBudgetListingPdf_Max)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
