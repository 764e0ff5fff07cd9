#pragma once
// One run of the review and calculation: what it has to do (the plan), who
// watches it (the observer: a window, the command line, or nobody), and the
// state its steps share while it runs.
//
// A run has three phases of steps over the data files: the content review
// (every record lacks no datum), the cross review (every reference holds,
// no analysis lies on a cycle) and, only when both found nothing, the
// calculation. Each step runs only when the files it depends on changed
// since the last calculation (their ChangeMarker).

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/calc_lines.h"
#include "calc/cost_rules.h"
#include "calc/record_cache.h"
#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/coded_records.h"
#include "records/general_record.h"
#include "toolkit/error_file.h"

namespace vantu {

// The highest generation; the one after it starts again at 1.
inline constexpr int16_t kLastGeneration = 9999;

enum class CalcStep : uint8_t {
  kGeneralReview,       // C1
  kInputsReview,        // C2
  kAnalysesReview,      // C3
  kSubcontractsReview,  // C4
  kBudgetReview,        // C5
  kAnalysesCross,       // X1
  kBudgetCross,         // X2
  kAnalysesCalc,        // K1
  kSubcontractsCalc,    // K2
  kBudgetCalc,          // K3
};
inline constexpr int kCalcStepCount = 10;

enum CalcPhase { kPhaseContent = 0, kPhaseCross = 1, kPhaseCalc = 2 };

// Where a step reports on the run window: its row and label, and its phase.
struct StepLine {
  int row;
  const char* label;
  CalcPhase phase;
};
StepLine StepLineOf(CalcStep step);
// "<<< REVISION DEL CONTENIDO >>>", "<<< REVISION CRUZADA >>>", "<<< CALCULO >>>".
const char* PhaseTitle(CalcPhase phase);
int PhaseRow(CalcPhase phase);
// True for the steps that exist only with an Obra open.
bool NeedsObra(CalcStep step);

// What a run watcher sees. Every call is optional.
class CalcObserver {
 public:
  virtual ~CalcObserver() = default;
  // The step is not needed, or its file holds no record.
  virtual void StepSkipped(CalcStep) {}
  // Record i of n is about to be processed.
  virtual void StepRecord(CalcStep, int /*i*/, int /*n*/) {}
  // Asked before every record: true stops the run there.
  virtual bool StopWanted() { return false; }
};

struct RunPlan {
  bool obra = false;  // an Obra is open (file 6)
  int16_t highestSerial = 0;
  int16_t generation = 1;              // CurrentGeneration
  bool wrapped = false;                // GenerationWrapped
  std::array<bool, 7> reviewNeeded{};  // files 1..6
  std::array<bool, 3> crossNeeded{};   // 1 analyses, 2 budget
  bool calcAnalyses = false;
  bool calcSubcontracts = false;
  bool calcBudget = false;

  bool AnyCalc() const { return calcAnalyses || calcSubcontracts || calcBudget; }
  bool AnyReview() const;
  bool AnyCross() const { return crossNeeded[1] || crossNeeded[2]; }
  bool SomethingToDo() const { return AnyReview() || AnyCross() || AnyCalc(); }
};

// An analysis being priced: the sums of its sections so far.
struct PricingFrame {
  int r = 0;
  int next = 0;  // the next of its lines to price, counted from its first
  std::array<long double, 5> sum{};
};

// The state the steps share while a run lasts.
struct RunContext {
  RunContext(const RunPlan& p, CalcObserver& o);

  const RunPlan& plan;
  CalcObserver& observer;
  CostBasis basis;
  GeneralDataRecord general{};
  ObraHeader obraHeader{};
  RecordCache<InputRecord> inputs{2};
  RecordCache<AnalysisRecord> analyses{3};
  RecordCache<SubcontractRecord> subcontracts{4};
  RecordCache<GlobalPriceRecord> globals{5};
  RecordCache<BudgetRecord> budget{6};

  std::vector<ErrorEntry> errors;
  int16_t contentErrors = 0;
  int16_t crossErrors = 0;
  bool interrupted = false;
  long double budgetGrandTotal = 0;
  // Analyses being priced, by record number (ComputeAnalysis's own marks).
  std::vector<uint8_t> pricing;
  // The analyses being priced, the nesting one below the nested; kept for
  // the run so that pricing one analysis allocates nothing.
  std::vector<PricingFrame> pricingStack;
  // The budget's records in key order, as the content review walked its
  // index; empty when it did not walk it to the end. The calculation walks
  // them again in that order without reading the index a second time (a
  // run changes no code, so the order stays).
  std::vector<int16_t> budgetKeyOrder;
  // The analyses ExplodeAnalysis has still to explode, with their quantities.
  std::vector<std::pair<int, long double>> explodePending;
  // The analyses' lines and the inputs' required quantities, decoded once
  // for the calculation.
  LineTable lines;
  AnalysisMarks marks;
  GlobalMarks globalMarks;
  InputNeeds needs;

  // AdjustPrice of basic input r's price by group g's factor, computed
  // once per run for each input. r must be InRange of inputs.
  long double AdjustedInputPrice(int r, int group);

  int16_t Generation() const { return plan.generation; }
  // Before record i of n of a step: false when the user stopped the run.
  bool Before(CalcStep step, int i, int n);
  void AddContentError(const ErrorEntry& e);
  void AddCrossError(const ErrorEntry& e);
  // Writes every changed record back to its file.
  void FlushRecords();

 private:
  std::vector<long double> prices_;     // by input record
  std::vector<long double> adjusted_;   // by input record
  std::vector<uint8_t> adjustedGroup_;  // the group adjusted_ holds; 0 none
};

// A text field as it stands in the record, without a copy.
template <class R, class Tag>
std::string_view TextOf(const R& r, StrField<Tag> f) {
  const uint8_t* p = r.data() + f.offset;
  return {reinterpret_cast<const char*>(p + 1), std::min<size_t>(p[0], f.capacity)};
}

// The records in use of a work area's file (0 when it is not open).
int RecordsInUse(int area);

// The review (phases 1 and 2) and the calculation (phase 3).
void RunContentReview(RunContext& run);
void RunCrossReview(RunContext& run);
void RunCalculation(RunContext& run);

// Prices analysis r and, first, the analyses it nests that this run has
// not priced yet; writes their computed fields and stamps them with
// -generation. Returns r's DirectCost; 0 when r was already priced in this
// run, is free or is a chapter.
long double ComputeAnalysis(RunContext& run, int r);
// Adds the basic-input quantities of `quantity` units of analysis r, its
// nested analyses included, to their RequiredQuantity, and stamps what it
// meets with +generation.
void ExplodeAnalysis(RunContext& run, int r, long double quantity);

// The analyses to report as circular, from the (referencing, referenced)
// record-number pairs of the nested-analysis lines in record order.
std::vector<int16_t> CircularAnalyses(const std::vector<std::pair<int16_t, int16_t>>& pairs);

}  // namespace vantu
