#pragma once
// The data of the listing benchmarks: a calculated Rama and Obra at the
// largest size, opened as the selection leaves it, the total budget
// listing written to the listing file by the engine (both passes of every
// listing), and the plain sequential read of the same data files that is
// the baseline.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/listing_names.h"
#include "dataset_generator.h"
#include "platform/headless/headless_host.h"
#include "reports/listing_engine.h"
#include "reports/listing_output.h"
#include "reports/listing_text.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu::listing_bench {

namespace fs = std::filesystem;

inline const bench::ScratchDir& Scratch() {
  static const bench::ScratchDir scratch("listing");
  return scratch;
}

// Generated once per run, calculated, every file at 32,766 records.
inline const dataset::DatasetShape& MaxCalculatedSet() {
  static dataset::DatasetShape shape;
  if (shape.directory.empty()) {
    static HeadlessHost host;
    SetHost(&host);
    shape = dataset::MaximumShape((Scratch().dir / "max").string());
    shape.calculated = true;
    InitStorageEngine();
    dataset::GenerateDataset(shape);
  }
  return shape;
}

inline std::vector<fs::path> SetFiles(const dataset::DatasetShape& shape) {
  return bench::SetFiles(shape, {1, 2, 3, 4, 5, 6}, true);
}

using bench::ReadPlain;

// The set opened with the Obra, the laser printer, every part of the total
// listing ticked, the analyses one on each page or several on a page.
inline void OpenForListing(const dataset::DatasetShape& shape, bool onePerPage) {
  Selection().DataDirectory = shape.directory;
  std::vector<uint8_t> buffer(kMaxRecordLength);
  for (int n = 1; n <= 5; ++n)
    OpenWorkArea(n, false, buffer.data(), shape.rama, kSetRecordLength[n]);
  OpenWorkArea(6, false, buffer.data(), shape.rama + shape.obra, kSetRecordLength[6]);
  Shell().obraSelected = true;
  Shell().viewMode = false;
  Shell().listingFileName = (Scratch().dir / "LPT").string();
  Shell().consultantName = "ING. ANA PEREZ";
  Selection().RamaName = "RAMA DE PRUEBA";
  Selection().ObraName = "OBRA DE PRUEBA";
  Prefs() = DefaultPreferences();
  Prefs().dotMatrixPrinter = false;
  Prefs().oneAnalysisPerPage = onePerPage;
  for (bool& part : Prefs().totalBudgetParts) part = true;
}

inline void CloseAfterListing() {
  for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
}

// The total listing as vantu-cli list writes it for the printer: the SI
// line, then every listing with its separator page, into the listing file.
inline void WriteTotalListingFile() {
  ListingState& s = Listing();
  s.quietEmpty = true;
  s.emptyListingCount = 0;
  s.listingContinue = true;
  EmptyListingFile();
  CondensedOn();
  LineEnd();
  cli::FindListing("total")->run(0, 0);
  CloseListingFile();
}

// The bytes of the listing file without what follows its last page.
inline std::string ReadListingFile() {
  std::ifstream in(ListingFileName(), std::ios::binary);
  return CutAfterLastPage(std::string(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace vantu::listing_bench
