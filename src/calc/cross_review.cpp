// The cross review: every reference from an analysis line or a budget item
// to another record is followed and repaired where it can be; what cannot
// be followed is an error. Then the analyses that lie on a cycle of nested
// analyses, or lead into one, are reported.
//
// A reference keeps the referenced record's number, code and creation stamp.
// The record at that number is the one meant when its code or its stamp
// still match (a recodified record keeps its stamp); otherwise the code is
// looked up again (a record deleted and created anew keeps its code). The
// reference then takes the found record's number, code and stamp.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "calc/run_context.h"
#include "records/codes.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

constexpr uint8_t kNameInput = 2;
constexpr uint8_t kNameAnalysis = 3;
constexpr uint8_t kNameSubcontract = 4;
constexpr uint8_t kNameGlobal = 5;
constexpr uint8_t kVariantRemoved = 0;
constexpr uint8_t kVariantCircular = 1;
constexpr const char* kCircularDetails = "------";

struct Reference {
  std::string code;
  int16_t recNo = 0;
  long double stamp = 0;
};

int16_t LookUp(int area, const std::string& code) {
  const WorkArea& a = Area(area);
  if (code.empty() || static_cast<int>(code.size()) > a.KeyLength || !a.Index.File.isOpen) return 0;
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(area).Index, r, key);
  return LastOpOk() ? r : int16_t{0};
}

// Follows `ref` into the file of `area`; true when it holds. `changed` tells
// that the reference was repaired and its holder must be written back.
template <class R>
bool Follow(RecordCache<R>& file, int area, Reference& ref, bool& changed) {
  changed = false;
  if (!file.InRange(ref.recNo)) return false;
  int r = ref.recNo;
  {
    const R& there = file.Get(r);
    if (TextOf(there, coded::Code) != ref.code && Get(there, coded::RecordStamp) != ref.stamp) {
      r = LookUp(area, ref.code);
      if (!file.InRange(r)) return false;
    }
  }
  const R& found = file.Get(r);
  const std::string_view code = TextOf(found, coded::Code);
  const long double stamp = Get(found, coded::RecordStamp);
  if (r != ref.recNo || code != ref.code || stamp != ref.stamp) {
    ref = Reference{std::string(code), static_cast<int16_t>(r), stamp};
    changed = true;
  }
  return true;
}

// The common case, decided without building the reference: the record the
// holder (an analysis line, a budget item) names by its fields recNo, code
// and stamp still carries that code and stamp, so Follow would find it
// holding and unchanged.
template <class R, class H, class Tag>
bool StillHolds(RecordCache<R>& file, const H& holder, I16Field<Tag> recNo, StrField<Tag> code,
                ExtField<Tag> stamp) {
  const int16_t r = Get(holder, recNo);
  if (!file.InRange(r)) return false;
  const R& there = file.Get(r);
  return TextOf(there, coded::Code) == TextOf(holder, code) &&
         Get(there, coded::RecordStamp) == Get(holder, stamp);
}

// A record's stamp and code stand in its bytes as a line's RefStamp and
// RefCode stand in the line's: ten bytes of extended real, then the code
// with its length. Equal bytes mean the reference holds (when the stamp is
// a number: a NaN stamp never equals itself), and the comparison needs
// none of the referenced record but these bytes, kept side by side for all
// the records of the file so that a walk over many lines stays in the
// processor's caches.
constexpr int kRefKeyBytes = 17;
static_assert(analysis_line::RefCode.offset == analysis_line::RefStamp.offset + 10 &&
              analysis_line::RefCode.offset + 1 + analysis_line::RefCode.capacity ==
                  analysis_line::RefStamp.offset + kRefKeyBytes);
static_assert(coded::Code.offset == coded::RecordStamp.offset + 10 &&
              coded::Code.capacity == analysis_line::RefCode.capacity);

