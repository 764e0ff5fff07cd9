#include "dataset_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "calc/review_and_calc.h"
#include "dataset_builder.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "toolkit/numbers.h"

namespace vantu::dataset {

namespace fs = std::filesystem;

ChapterPlan PlanChapters(int records, int typical, int maxNumber, int multiple) {
  const int most = 99 / multiple * multiple;
  int chapters = (records + typical) / (typical + 1);
  chapters = (chapters + multiple - 1) / multiple * multiple;
  // Every chapter gets an item while there are records for it.
  const int withItems = records / 2 / multiple * multiple;
  chapters = std::clamp(std::min(chapters, withItems), multiple, most);
  const int items = records - chapters;
  if (items < 0 || items > chapters * maxNumber)
    throw std::invalid_argument("dataset: no chapter plan for " + std::to_string(records));
  ChapterPlan plan;
  for (int c = 0; c < chapters; ++c) {
    const int count = items / chapters + (c < items % chapters ? 1 : 0);
    plan.items.push_back(count);
    plan.step.push_back(count == 0 ? 10 : std::clamp(maxNumber / count, 1, 10));
  }
  return plan;
}

std::string ChapterCode(int chapter) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", chapter);
  return text;
}

std::string ItemCode(int chapter, int number, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", digits, number);
  return ChapterCode(chapter) + text;
}

std::string Builder::Date() {
  char text[40];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d", 1 + Below(28), 1 + Below(12), 23 + Below(2));
  return text;
}

long double Cents(double value) {
  return RoundCents(static_cast<long double>(value));
}

long double Decimals(double value, int places) {
  const long double scale = std::pow(10.0L, places);
  return std::round(static_cast<long double>(value) * scale) / scale;
}

