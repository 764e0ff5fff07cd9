#include "calc/cost_view.h"

#include <map>
#include <set>

#include "records/codes.h"
#include "session/preferences.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

bool InFile(int area, int r) {
  return Area(area).Data.isOpen && r > 0 && r < FileRecordCount(Area(area).Data);
}

struct Pricer {
  CostBasis basis = CurrentBasis();
  std::map<int, AnalysisView> done;
  std::set<int> pricing;

  AnalysisView Price(int r) {
    if (auto it = done.find(r); it != done.end()) return it->second;
    AnalysisView v;
    if (!InFile(kAreaAnalyses, r)) return v;
    if (pricing.count(r) != 0) {
      v.circular = true;
      return v;
    }
    AnalysisRecord a;
    GetRec(Area(kAreaAnalyses).Data, static_cast<int16_t>(r), a.data());
    if (Get(a, coded::RecordStatus) != 0 || Get(a, coded::Code).size() != kAnalysisCodeLength)
      return v;
    pricing.insert(r);
    v.priced = true;
    for (int g = 1; g <= analysis::kGroups; ++g) {
      const int first = SectionFirstSlot(a, g);
      for (int slot = first; slot < first + SectionLineCount(a, g); ++slot)
        v.groupSum[static_cast<size_t>(g)] += LineCost(Get(a, analysis::Lines(slot)), g, v);
    }
    pricing.erase(r);
    v.costs = AnalysisTotalsOf(basis, v.groupSum, a);
    return done[r] = v;
  }

  long double LineCost(const AnalysisLine& line, int g, AnalysisView& v) {
    const int16_t ref = Get(line, analysis_line::RefRecNo);
    const long double q = Get(line, analysis_line::Quantity);
    switch (static_cast<LineType>(Get(line, analysis_line::LineType))) {
      case LineType::kInput: {
        if (!InFile(kAreaInputs, ref)) break;
        InputRecord in;
        GetRec(Area(kAreaInputs).Data, ref, in.data());
        return InputLineCost(basis, g, Get(in, input::Price), q);
      }
      case LineType::kAnalysis: {
        const AnalysisView nested = Price(ref);
        v.circular = v.circular || nested.circular;
        v.priced = v.priced && nested.priced;
        return NestedLineCost(basis, q, nested.costs.directCost);
      }
      case LineType::kGlobal: {
        if (!InFile(kAreaGlobals, ref)) break;
        GlobalPriceRecord p;
        GetRec(Area(kAreaGlobals).Data, ref, p.data());
        return GlobalLineCost(basis, g, Get(p, global_price::GlobalPrice));
      }
      case LineType::kEmpty:
        break;
    }
    return 0;
  }
};

}  // namespace

CostBasis CurrentBasis() {
  GeneralDataRecord g;
  if (InFile(kAreaGeneral, 1)) GetRec(Area(kAreaGeneral).Data, 1, g.data());
  return BasisOf(g, Prefs().roundToPeso);
}

AnalysisView PriceAnalysisNow(int16_t r) {
  Pricer p;
  AnalysisView v = p.Price(r);
  if (v.circular) v.priced = false;
  return v;
}

SubcontractCosts PriceSubcontractNow(int16_t r) {
  if (!InFile(kAreaSubcontracts, r)) return {};
  SubcontractRecord s;
  GetRec(Area(kAreaSubcontracts).Data, r, s.data());
  if (Get(s, coded::RecordStatus) != 0 || Get(s, coded::Code).size() == kChapterCodeLength)
    return {};
  return SubcontractTotalsOf(CurrentBasis(), s);
}

}  // namespace vantu