class RefKeys {
 public:
  template <class R>
  explicit RefKeys(RecordCache<R>& file) : keys_(static_cast<size_t>(file.Count())) {
    for (int r = 1; r < file.Count(); ++r)
      std::memcpy(keys_[static_cast<size_t>(r)].data(),
                  file.Get(r).data() + coded::RecordStamp.offset, kRefKeyBytes);
  }
  // True when the line at `line` names a record r (InRange) whose stamp and
  // code bytes are the line's; false says nothing.
  bool SameBytes(int r, const uint8_t* line) const {
    const uint8_t* ref = line + analysis_line::RefStamp.offset;
    const bool nan = (GetI16(ref + 8) & 0x7FFF) == 0x7FFF;
    return !nan && std::memcmp(keys_[static_cast<size_t>(r)].data(), ref, kRefKeyBytes) == 0;
  }

 private:
  std::vector<std::array<uint8_t, kRefKeyBytes>> keys_;
};

// The line in `slot` of analysis a holds a reference that needs no repair:
// the fast test of RefKeys, else the exact one.
template <class R>
bool LineHolds(RecordCache<R>& file, const RefKeys& keys, const AnalysisRecord& a, int slot) {
  const uint8_t* p = a.data() + analysis::Lines(slot).offset;
  const int16_t r = GetI16(p + analysis_line::RefRecNo.offset);
  if (!file.InRange(r)) return false;
  return keys.SameBytes(r, p) ||
         StillHolds(file, Get(a, analysis::Lines(slot)), analysis_line::RefRecNo,
                    analysis_line::RefCode, analysis_line::RefStamp);
}

ErrorEntry CrossError(uint8_t kind, const std::string& code, uint8_t nameIndex,
                      const std::string& details, uint8_t variant) {
  ErrorEntry e;
  e.severity = kSevCross;
  e.targetKind = kind;
  e.errCode = PadCode6(code);
  e.nameIndex = nameIndex;
  e.detailsText = details;
  e.variant = variant;
  return e;
}

std::string GlobalDetails(int16_t recNo) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d  ", recNo);
  return text;
}

// The global price of a type-5 line belongs to this analysis: same
// description. Its owner code follows the analysis's code.
bool FollowGlobal(RunContext& run, const AnalysisRecord& a, std::string_view code, int16_t recNo) {
  if (!run.globals.InRange(recNo)) return false;
  GlobalPriceRecord& g = run.globals.Get(recNo);
  if (TextOf(g, global_price::OwnerDescription) != TextOf(a, analysis::Description)) return false;
  if (TextOf(g, global_price::OwnerCode) != code) {
    Set(g, global_price::OwnerCode, code);
    run.globals.Put(recNo);
  }
  return true;
}

using Pairs = std::vector<std::pair<int16_t, int16_t>>;

// The stamps and codes of the records the analyses' lines refer to.
struct LineTargets {
  RefKeys inputs;
  RefKeys analyses;
};

// Checks the line in `slot` of analysis r, whose code is `code`; appends
// a nested analysis to `pairs`. True when the line was repaired.
bool CrossLine(RunContext& run, const LineTargets& keys, AnalysisRecord& a, int r,
               std::string_view code, int slot, Pairs& pairs) {
  const uint8_t* bytes = a.data() + analysis::Lines(slot).offset;
  const auto type = static_cast<LineType>(bytes[analysis_line::LineType.offset]);
  if (type == LineType::kInput && LineHolds(run.inputs, keys.inputs, a, slot)) return false;
  if (type == LineType::kGlobal) {
    const int16_t recNo = GetI16(bytes + analysis_line::RefRecNo.offset);
    if (!FollowGlobal(run, a, code, recNo))
      run.AddCrossError(CrossError(kAreaAnalyses, std::string(code), kNameGlobal,
                                   GlobalDetails(recNo), kVariantRemoved));
    return false;
  }
  if (type == LineType::kAnalysis && LineHolds(run.analyses, keys.analyses, a, slot)) {
    pairs.emplace_back(static_cast<int16_t>(r), GetI16(bytes + analysis_line::RefRecNo.offset));
    return false;
  }
  AnalysisLine line = Get(a, analysis::Lines(slot));
  Reference ref{Get(line, analysis_line::RefCode), Get(line, analysis_line::RefRecNo),
                Get(line, analysis_line::RefStamp)};
  bool ok = true, changed = false;
  if (type == LineType::kInput) {
    ok = Follow(run.inputs, kAreaInputs, ref, changed);
    if (!ok)
      run.AddCrossError(CrossError(kAreaAnalyses, std::string(code), kNameInput, ref.code + " ",
                                   kVariantRemoved));
  } else if (type == LineType::kAnalysis) {
    ok = Follow(run.analyses, kAreaAnalyses, ref, changed);
    if (!ok)
      run.AddCrossError(
          CrossError(kAreaAnalyses, std::string(code), kNameAnalysis, ref.code, kVariantRemoved));
    pairs.emplace_back(static_cast<int16_t>(r), ref.recNo);
  }
  if (!changed) return false;
  Set(line, analysis_line::RefCode, ref.code);
  Set(line, analysis_line::RefRecNo, ref.recNo);
  Set(line, analysis_line::RefStamp, ref.stamp);
  Set(a, analysis::Lines(slot), line);
  return true;
}

