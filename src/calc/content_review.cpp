// The content review: every record in use of the general data, the basic
// inputs, the analyses, the subcontracts and the budget is checked for
// missing data. A record that lacks something gets one error entry listing
// what it lacks (at most four items, in the order the checks run).
#include <string_view>
#include <utility>
#include <vector>

#include "calc/run_context.h"
#include "records/codes.h"
#include "records/usage_check.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

// Values of the review's "MissingItem" list.
enum Missing : uint8_t {
  kNoDescription = 0,
  kNoUnit = 1,
  kNoPrice = 2,
  kNoCosts = 3,
  kNoQuantityOrPrice = 4,
  kNoGroup = 5,
  kNoQuantities = 6,
  kNoRama = 7,
  kNoObra = 8,
  kNoReference = 9,
  kNoDate = 10,
  kNoCodes = 11,
  kNoGlobals = 12,
};

// TargetKind of the entries, also the area the review replays into.
constexpr uint8_t kTargetGeneral = 1;
constexpr uint8_t kNameChapter = 1;
constexpr uint8_t kNameItem = 2;
constexpr const char* kGeneralErrCode = " ---- ";

using MissingList = std::vector<uint8_t>;

// A text the user left empty: nothing, or blanks only.
bool Empty(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

void Check(bool lacking, Missing item, MissingList& out) {
  if (lacking && out.size() < errfile::kMaxMissing) out.push_back(item);
}

ErrorEntry ContentError(uint8_t kind, const std::string& code, uint8_t nameIndex,
                        MissingList missing) {
  ErrorEntry e;
  e.severity = kSevContent;
  e.targetKind = kind;
  e.errCode = code;
  e.nameIndex = nameIndex;
  e.missing = std::move(missing);
  return e;
}

void ReviewGeneral(RunContext& run) {
  const CalcStep step = CalcStep::kGeneralReview;
  if (!run.plan.reviewNeeded[1]) return run.observer.StepSkipped(step);
  if (!run.Before(step, 1, 1)) return;
  MissingList missing;
  Check(Empty(TextOf(run.general, general::RamaName)), kNoRama, missing);
  if (run.plan.obra) {
    const ObraHeader& h = run.obraHeader;
    Check(Empty(TextOf(h, obra_header::ObraName)), kNoObra, missing);
    Check(Empty(TextOf(h, obra_header::ObraReference)), kNoReference, missing);
    Check(!HasDate(Get(h, obra_header::BudgetDate)), kNoDate, missing);
  }
  if (!missing.empty())
    run.AddContentError(ContentError(kTargetGeneral, kGeneralErrCode, 0, std::move(missing)));
}

// Visits the records in use of an indexed area in key order and checks each
// with `check(record, isChapter, missing)`.
template <class R, class CheckFn>
void ReviewFile(RunContext& run, CalcStep step, int area, RecordCache<R>& cache, CheckFn check) {
  const int n = RecordsInUse(area);
  if (!run.plan.reviewNeeded[static_cast<size_t>(area)] || n == 0)
    return run.observer.StepSkipped(step);
  const bool resetStamps = run.plan.wrapped && area != kAreaBudget;
  std::vector<int16_t> order = KeyOrder(area);
  int i = 0;
  bool stopped = false;
  for (const int16_t r : order) {
    if (!run.Before(step, ++i, n)) {
      stopped = true;
      break;
    }
    if (!cache.InRange(r)) continue;
    R& rec = cache.Get(r);
    if (Get(rec, coded::RecordStatus) != 0) continue;
    const std::string_view code = TextOf(rec, coded::Code);
    const bool chapter = code.size() == kChapterCodeLength;
    MissingList missing;
    check(rec, chapter, missing);
    if (!missing.empty())
      run.AddContentError(ContentError(static_cast<uint8_t>(area), PadCode6(std::string(code)),
                                       chapter ? kNameChapter : kNameItem, std::move(missing)));
    if (resetStamps && SetChanged(rec, coded::CalcStamp, int16_t{0})) cache.Put(r);
  }
  if (area == kAreaBudget && !stopped) run.budgetKeyOrder = std::move(order);
}

bool GlobalLacking(RunContext& run, int16_t r) {
  if (!run.globals.InRange(r)) return true;
  const GlobalPriceRecord& g = run.globals.Get(r);
  return Get(g, global_price::RecordStatus) != 0 || Empty(TextOf(g, global_price::Description)) ||
         Get(g, global_price::GlobalPrice) == 0;
}

void CheckAnalysisLines(RunContext& run, const AnalysisRecord& a, MissingList& missing) {
  bool noQuantity = false, noGlobal = false;
  // The line's bytes in place: no copy of each of the 15 lines.
  for (int slot = 1; slot <= analysis::kLineSlots; ++slot) {
    const uint8_t* line = a.data() + analysis::Lines(slot).offset;
    const auto type = static_cast<LineType>(line[analysis_line::LineType.offset]);
    if ((type == LineType::kInput || type == LineType::kAnalysis) &&
        ReadExt(line + analysis_line::Quantity.offset) == 0)
      noQuantity = true;
    if (type == LineType::kGlobal && !noGlobal)
      noGlobal = GlobalLacking(run, GetI16(line + analysis_line::RefRecNo.offset));
  }
  Check(noQuantity, kNoQuantities, missing);
  Check(noGlobal, kNoGlobals, missing);
}

void CheckAnalysis(RunContext& run, const AnalysisRecord& a, bool chapter, MissingList& missing) {
  Check(Empty(TextOf(a, analysis::Description)), kNoDescription, missing);
  if (chapter) return;
  Check(Empty(TextOf(a, analysis::Unit)), kNoUnit, missing);
  bool anyLine = false;
  for (int g = 1; g <= analysis::kGroups; ++g)
    anyLine = anyLine || Get(a, analysis::GroupCount(g)) != 0;
  if (!anyLine)
    Check(true, kNoCosts, missing);
  else
    CheckAnalysisLines(run, a, missing);
}

void CheckSubcontract(const SubcontractRecord& s, bool chapter, MissingList& missing) {
  Check(Empty(TextOf(s, subcontract::Description)), kNoDescription, missing);
  if (chapter) return;
  Check(Empty(TextOf(s, subcontract::Unit)), kNoUnit, missing);
  Check(Get(s, subcontract::EquiposValue) == 0 && Get(s, subcontract::MaterialesValue) == 0 &&
            Get(s, subcontract::TransportesValue) == 0 && Get(s, subcontract::ManoDeObraValue) == 0,
        kNoCosts, missing);
}

void CheckBudget(const RunContext& run, const BudgetRecord& b, bool chapter, MissingList& missing) {
  if (chapter) {
    Check(Empty(TextOf(b, budget_chapter::Description)), kNoDescription, missing);
    return;
  }
  const bool byPliegos = Get(run.obraHeader, obra_header::UsePliegosCodes) != 0;
  Check(Empty(byPliegos ? TextOf(b, budget_item::PliegosCode) : TextOf(b, budget_item::RefCode)),
        kNoCodes, missing);
  Check(Empty(TextOf(b, budget_item::Description)), kNoDescription, missing);
  Check(Get(b, budget_item::PorDefinir) == 0 && Get(b, budget_item::Quantity) == 0,
        kNoQuantityOrPrice, missing);
}

}  // namespace

