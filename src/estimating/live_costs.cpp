#include "estimating/live_costs.h"

#include <map>
#include <set>

#include "records/codes.h"
#include "records/general_record.h"
#include "session/preferences.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

// Nesting deeper than this is taken for a cycle.
constexpr int kMaxNesting = 256;

bool InFile(int area, int16_t r) {
  return Area(area).Data.isOpen && r >= 1 && r < FileRecordCount(Area(area).Data);
}

template <class R>
R ReadRecord(int area, int16_t r) {
  R rec;
  if (InFile(area, r)) GetRec(Area(area).Data, r, rec.data());
  return rec;
}

class Pricer {
 public:
  explicit Pricer(CostBasis basis) : basis_(basis) {}

  AnalysisCosts Price(const AnalysisRecord& a, int16_t ownRecNo,
                      const std::array<long double, 16>* globals, int depth) {
    if (ownRecNo > 0) pricing_.insert(ownRecNo);
    std::array<long double, 5> sum{};
    for (int g = 1; g <= analysis::kGroups; ++g) {
      const int first = SectionFirstSlot(a, g);
      for (int i = 0; i < SectionLineCount(a, g); ++i) {
        const int slot = first + i;
        sum[static_cast<size_t>(g)] += LineCost(Get(a, analysis::Lines(slot)), g,
                                                globals ? &(*globals)[slot] : nullptr, depth);
      }
    }
    if (ownRecNo > 0) pricing_.erase(ownRecNo);
    return AnalysisTotalsOf(basis_, sum, a);
  }

  bool circular = false;

 private:
  long double LineCost(const AnalysisLine& line, int group, const long double* globalPrice,
                       int depth) {
    const int16_t ref = Get(line, analysis_line::RefRecNo);
    const long double q = Get(line, analysis_line::Quantity);
    switch (static_cast<LineType>(Get(line, analysis_line::LineType))) {
      case LineType::kInput:
        if (!InFile(kAreaInputs, ref)) return 0;
        return InputLineCost(basis_, group,
                             Get(ReadRecord<InputRecord>(kAreaInputs, ref), input::Price), q);
      case LineType::kAnalysis:
        return NestedLineCost(basis_, q, NestedDirect(ref, depth));
      case LineType::kGlobal:
        if (globalPrice) return GlobalLineCost(basis_, group, *globalPrice);
        if (!InFile(kAreaGlobals, ref)) return 0;
        return GlobalLineCost(
            basis_, group,
            Get(ReadRecord<GlobalPriceRecord>(kAreaGlobals, ref), global_price::GlobalPrice));
      default:
        return 0;
    }
  }

  long double NestedDirect(int16_t ref, int depth) {
    if (!InFile(kAreaAnalyses, ref)) return 0;
    if (auto it = priced_.find(ref); it != priced_.end()) return it->second;
    if (pricing_.count(ref) != 0 || depth >= kMaxNesting) {
      circular = true;
      return 0;
    }
    const AnalysisRecord nested = ReadRecord<AnalysisRecord>(kAreaAnalyses, ref);
    if (Get(nested, coded::RecordStatus) != 0 || IsChapterCode(Get(nested, coded::Code))) return 0;
    const long double direct = Price(nested, ref, nullptr, depth + 1).directCost;
    priced_[ref] = direct;
    return direct;
  }

  CostBasis basis_;
  std::set<int16_t> pricing_;
  std::map<int16_t, long double> priced_;
};

}  // namespace

CostBasis LiveBasis() {
  GeneralDataRecord g;
  if (Area(kAreaGeneral).Data.isOpen && FileRecordCount(Area(kAreaGeneral).Data) > 1)
    GetRec(Area(kAreaGeneral).Data, 1, g.data());
  return BasisOf(g, Prefs().roundToPeso);
}

LiveAnalysisCosts PriceAnalysis(const AnalysisRecord& a, int16_t ownRecNo,
                                const std::array<long double, 16>* globalPrices) {
  Pricer pricer(LiveBasis());
  LiveAnalysisCosts out;
  out.costs = pricer.Price(a, ownRecNo, globalPrices, 0);
  out.circular = pricer.circular;
  return out;
}

SubcontractCosts PriceSubcontract(const SubcontractRecord& s) {
  return SubcontractTotalsOf(LiveBasis(), s);
}

}  // namespace vantu