// Checks the lines of analysis r; appends its nested analyses to `pairs`.
// The lines, repaired, go into the calculation's line table on the way:
// the calculation then does not read them again.
void CrossAnalysis(RunContext& run, const LineTargets& keys, int r, Pairs& pairs) {
  AnalysisRecord& a = run.analyses.Get(r);
  const std::string_view code = TextOf(a, coded::Code);
  const bool decode = run.lines.Begin(run.analyses.Count(), r);
  const auto spans = SectionSpans(a);  // repairs change lines, not sections
  bool rewrite = false;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    const SectionSpan span = spans[static_cast<size_t>(g)];
    for (int slot = span.first; slot < span.end; ++slot) {
      rewrite = CrossLine(run, keys, a, r, code, slot, pairs) || rewrite;
      if (decode) run.lines.Add(a.data() + analysis::Lines(slot).offset, g);
    }
  }
  if (rewrite) run.analyses.Put(r);
}

}  // namespace

// The analyses on a cycle of nested analyses or leading into one: those
// from which the chain of nested references never ends. A pair whose
// referenced analysis references nothing is dropped, repeatedly, until
// every pair left points at an analysis that has pairs of its own; the
// referencing analyses of the pairs left are the ones reported, each once,
// in the order of the list.
std::vector<int16_t> CircularAnalyses(const Pairs& pairs) {
  constexpr size_t kNodes = size_t{1} << 16;
  auto node = [](int16_t r) { return static_cast<size_t>(static_cast<uint16_t>(r)); };
  std::vector<int> outDegree(kNodes, 0);
  std::vector<bool> alive(pairs.size(), false);
  // The live pairs by referenced analysis: those of analysis b are
  // into[first[b]] .. into[first[b + 1] - 1].
  std::vector<size_t> first(kNodes + 1, 0);
  for (size_t i = 0; i < pairs.size(); ++i) {
    if (pairs[i].first <= 0) continue;  // no referencing analysis
    alive[i] = true;
    ++outDegree[node(pairs[i].first)];
    ++first[node(pairs[i].second) + 1];
  }
  for (size_t b = 0; b < kNodes; ++b) first[b + 1] += first[b];
  std::vector<size_t> into(first[kNodes]);
  std::vector<size_t> next(first.begin(), first.end() - 1);
  for (size_t i = 0; i < pairs.size(); ++i)
    if (alive[i]) into[next[node(pairs[i].second)]++] = i;
  std::vector<size_t> ended;  // analyses from which no chain goes on
  for (size_t i = 0; i < pairs.size(); ++i)
    if (alive[i] && outDegree[node(pairs[i].second)] == 0) ended.push_back(node(pairs[i].second));
  std::vector<bool> done(kNodes, false);
  while (!ended.empty()) {
    const size_t b = ended.back();
    ended.pop_back();
    if (done[b]) continue;
    done[b] = true;
    for (size_t k = first[b]; k < first[b + 1]; ++k) {
      const size_t i = into[k];
      if (!alive[i]) continue;
      alive[i] = false;
      const size_t a = node(pairs[i].first);
      if (--outDegree[a] == 0) ended.push_back(a);
    }
  }
  std::vector<int16_t> out;
  for (size_t i = 0; i < pairs.size(); ++i)
    if (alive[i] && (out.empty() || out.back() != pairs[i].first)) out.push_back(pairs[i].first);
  return out;
}