void RunContentReview(RunContext& run) {
  ReviewGeneral(run);
  ReviewFile(run, CalcStep::kInputsReview, kAreaInputs, run.inputs,
             [](const InputRecord& in, bool chapter, MissingList& missing) {
               Check(Empty(TextOf(in, input::Description)), kNoDescription, missing);
               if (chapter) {
                 Check(Get(in, input::Group) == 0, kNoGroup, missing);
                 return;
               }
               Check(Empty(TextOf(in, input::Unit)), kNoUnit, missing);
               Check(Get(in, input::Price) == 0, kNoPrice, missing);
             });
  ReviewFile(run, CalcStep::kAnalysesReview, kAreaAnalyses, run.analyses,
             [&run](const AnalysisRecord& a, bool chapter, MissingList& missing) {
               CheckAnalysis(run, a, chapter, missing);
             });
  ReviewFile(run, CalcStep::kSubcontractsReview, kAreaSubcontracts, run.subcontracts,
             CheckSubcontract);
  if (!run.plan.obra) return;
  ReviewFile(run, CalcStep::kBudgetReview, kAreaBudget, run.budget,
             [&run](const BudgetRecord& b, bool chapter, MissingList& missing) {
               CheckBudget(run, b, chapter, missing);
             });
}

}  // namespace vantu
