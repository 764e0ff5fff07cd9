// File 3, the unit price analyses, and file 5, the global prices their
// lines use.
//
// Every analysis has the default sections (3, 6, 2 and 4 slots): equipment
// inputs and its global prices in the first, materials and nested analyses
// in the second, transport in the third, labour in the fourth. The mixes of
// chapter 01 use no other analysis; a later analysis nests only analyses
// that are at most one level deep, so nesting never exceeds two levels.
#include <algorithm>
#include <cmath>

#include "dataset_builder.h"
#include "toolkit/numbers.h"

namespace vantu::dataset {

namespace {

struct LineWriter {
  Builder& b;
  AnalysisRecord& a;
  int group = 0;
  int slot = 0;  // next free slot of the section
  int count = 0;
  int room = 0;

  void Begin(int g) {
    group = g;
    slot = SectionFirstSlot(a, g);
    count = 0;
    room = Get(a, analysis::GroupRows(g));
  }
  bool Full() const { return count >= room; }
  void Put(LineType type, long double stamp, const std::string& code, int16_t recNo,
           long double quantity) {
    AnalysisLine line{};
    Set(line, analysis_line::LineType, static_cast<uint8_t>(type));
    Set(line, analysis_line::RefStamp, stamp);
    Set(line, analysis_line::RefCode, code);
    Set(line, analysis_line::RefRecNo, recNo);
    Set(line, analysis_line::Quantity, quantity);
    Set(a, analysis::Lines(slot + count), line);
    Set(a, analysis::GroupCount(group), static_cast<uint8_t>(++count));
  }
  bool Uses(LineType type, int16_t recNo) const {
    for (int s = slot; s < slot + count; ++s) {
      const AnalysisLine line = Get(a, analysis::Lines(s));
      if (Get(line, analysis_line::LineType) == static_cast<uint8_t>(type) &&
          Get(line, analysis_line::RefRecNo) == recNo)
        return true;
    }
    return false;
  }
};

void PutInputs(LineWriter& w, int want) {
  const auto& pool = w.b.inputsOfGroup[static_cast<size_t>(w.group)];
  for (int i = 0; i < want && !w.Full(); ++i) {
    const int16_t n = pool[static_cast<size_t>(w.b.Below(static_cast<int>(pool.size())))];
    if (w.Uses(LineType::kInput, n)) continue;
    const InputRecord& in = w.b.inputs[static_cast<size_t>(n - 1)];
    const InputEntry& e = *w.b.inputEntry[static_cast<size_t>(n - 1)];
    w.Put(LineType::kInput, Get(in, coded::RecordStamp), Get(in, coded::Code), n,
          Decimals(w.b.Between(e.minQuantity, e.maxQuantity), 4));
  }
}

// Nests up to `want` earlier analyses; returns the depth they add.
int PutNested(LineWriter& w, int want) {
  Builder& b = w.b;
  int depth = 0;
  for (int i = 0; i < want && !w.Full() && !b.analysisItems.empty(); ++i) {
    const int16_t n =
        b.analysisItems[static_cast<size_t>(b.Below(static_cast<int>(b.analysisItems.size())))];
    const int nestedDepth = b.analysisDepth[static_cast<size_t>(n - 1)];
    if (nestedDepth > 1 || w.Uses(LineType::kAnalysis, n)) continue;
    const AnalysisRecord& nested = b.analyses[static_cast<size_t>(n - 1)];
    w.Put(LineType::kAnalysis, Get(nested, coded::RecordStamp), Get(nested, coded::Code), n,
          Decimals(b.Between(0.01, 1.2), 4));
    depth = std::max(depth, nestedDepth + 1);
  }
  return depth;
}

void PutGlobal(LineWriter& w) {
  Builder& b = w.b;
  const auto names = GlobalPriceNames();
  const int k = static_cast<int>(b.globals.size());
  const auto n = static_cast<int16_t>(k + 1);
  GlobalPriceRecord p{};
  Set(p, global_price::RecordStatus, int16_t{0});
  Set(p, global_price::OwnRecNo, n);
  Set(p, global_price::NextFree, int16_t{0});
  Set(p, global_price::PriceDate, b.Date());
  Set(p, global_price::InUseMarker, uint8_t{1});
  Set(p, global_price::Description,
      VariantName(names[static_cast<size_t>(k) % names.size()],
                  k / static_cast<int>(names.size())));
  Set(p, global_price::OwnerCode, Get(w.a, coded::Code));
  Set(p, global_price::OwnerDescription, Get(w.a, analysis::Description));
  Set(p, global_price::GlobalPrice, Cents(std::round(b.Between(5e4, 3e6) / 1000) * 1000));
  PutRec(Area(5).Data, n, p.data());
  b.globals.push_back(p);
  w.Put(LineType::kGlobal, 0, std::string(kGlobalCode), n, 1);
}

// Fills the four sections; returns the analysis's nesting depth.
int FillLines(Builder& b, AnalysisRecord& a, bool mayNest, int globals) {
  SetDefaultSections(a);
  LineWriter w{b, a};
  w.Begin(1);
  PutInputs(w, std::max(1, 1 + b.Below(2) - globals));
  for (int i = 0; i < globals; ++i) PutGlobal(w);
  w.Begin(2);
  PutInputs(w, 2 + b.Below(3));
  const int depth = mayNest ? PutNested(w, b.Below(3)) : 0;
  w.Begin(3);
  PutInputs(w, 1 + b.Below(2));
  w.Begin(4);
  PutInputs(w, 1 + b.Below(3));
  return depth;
}

}  // namespace

void WriteAnalyses(Builder& b) {
  const ChapterPlan plan = PlanChapters(b.shape.analysisRecords, 40, 9999, 1);
  const auto themes = AnalysisThemes();
  const int works = static_cast<int>(themes.size()) - 1;  // the themes after the mixes
  int itemCount = 0;
  for (int count : plan.items) itemCount += count;
  const long long globals = b.shape.globalRecords;
  int k = 0;  // analyses written so far
  for (size_t c = 0; c < plan.items.size(); ++c) {
    const int chapter = static_cast<int>(c) + 1;
    const int theme = c == 0 ? 0 : 1 + static_cast<int>(c - 1) % works;
    const int round = c == 0 ? 0 : static_cast<int>(c - 1) / works;
    const auto& acts = themes[static_cast<size_t>(theme)].activities;
    AnalysisRecord ch{};
    InitCodedRecord(ch, ChapterCode(chapter));
    Set(ch, analysis::Description, VariantName(themes[static_cast<size_t>(theme)].chapter, round));
    AddCoded(3, ch);
    b.analyses.push_back(ch);
    b.analysisDepth.push_back(-1);
    for (int i = 0; i < plan.items[c]; ++i, ++k) {
      const ActivityEntry& e = acts[static_cast<size_t>(i) % acts.size()];
      AnalysisRecord a{};
      InitCodedRecord(a, ItemCode(chapter, plan.step[c] * (i + 1), 4));
      Set(a, coded::CreatedDate, b.Date());
      Set(a, analysis::Description,
          VariantName(e.description, round + i / static_cast<int>(acts.size())));
      Set(a, analysis::Unit, e.unit);
      Set(a, analysis::HerramientaMenorPct, Decimals(b.Between(3, 10), 2));
      Set(a, analysis::DesperdicioPct, Decimals(b.Between(2, 8), 2));
      // Global lines spread evenly: at most two per analysis.
      const int here = static_cast<int>((k + 1) * globals / itemCount - k * globals / itemCount);
      const int depth = FillLines(b, a, c != 0, here);
      const int16_t n = AddCoded(3, a);
      b.analyses.push_back(a);
      b.analysisDepth.push_back(static_cast<int8_t>(depth));
      b.analysisItems.push_back(n);
    }
  }
  b.summary.chapters[3] = static_cast<int>(plan.items.size());
}

}  // namespace vantu::dataset
