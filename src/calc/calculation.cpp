// The calculation: prices every analysis (nested ones first), every
// subcontract and every budget item, sums the chapters and the budget, and
// adds up the basic-input quantities the budget requires.
//
// An analysis priced in this run carries CalcStamp -generation, so each is
// priced once however often it is nested; what the budget uses then carries
// +generation. Nesting is followed with explicit stacks: a long chain of
// nested analyses cannot exhaust the program's stack.
#include <utility>

#include "calc/run_context.h"
#include "records/codes.h"
#include "records/usage_check.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

// Analysis r still to be priced in this run.
bool ToPrice(const RunContext& run, int r) {
  return run.analyses.InRange(r) && run.marks.Stamp(r) != -run.Generation() &&
         run.marks.Priceable(r);
}

// The direct cost a line uses for nested analysis r that needs no pricing
// now: the stored one when it was priced in this run, else 0 (free, a
// chapter, or out of the file).
long double PricedDirectCost(const RunContext& run, int r) {
  if (!run.analyses.InRange(r)) return 0;
  return run.marks.Stamp(r) == -run.Generation() ? run.marks.Direct(r) : 0;
}

// The cost of one line that needs no analysis priced first.
long double LineCost(RunContext& run, const CalcLine& line) {
  switch (line.type) {
    case LineType::kInput:
      if (!run.inputs.InRange(line.ref)) return 0;
      return InputLineCostAdjusted(run.basis, run.AdjustedInputPrice(line.ref, line.group),
                                   line.quantity);
    case LineType::kAnalysis:
      return NestedLineCost(run.basis, line.quantity, PricedDirectCost(run, line.ref));
    case LineType::kGlobal:
      if (!run.globals.InRange(line.ref)) return 0;
      return GlobalLineCost(run.basis, line.group,
                            Get(run.globals.Get(line.ref), global_price::GlobalPrice));
    case LineType::kEmpty:
      break;
  }
  return 0;
}

}  // namespace

long double ComputeAnalysis(RunContext& run, int r) {
  if (!run.marks.Loaded()) run.marks.Load(run.analyses, run.Generation());
  if (!ToPrice(run, r)) return 0;
  std::vector<uint8_t>& pricing = run.pricing;
  pricing.resize(static_cast<size_t>(run.analyses.Count()), 0);
  std::vector<PricingFrame>& stack = run.pricingStack;
  stack.assign(1, PricingFrame{r});
  pricing[static_cast<size_t>(r)] = 1;
  long double direct = 0;
  while (!stack.empty()) {
    PricingFrame& f = stack.back();
    const LineTable::Range lines = run.lines.Of(run.analyses, f.r);
    int nested = 0;
    for (; f.next < lines.count; ++f.next) {
      const CalcLine& line = run.lines.Line(lines.first + f.next);
      // A nested analysis not yet priced is priced first; this line is
      // taken up again afterwards. One being priced further down the stack
      // (a cycle the review let through) counts 0.
      if (line.type == LineType::kAnalysis && ToPrice(run, line.ref) &&
          pricing[static_cast<size_t>(line.ref)] == 0) {
        nested = line.ref;
        break;
      }
      f.sum[line.group] += LineCost(run, line);
    }
    if (nested != 0) {
      pricing[static_cast<size_t>(nested)] = 1;
      stack.push_back(PricingFrame{nested});
      continue;
    }
    AnalysisRecord& a = run.analyses.Get(f.r);
    const AnalysisCosts c = AnalysisTotalsOf(run.basis, f.sum, a);
    StoreAnalysisCosts(a, c);
    Set(a, coded::CalcStamp, static_cast<int16_t>(-run.Generation()));
    run.analyses.Put(f.r);
    run.marks.SetPriced(f.r, static_cast<int16_t>(-run.Generation()), c.directCost);
    pricing[static_cast<size_t>(f.r)] = 0;
    direct = c.directCost;
    stack.pop_back();
  }
  return direct;
}

namespace {

// Reads, once per run, the stamps the budget step changes: the analyses',
// the global prices' and the inputs' (with their required quantities).
void LoadStamps(RunContext& run) {
  const int16_t g = run.Generation();
  if (!run.marks.Loaded()) run.marks.Load(run.analyses, g);
  if (!run.globalMarks.Loaded()) run.globalMarks.Load(run.globals, g);
  if (!run.needs.Loaded()) run.needs.Load(run.inputs, g);
}

}  // namespace

void ExplodeAnalysis(RunContext& run, int r, long double quantity) {
  const int16_t g = run.Generation();
  LoadStamps(run);
  // Pending (analysis, quantity); the nested analyses of one are pushed in
  // line order, so the last noted is exploded first, and completely, before
  // the one noted before it.
  std::vector<std::pair<int, long double>>& pending = run.explodePending;
  pending.assign(1, {r, quantity});
  while (!pending.empty()) {
    const auto [n, q] = pending.back();
    pending.pop_back();
    if (!run.analyses.InRange(n)) continue;
    run.marks.SetStamp(n, g);
    const LineTable::Range lines = run.lines.Of(run.analyses, n);
    for (int i = lines.first; i < lines.first + lines.count; ++i) {
      const CalcLine& line = run.lines.Line(i);
      const long double need = q * line.quantity;
      if (line.type == LineType::kInput && run.inputs.InRange(line.ref)) {
        run.needs.Add(line.ref, g, need);
      } else if (line.type == LineType::kAnalysis) {
        pending.emplace_back(line.ref, need);
      } else if (line.type == LineType::kGlobal && run.globals.InRange(line.ref)) {
        run.globalMarks.SetStamp(line.ref, g);
      }
    }
  }
}