namespace {

void CrossAnalyses(RunContext& run) {
  const CalcStep step = CalcStep::kAnalysesCross;
  if (!run.plan.crossNeeded[1] || RecordsInUse(kAreaAnalyses) == 0)
    return run.observer.StepSkipped(step);
  const int n = run.analyses.Count() - 1;
  const LineTargets keys{RefKeys(run.inputs), RefKeys(run.analyses)};
  Pairs pairs;
  for (int r = 1; r <= n; ++r) {
    if (!run.Before(step, r, n)) return;
    const AnalysisRecord& a = run.analyses.Get(r);
    if (Get(a, coded::RecordStatus) != 0 || TextOf(a, coded::Code).size() != kAnalysisCodeLength)
      continue;
    CrossAnalysis(run, keys, r, pairs);
  }
  for (int16_t r : CircularAnalyses(pairs)) {
    const std::string code = run.analyses.InRange(r) ? Get(run.analyses.Get(r), coded::Code) : "";
    run.AddCrossError(CrossError(kAreaAnalyses, code, 0, kCircularDetails, kVariantCircular));
  }
}

template <class R>
bool ItemHolds(RecordCache<R>& file, const BudgetRecord& item) {
  return StillHolds(file, item, budget_item::RefRecNo, budget_item::RefCode, budget_item::RefStamp);
}

void CrossBudget(RunContext& run) {
  const CalcStep step = CalcStep::kBudgetCross;
  if (!run.plan.crossNeeded[2] || RecordsInUse(kAreaBudget) == 0)
    return run.observer.StepSkipped(step);
  const int n = run.budget.Count() - 1;
  for (int r = 1; r <= n; ++r) {
    if (!run.Before(step, r, n)) return;
    BudgetRecord& item = run.budget.Get(r);
    const std::string_view code = TextOf(item, coded::Code);
    if (Get(item, coded::RecordStatus) != 0 || code.size() != kItemCodeLength) continue;
    const uint8_t type = Get(item, budget_item::RefType);
    if (type != budget_item::kRefAnalysis && type != budget_item::kRefSubcontract) continue;
    const bool toAnalysis = type == budget_item::kRefAnalysis;
    if (toAnalysis ? ItemHolds(run.analyses, item) : ItemHolds(run.subcontracts, item)) continue;
    Reference ref{Get(item, budget_item::RefCode), Get(item, budget_item::RefRecNo),
                  Get(item, budget_item::RefStamp)};
    bool changed = false;
    const bool ok = type == budget_item::kRefAnalysis
                        ? Follow(run.analyses, kAreaAnalyses, ref, changed)
                        : Follow(run.subcontracts, kAreaSubcontracts, ref, changed);
    if (!ok) {
      const bool analysis = type == budget_item::kRefAnalysis;
      run.AddCrossError(CrossError(kAreaBudget, std::string(code),
                                   analysis ? kNameAnalysis : kNameSubcontract,
                                   analysis ? ref.code : ref.code + " ", kVariantRemoved));
    } else if (changed) {
      Set(item, budget_item::RefCode, ref.code);
      Set(item, budget_item::RefRecNo, ref.recNo);
      Set(item, budget_item::RefStamp, ref.stamp);
      run.budget.Put(r);
    }
  }
}

}  // namespace

void RunCrossReview(RunContext& run) {
  if (run.interrupted) return;
  CrossAnalyses(run);
  if (run.interrupted || !run.plan.obra) return;
  CrossBudget(run);
}

}  // namespace vantu
