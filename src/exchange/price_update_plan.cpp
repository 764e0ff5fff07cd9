#include "exchange/price_update_plan.h"

#include <cctype>
#include <cstdio>

#include "estimating/subcontract_split.h"
#include "exchange/export_text.h"
#include "exchange/import_codes.h"
#include "records/codes.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

constexpr int kMaxChapter = 99;
constexpr int kMaxItem = 999;
constexpr int kItemStep = 10;
constexpr const char* kAnalysisKind = "analisis";
constexpr const char* kRepeated = "repetido en el banco";

std::string Digits(int n, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, n);
  return buf;
}

// "01010" -> 1 and 10; false for anything but a five-digit item code.
bool SplitItemCode(const std::string& code, int& chapter, int& item) {
  if (code.size() != 5) return false;
  for (const char c : code)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  chapter = std::stoi(code.substr(0, 2));
  item = std::stoi(code.substr(2));
  return chapter >= 1 && item >= 1;
}

std::string Upper(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Codes of one file (2 or 4): its chapters and the item numbers each uses.
class CodeSpace {
 public:
  void AddChapter(int chapter, int group) { chapters_[chapter] = group; }
  void Use(const std::string& code) {
    int chapter = 0, item = 0;
    if (SplitItemCode(code, chapter, item)) items_[chapter].insert(item);
  }
  bool Taken(int chapter, int item) const {
    const auto c = items_.find(chapter);
    return c != items_.end() && c->second.count(item);
  }
  bool HasChapter(int chapter) const { return chapters_.count(chapter) > 0; }
  int GroupOf(int chapter) const { return chapters_.at(chapter); }
  // The last chapter of the group (any group when `group` is -1), or 0.
  int LastChapter(int group) const {
    for (auto c = chapters_.rbegin(); c != chapters_.rend(); ++c)
      if (group < 0 || c->second == group) return c->first;
    return 0;
  }
  int NextChapter() const {
    int last = chapters_.empty() ? 0 : chapters_.rbegin()->first;
    if (!items_.empty()) last = std::max(last, items_.rbegin()->first);
    return last < kMaxChapter ? last + 1 : 0;
  }
  // Ten past the chapter's last item while there is room, else the next
  // number, else the first free one; 0 when the chapter is full.
  int NextItem(int chapter) const {
    const auto c = items_.find(chapter);
    const int last = c == items_.end() || c->second.empty() ? 0 : *c->second.rbegin();
    if (last + kItemStep <= kMaxItem) return last + kItemStep;
    if (last < kMaxItem) return last + 1;
    for (int n = 1; n <= kMaxItem; ++n)
      if (!Taken(chapter, n)) return n;
    return 0;
  }

 private:
  std::map<int, int> chapters_;  // chapter -> group (0 for subcontracts)
  std::map<int, std::set<int>> items_;
};

class Planner {
 public:
  Planner(const Bc3Document& bank, const RamaPrices& rama,
          const std::map<std::string, MappedCode>& mapping, const std::string& today)
      : bank_(bank), rama_(rama), mapping_(mapping), today_(today) {
    for (const auto& [code, group] : rama.inputChapters) inputs_.AddChapter(std::stoi(code), group);
    for (const auto& [code, unused] : rama.inputs) inputs_.Use(code);
    for (const std::string& code : rama.subcontractChapters) subs_.AddChapter(std::stoi(code), 0);
    for (const auto& [code, unused] : rama.subcontracts) subs_.Use(code);
    for (const auto& [parent, children] : bank.decompositions)
      if (IsBc3Root(parent) || IsBc3Chapter(parent))
        for (const Bc3Child& c : children) usedByChapter_.insert(c.code);
  }

  PriceUpdatePlan Run() {
    std::vector<size_t> fresh;  // rows of new items still without a code
    for (const std::string& code : bank_.order) {
      if (IsBc3Root(code) || IsBc3Chapter(code) || IsBc3Percentage(code)) continue;
      const size_t row = Concept(bank_.concepts.at(code));
      if (row != kNoRow) fresh.push_back(row);
    }
    for (const size_t row : fresh)
      if (plan_.error.empty()) Allocate(plan_.rows[row]);
    if (!plan_.error.empty()) return plan_;
    Missing(rama_.inputs, kInputKind);
    Missing(rama_.subcontracts, kSubcontractKind);
    return plan_;
  }

 private:
  static constexpr size_t kNoRow = static_cast<size_t>(-1);

  struct Match {
    std::string kind, code;
    bool exists = false;
  };

  bool Decomposed(const std::string& code) const {
    const auto d = bank_.decompositions.find(code);
    return d != bank_.decompositions.end() && !d->second.empty();
  }

  Match Find(const std::string& code) const {
    const auto m = mapping_.find(code);
    if (m != mapping_.end()) {
      const MappedCode& mc = m->second;
      if (mc.kind == kInputKind) return {kInputKind, mc.code, rama_.inputs.count(mc.code) > 0};
      if (mc.kind == kSubcontractKind)
        return {kSubcontractKind, mc.code, rama_.subcontracts.count(mc.code) > 0};
      if (mc.kind == kAnalysisKind) return {kAnalysisKind, mc.code, false};
    }
    if (rama_.inputs.count(code)) return {kInputKind, code, true};
    if (code.size() == 6 && code[0] == 'S' && rama_.subcontracts.count(code.substr(1)))
      return {kSubcontractKind, code.substr(1), true};
    return {};
  }

  PriceChange Row(const Bc3Concept& c, const std::string& kind, const std::string& code) const {
    PriceChange row;
    row.original = c.code;
    row.code = code;
    row.kind = kind;
    row.description = ConceptDescription(c);
    row.unit = ConceptUnit(c);
    row.newPrice = RoundCents(c.price);
    row.hasNew = true;
    row.date = PlanDate(c.date, today_);
    row.group = SectionOfType(c.type);
    return row;
  }

  size_t Push(PriceChange row) {
    plan_.rows.push_back(std::move(row));
    return plan_.rows.size() - 1;
  }

  // One concept of the bank: a row of the report; the row's number when
  // it is a new item that still needs a code.
  size_t Concept(const Bc3Concept& c) {
    const Match m = Find(c.code);
    if (m.kind == kAnalysisKind || (!m.exists && Decomposed(c.code))) {
      PriceChange row = Row(c, kAnalysisKind, m.kind == kAnalysisKind ? m.code : "");
      row.verdict = kNotApplied;
      row.note = "el banco lo descompone; los analisis de la Rama no cambian";
      return Push(row);
    }
    if (m.exists) {
      if (!matched_.insert(m.kind + m.code).second) {
        PriceChange row = Row(c, m.kind, m.code);
        row.verdict = kRepeated;
        row.note = "otro concepto del banco ya da su precio";
        return Push(row);
      }
      return Push(Update(c, m));
    }
    PriceChange row = Row(
        c, m.kind.empty() ? (usedByChapter_.count(c.code) ? kSubcontractKind : kInputKind) : m.kind,
        m.code);
    if (c.price <= 0) {
      row.code.clear();
      row.verdict = kUnpriced;
      row.note = "no se agrega";
      return Push(row);
    }
    row.verdict = kAdded;
    row.values[static_cast<size_t>(row.group - 1)] = row.newPrice;
    if (!row.code.empty() && !Reserve(row)) row.code.clear();
    return Push(row);
  }

  PriceChange Update(const Bc3Concept& c, const Match& m) {
    const bool sub = m.kind == kSubcontractKind;
    const RamaPrice& was = sub ? rama_.subcontracts.at(m.code) : rama_.inputs.at(m.code);
    PriceChange row = Row(c, m.kind, m.code);
    row.description = was.description;
    row.oldPrice = was.price;
    row.hasOld = true;
    if (Upper(Trimmed(was.unit)) != Upper(Trimmed(c.unit)) && !c.unit.empty())
      row.note = "unidad en el banco: " + c.unit + ", en la Rama: " + was.unit;
    if (Decomposed(c.code))
      row.note += std::string(row.note.empty() ? "" : "; ") +
                  "el banco lo descompone: se toma solo su precio";
    if (c.price <= 0) {
      row.verdict = kUnpriced;
      row.hasNew = false;
      row.newPrice = 0;
      return row;
    }
    row.verdict = row.newPrice == row.oldPrice ? kSame : kChanged;
    row.values = was.values;  // what a rewrite of an unchanged price keeps
    if (sub && row.verdict == kChanged) {
      GroupAmounts shares = SharesOf(was.values);
      if (was.price <= 0) shares[static_cast<size_t>(row.group - 1)] = 100;
      row.values = SplitDirectCost(shares, row.newPrice);
    }
    return row;
  }

  // A code the mapping already gave a new item, kept when its chapter is
  // there for it (or can be added) and it is free.
  bool Reserve(PriceChange& row) {
    const bool sub = row.kind == kSubcontractKind;
    CodeSpace& space = sub ? subs_ : inputs_;
    int chapter = 0, item = 0;
    if (!SplitItemCode(row.code, chapter, item) || space.Taken(chapter, item)) return false;
    if (!space.HasChapter(chapter))
      AddChapter(space, chapter, sub ? 0 : row.group, sub);
    else if (!sub && space.GroupOf(chapter) != row.group)
      return false;
    space.Use(row.code);
    return true;
  }

  void AddChapter(CodeSpace& space, int chapter, int group, bool sub) {
    space.AddChapter(chapter, group);
    plan_.chapters.push_back({Digits(chapter, 2), group, sub});
  }

  void Allocate(PriceChange& row) {
    if (row.verdict != kAdded) return;
    const bool sub = row.kind == kSubcontractKind;
    if (row.code.empty()) {
      CodeSpace& space = sub ? subs_ : inputs_;
      const int want = sub ? -1 : row.group;
      int chapter = space.LastChapter(want);
      int item = chapter ? space.NextItem(chapter) : 0;
      if (item == 0) {
        chapter = space.NextChapter();
        if (chapter == 0) {
          plan_.error = sub ? "no quedan capitulos de subcontratos para los nuevos"
                            : "no quedan capitulos de insumos para el grupo " +
                                  std::string(GroupName(row.group));
          return;
        }
        AddChapter(space, chapter, sub ? 0 : row.group, sub);
        item = kItemStep;
      }
      row.code = Digits(chapter, 2) + Digits(item, 3);
      space.Use(row.code);
    }
    const auto m = mapping_.find(row.original);
    if (m == mapping_.end() || m->second.code != row.code || m->second.kind != row.kind)
      plan_.newMappings.push_back({row.original, row.code, row.kind, row.description});
  }

  void Missing(const std::map<std::string, RamaPrice>& items, const char* kind) {
    for (const auto& [code, p] : items) {
      if (matched_.count(kind + code)) continue;
      PriceChange row;
      row.code = code;
      row.kind = kind;
      row.verdict = kMissing;
      row.description = p.description;
      row.unit = p.unit;
      row.oldPrice = p.price;
      row.hasOld = true;
      plan_.rows.push_back(row);
    }
  }

  const Bc3Document& bank_;
  const RamaPrices& rama_;
  const std::map<std::string, MappedCode>& mapping_;
  std::string today_;
  CodeSpace inputs_, subs_;
  std::set<std::string> usedByChapter_, matched_;  // matched_: kind + code
  PriceUpdatePlan plan_;
};

}  // namespace

int PriceUpdatePlan::Count(const char* verdict) const {
  int n = 0;
  for (const PriceChange& r : rows) n += r.verdict == verdict;
  return n;
}

PriceUpdatePlan PlanPriceUpdate(const Bc3Document& bank, const RamaPrices& rama,
                                const std::map<std::string, MappedCode>& mapping,
                                const std::string& today) {
  return Planner(bank, rama, mapping, today).Run();
}

}  // namespace vantu