namespace {

void PriceAnalyses(RunContext& run) {
  const CalcStep step = CalcStep::kAnalysesCalc;
  if (!run.plan.calcAnalyses || RecordsInUse(kAreaAnalyses) == 0)
    return run.observer.StepSkipped(step);
  const int n = run.analyses.Count() - 1;
  for (int r = 1; r <= n; ++r) {
    if (!run.Before(step, r, n)) return;
    ComputeAnalysis(run, r);
  }
}

void PriceSubcontracts(RunContext& run) {
  const CalcStep step = CalcStep::kSubcontractsCalc;
  if (!run.plan.calcSubcontracts || RecordsInUse(kAreaSubcontracts) == 0)
    return run.observer.StepSkipped(step);
  const int n = run.subcontracts.Count() - 1;
  for (int r = 1; r <= n; ++r) {
    if (!run.Before(step, r, n)) return;
    SubcontractRecord& s = run.subcontracts.Get(r);
    if (Get(s, coded::RecordStatus) != 0 || TextOf(s, coded::Code).size() == kChapterCodeLength)
      continue;
    const SubcontractCosts c = SubcontractTotalsOf(run.basis, s);
    bool changed = SetChanged(s, subcontract::DirectCost, c.directCost);
    changed = SetChanged(s, subcontract::UnitPrice, c.unitPrice) || changed;
    if (changed) run.subcontracts.Put(r);
  }
}

// Prices budget item b from what it refers to; returns its ItemTotal.
// `changed` tells whether a byte of b changed.
long double PriceItem(RunContext& run, BudgetRecord& b, bool& changed) {
  const long double quantity = Get(b, budget_item::Quantity);
  const int16_t ref = Get(b, budget_item::RefRecNo);
  long double unitPrice = 0, total = 0;
  switch (Get(b, budget_item::RefType)) {
    case budget_item::kRefAnalysis:
      if (!run.analyses.InRange(ref)) break;
      {
        const AnalysisRecord& a = run.analyses.Get(ref);
        unitPrice = Get(a, analysis::UnitPrice);
        total = BudgetItemTotal(run.basis, quantity, unitPrice);
        changed = SetChanged(b, budget_item::Description, TextOf(a, analysis::Description));
      }
      ExplodeAnalysis(run, ref, quantity);
      break;
    case budget_item::kRefSubcontract:
      if (!run.subcontracts.InRange(ref)) break;
      {
        SubcontractRecord& s = run.subcontracts.Get(ref);
        unitPrice = Get(s, subcontract::UnitPrice);
        total = BudgetItemTotal(run.basis, quantity, unitPrice);
        changed = SetChanged(b, budget_item::Description, TextOf(s, subcontract::Description));
        if (SetChanged(s, coded::CalcStamp, run.Generation())) run.subcontracts.Put(ref);
      }
      break;
    case budget_item::kRefGlobal:
      total = GlobalItemTotal(run.basis, quantity);
      break;
    default:
      break;
  }
  changed = SetChanged(b, budget_item::ItemUnitPrice, unitPrice) || changed;
  changed = SetChanged(b, budget_item::ItemTotal, total) || changed;
  return total;
}

// Before the budget stamps anything: the stamps of this generation that a
// stopped run left (it did not advance the serial) would pass for this
// run's, and mark as used what the budget may no longer use. They are read
// as 0 and stored so, unless this run stamps the record again.
void ClearStaleStamps(RunContext& run) {
  const int16_t g = run.Generation();
  LoadStamps(run);
  for (int r = 1; r < run.subcontracts.Count(); ++r) {
    SubcontractRecord& s = run.subcontracts.Get(r);
    if (Get(s, coded::CalcStamp) != g) continue;
    Set(s, coded::CalcStamp, int16_t{0});
    run.subcontracts.Put(r);
  }
}

void PriceBudget(RunContext& run) {
  const CalcStep step = CalcStep::kBudgetCalc;
  const int n = RecordsInUse(kAreaBudget);
  if (!run.plan.calcBudget || n == 0) return run.observer.StepSkipped(step);
  ClearStaleStamps(run);
  long double grandTotal = 0, chapterSum = 0;
  int openChapter = 0;  // record of the chapter being summed
  auto closeChapter = [&] {
    if (openChapter == 0) return;
    if (SetChanged(run.budget.Get(openChapter), budget_chapter::ChapterTotal, chapterSum))
      run.budget.Put(openChapter);
  };
  if (run.budgetKeyOrder.empty()) run.budgetKeyOrder = KeyOrder(kAreaBudget);
  int i = 0;
  for (const int16_t r : run.budgetKeyOrder) {
    if (!run.Before(step, ++i, n)) break;
    if (!run.budget.InRange(r)) continue;
    BudgetRecord& b = run.budget.Get(r);
    if (Get(b, coded::RecordStatus) != 0) continue;
    if (TextOf(b, coded::Code).size() == kChapterCodeLength) {
      closeChapter();
      openChapter = r;
      chapterSum = 0;
      continue;
    }
    bool changed = false;
    const long double total = PriceItem(run, b, changed);
    if (changed) run.budget.Put(r);
    chapterSum += total;
    grandTotal += total;
  }
  if (run.interrupted) return;
  closeChapter();
  run.budgetGrandTotal = grandTotal;
}

}  // namespace

void RunCalculation(RunContext& run) {
  PriceAnalyses(run);
  if (run.interrupted) return;
  PriceSubcontracts(run);
  if (run.interrupted || !run.plan.obra) return;
  PriceBudget(run);
}

}  // namespace vantu