namespace {

int ItemsOf(const ChapterPlan& plan) {
  int n = 0;
  for (int count : plan.items) n += count;
  return n;
}

void Require(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(std::string("dataset: ") + what);
}

void Validate(const DatasetShape& s) {
  Require(!s.directory.empty(), "no directory");
  Require(s.rama.size() == 1, "the Rama code has one character");
  Require(s.obra.empty() || s.obra.size() == 2, "the Obra code has two characters");
  Require(s.inputRecords >= 8 && s.inputRecords <= kMaxRecords, "input records out of range");
  Require(s.analysisRecords >= 2 && s.analysisRecords <= kMaxRecords,
          "analysis records out of range");
  Require(s.subcontractRecords == 0 ||
              (s.subcontractRecords >= 2 && s.subcontractRecords <= kMaxRecords),
          "subcontract records out of range");
  Require(s.obra.empty() || (s.budgetRecords >= 2 && s.budgetRecords <= kMaxRecords),
          "budget records out of range");
  const int analysisItems = ItemsOf(PlanChapters(s.analysisRecords, 40, 9999, 1));
  Require(s.globalRecords >= 0 && s.globalRecords <= std::min(kMaxRecords, 2 * analysisItems),
          "global records out of range");
  Require(s.generation >= 1 && s.generation <= 9999, "generation out of range");
  Require(s.aiuMode == general::kAiuPerItem || s.aiuMode == general::kAiuAtEnd,
          "AIU mode is 1 or 2");
}

// Data and index files of the set, so that the work areas create them anew.
void RemoveSet(const DatasetShape& s) {
  std::error_code ec;
  for (int n = 1; n <= 6; ++n) {
    if (n == 6 && s.obra.empty()) break;
    const std::string ext = n == 6 ? s.rama + s.obra : s.rama;
    const std::string number = "Apr0" + std::to_string(n);
    fs::remove(fs::path(s.directory) / (number + "dat." + ext), ec);
    fs::remove(fs::path(s.directory) / (number + "ixc." + ext), ec);
  }
}

void WriteHeaders(Builder& b) {
  GlobalPriceHeader prices{};
  GetRec(Area(5).Data, 0, prices.data());
  const auto highest = static_cast<int16_t>(b.globals.size());
  Set(prices, global_price_header::HighestRecNo, highest);
  Set(prices, global_price_header::FreeRecCount, int16_t{0});
  Set(prices, global_price_header::FirstFree, int16_t{0});
  PutRec(Area(5).Data, 0, prices.data());

  if (!b.shape.obra.empty()) {
    ObraHeader obra{};
    GetRec(Area(6).Data, 0, obra.data());
    Set(obra, obra_header::UsePliegosCodes, uint8_t{0});
    Set(obra, obra_header::ObraName, "Conjunto residencial Los Almendros");
    Set(obra, obra_header::ObraReference, "Licitacion publica No. 014");
    Set(obra, obra_header::BudgetDate, "15/03/24");
    Set(obra, obra_header::BudgetItemsTotal, 0.0L);
    Set(obra, obra_header::AnticipoPct, 30.0L);
    Set(obra, obra_header::RetencionPct, 5.0L);
    PutRec(Area(6).Data, 0, obra.data());
  }
  // Freshly entered: everything changed. A set to be calculated carries
  // the generation before its own, which the calculation then stamps.
  const int last = b.shape.obra.empty() ? 5 : 6;
  for (int n = 1; n <= last; ++n) {
    Area(n).SavedChangeMarker = 1;
    Area(n).SavedSetSerial =
        b.shape.calculated ? static_cast<int16_t>(b.shape.generation - 1) : int16_t{0};
  }
}

// The program's own review and calculation over the set just written, with
// the shape's rounding preference.
void Calculate(Builder& b) {
  struct RoundingGuard {
    bool saved = Prefs().roundToPeso;
    ~RoundingGuard() { Prefs().roundToPeso = saved; }
  } guard;
  Prefs().roundToPeso = b.shape.roundToPeso;
  CalcObserver none;
  const RunOutcome out = ExecuteRun(PrepareRun(), none, "");
  if (!out.closed)
    throw std::logic_error("dataset: the review found " + std::to_string(out.TotalErrors()) +
                           " errors");
  b.summary.budgetTotal = out.grandTotal;
}

// Closes what was opened and puts the selection back, also on the way out
// of an exception.
struct AreasGuard {
  std::string savedDirectory = Selection().DataDirectory;
  ~AreasGuard() {
    for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
    Selection().DataDirectory = savedDirectory;
  }
};

}  // namespace

DatasetShape MaximumShape(const std::string& directory) {
  DatasetShape shape;
  shape.directory = directory;
  shape.inputRecords = shape.analysisRecords = shape.subcontractRecords = kMaxRecords;
  shape.globalRecords = shape.budgetRecords = kMaxRecords;
  return shape;
}

DatasetSummary GenerateDataset(const DatasetShape& shape) {
  Validate(shape);
  fs::create_directories(shape.directory);
  RemoveSet(shape);
  AreasGuard guard;
  Selection().DataDirectory = shape.directory;

  std::vector<uint8_t> buffer(kMaxRecordLength);
  for (int n = 1; n <= 5; ++n)
    OpenWorkArea(n, false, buffer.data(), shape.rama, kSetRecordLength[n]);
  if (!shape.obra.empty())
    OpenWorkArea(6, false, buffer.data(), shape.rama + shape.obra, kSetRecordLength[6]);

  Builder b(shape);
  WriteGeneralData(b);
  WriteInputs(b);
  WriteAnalyses(b);
  WriteSubcontracts(b);
  if (!shape.obra.empty()) WriteBudget(b);
  WriteHeaders(b);
  if (shape.calculated) Calculate(b);

  b.summary.records[1] = 1;
  b.summary.records[2] = static_cast<int>(b.inputs.size());
  b.summary.records[3] = static_cast<int>(b.analyses.size());
  b.summary.records[4] = static_cast<int>(b.subcontracts.size());
  b.summary.records[5] = static_cast<int>(b.globals.size());
  b.summary.records[6] = static_cast<int>(b.budget.size());
  return b.summary;
}

}  // namespace vantu::dataset
