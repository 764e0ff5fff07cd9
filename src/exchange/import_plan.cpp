#include "exchange/import_plan.h"

#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "exchange/import_codes.h"
#include "records/analysis_records.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

constexpr int kMaxChapters = 99;
constexpr int kMaxBudgetItems = 999;

std::string ErrorAt(int line, const std::string& what) {
  return "linea " + std::to_string(line) + ": " + what;
}

long double Quantity(const Bc3Child& c) {
  return c.factor * c.yield;
}

class Planner {
 public:
  Planner(const Bc3Document& doc, const std::string& today, bool toPeso)
      : doc_(doc), today_(today), toPeso_(toPeso) {
    d_.concepts = doc.concepts;
    d_.order = doc.order;
    d_.heading = doc.heading;
  }

  PlanResult Run() {
    PlanResult r;
    for (const auto& step : {&Planner::CheckReferences, &Planner::CheckCycles, &Planner::FindRoot,
                             &Planner::PlanBudget, &Planner::PlanAnalyses}) {
      r.error = (this->*step)();
      if (!r.error.empty()) return r;
    }
    r.error = AssignCodes(d_, today_, r.plan);
    if (!r.error.empty()) return r;
    r.plan.adminPct = doc_.generalExpensesPct;
    r.plan.utilidadPct = doc_.profitPct;
    r.plan.notes.insert(r.plan.notes.begin(), notes_.begin(), notes_.end());
    for (const auto& [percent, count] : amountLines_)
      r.plan.notes.push_back("el porcentaje " + percent + " se lleva como una linea de su importe" +
                             " en " + std::to_string(count) + " analisis");
    for (const auto& [letter, count] : doc_.skipped)
      r.plan.notes.push_back("registros ~" + letter + " omitidos: " + std::to_string(count));
    if (doc_.ivaPct != 0)
      r.plan.notes.push_back("el IVA del archivo (" + std::to_string(doc_.ivaPct) +
                             "%) no se importa: revise los datos generales");
    return r;
  }

 private:
  bool Decomposed(const std::string& code) const {
    const auto d = doc_.decompositions.find(code);
    return d != doc_.decompositions.end() && !d->second.empty();
  }
  const std::vector<Bc3Child>& Children(const std::string& code) const {
    static const std::vector<Bc3Child> none;
    const auto d = doc_.decompositions.find(code);
    return d == doc_.decompositions.end() ? none : d->second;
  }
  const Bc3Concept& Concept(const std::string& code) const { return d_.concepts.at(code); }
  int LineOf(const std::string& parent) const { return doc_.decompositionLine.at(parent); }
  long double Round(long double x) const { return RoundMoneyAs(x, toPeso_); }

  // Every decomposition names defined concepts; a percentage may go
  // undefined, as some files leave it.
  std::string CheckReferences() {
    for (const auto& [parent, children] : doc_.decompositions) {
      if (!d_.concepts.count(parent))
        return ErrorAt(LineOf(parent),
                       "descomposicion del concepto " + parent + ", que no esta definido con ~C");
      for (const Bc3Child& c : children) {
        ++uses_[c.code];
        parentOf_[c.code] = parent;
        if (d_.concepts.count(c.code)) continue;
        if (c.code[0] != '%')
          return ErrorAt(c.line, "la descomposicion de " + parent + " usa el concepto " + c.code +
                                     ", que no esta definido");
        d_.concepts[c.code] = Bc3Concept{c.code, "%", c.code, "", "", 0, 0, 0};
      }
      if (!children.empty()) decomposed_.insert(parent);
    }
    return "";
  }

  std::string CheckCycles() {
    std::map<std::string, int> state;  // 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<std::string(const std::string&)> visit = [&](const std::string& code) {
      state[code] = 1;
      path.push_back(code);
      for (const Bc3Child& c : Children(code)) {
        if (state[c.code] == 1) {
          std::string chain;
          for (size_t i = 0; i < path.size(); ++i)
            if (!chain.empty() || path[i] == c.code) chain += path[i] + " > ";
          return ErrorAt(LineOf(code), "descomposicion circular: " + chain + c.code);
        }
        if (state[c.code] == 0) {
          const std::string e = visit(c.code);
          if (!e.empty()) return e;
        }
      }
      path.pop_back();
      state[code] = 2;
      return std::string();
    };
    for (const auto& [parent, children] : doc_.decompositions)
      if (state[parent] == 0) {
        const std::string e = visit(parent);
        if (!e.empty()) return e;
      }
    return "";
  }

  std::string FindRoot() {
    for (const std::string& code : doc_.order) {
      if (!IsBc3Root(code)) continue;
      if (d_.root.empty())
        d_.root = code;
      else
        notes_.push_back("la raiz " + code + " se omite: se importa la primera, " + d_.root);
    }
    if (!d_.root.empty()) return "";
    return "el archivo no tiene concepto raiz (un codigo terminado en ##): no hay presupuesto "
           "que importar";
  }

  std::string AddChapter(const std::string& code, const std::string& chapterCode) {
    d_.chapters.push_back({chapterCode, {}});
    const size_t at = d_.chapters.size() - 1;
    std::vector<const Bc3Child*> subChapters;
    for (const Bc3Child& c : Children(code)) {
      if (IsBc3Chapter(c.code)) {
        if (Quantity(c) != 1)
          return ErrorAt(c.line,
                         "el subcapitulo " + c.code + " lleva un rendimiento distinto de 1");
        subChapters.push_back(&c);
        continue;
      }
      if (IsBc3Percentage(Concept(c.code)))
        return ErrorAt(c.line, "el capitulo " + code + " lleva el porcentaje " + c.code +
                                   ", que un presupuesto no admite");
      if (!Decomposed(c.code)) d_.budgetLeaves.insert(c.code);
      d_.chapters[at].second.push_back(c);
    }
    for (const Bc3Child* s : subChapters) {
      const std::string e = AddChapter(s->code, s->code);
      if (!e.empty()) return e;
    }
    return "";
  }

  std::string PlanBudget() {
    std::vector<Bc3Child> loose;
    for (const Bc3Child& c : Children(d_.root)) {
      if (IsBc3Chapter(c.code)) {
        if (Quantity(c) != 1)
          return ErrorAt(c.line, "el capitulo " + c.code + " lleva un rendimiento distinto de 1");
        const std::string e = AddChapter(c.code, c.code);
        if (!e.empty()) return e;
      } else {
        loose.push_back(c);
      }
    }
    // Items straight under the root: a chapter named as the root.
    if (!loose.empty()) {
      d_.chapters.push_back({d_.root, loose});
      for (const Bc3Child& c : loose)
        if (!Decomposed(c.code)) d_.budgetLeaves.insert(c.code);
    }
    std::set<std::string> placed;
    for (const auto& chapter : d_.chapters) placed.insert(chapter.first);
    for (const std::string& code : doc_.order)
      if (IsBc3Chapter(code) && Decomposed(code) && !placed.count(code))
        notes_.push_back("el capitulo " + code + " no pertenece al presupuesto y se omite");
    if (d_.chapters.size() > kMaxChapters)
      return ErrorAt(LineOf(d_.root), "el presupuesto tiene " + std::to_string(d_.chapters.size()) +
                                          " capitulos y una Obra admite " +
                                          std::to_string(kMaxChapters));
    for (const auto& [code, items] : d_.chapters)
      if (items.size() > kMaxBudgetItems)
        return ErrorAt(LineOf(code),
                       "el capitulo " + code + " tiene " + std::to_string(items.size()) +
                           " partidas y un capitulo admite " + std::to_string(kMaxBudgetItems));
    return "";
  }

  // A part: used once, with yield 1, by an analysis; its lines end in its
  // only percentage. Labour alone with its percentage is labour with minor
  // tools; anything else, materials with waste.
  int PartSection(const std::string& code) const {
    if (IsBc3Root(code) || IsBc3Chapter(code) || uses_.count(code) == 0 || uses_.at(code) != 1)
      return 0;
    const std::string& parent = parentOf_.at(code);
    if (IsBc3Root(parent) || IsBc3Chapter(parent)) return 0;
    const std::vector<Bc3Child>& lines = Children(code);
    if (lines.size() < 2 || !IsBc3Percentage(Concept(lines.back().code))) return 0;
    bool anyLeaf = false, allLabour = true;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      const Bc3Concept& c = Concept(lines[i].code);
      if (IsBc3Percentage(c)) return 0;
      if (Decomposed(c.code)) continue;
      anyLeaf = true;
      allLabour = allLabour && c.type == 1;
    }
    return anyLeaf && allLabour ? 4 : 2;
  }

  void ChooseParts() {
    std::map<std::string, std::set<int>> kinds;  // parent -> sections folded into it
    for (const std::string& code : decomposed_) {
      const int section = PartSection(code);
      if (section == 0) continue;
      const std::string& parent = parentOf_.at(code);
      if (PartSection(parent) != 0) continue;
      bool unit = false;
      for (const Bc3Child& c : Children(parent))
        unit = unit || (c.code == code && Quantity(c) == 1);
      if (unit && kinds[parent].insert(section).second) {
        parts_[code] = section;
        d_.partOf[code] = parent;
      }
    }
  }

  // What the lines before `end` of a decomposition amount to at the file's
  // prices.
  long double AmountBefore(const std::vector<Bc3Child>& lines, size_t end) const {
    long double sum = 0;
    for (size_t i = 0; i < end; ++i)
      sum += Round(Concept(lines[i].code).price * Quantity(lines[i]));
    return sum;
  }

  static long double Percent(long double rate) { return std::round(rate * 1e8L) / 1e6L; }

  void AddLine(const Bc3Child& c, int section, bool fromPart, AnalysisDraft& d) {
    const bool nested = Decomposed(c.code);
    if (!nested) d_.inputs.insert(c.code);
    d.lines.push_back({c.code, nested ? LineType::kAnalysis : LineType::kInput, Quantity(c),
                       nested && !fromPart ? 3 : section, fromPart});
  }

  void FoldPart(const std::string& part, int section, AnalysisDraft& d) {
    const std::vector<Bc3Child>& lines = Children(part);
    for (size_t i = 0; i + 1 < lines.size(); ++i) AddLine(lines[i], section, true, d);
    const long double pct = Percent(Quantity(lines.back()));
    (section == 2 ? d.waste : d.tools) = pct;
    d_.foldedPercent[lines.back().code] = section;
  }

  // A percentage of the analysis's own lines: its waste or minor tools
  // when it closes lines of one such section, else a line of its amount.
  void Percentage(const std::string& code, size_t at, AnalysisDraft& d) {
    const std::vector<Bc3Child>& children = Children(code);
    const Bc3Child& c = children[at];
    const bool last = at + 1 == children.size();
    int section = 0;
    for (const AnalysisDraftLine& l : d.lines)
      section = (section == 0 || section == l.section) && !l.fromPart ? l.section : -1;
    if (last && ((section == 2 && d.waste == 0) || (section == 4 && d.tools == 0))) {
      (section == 2 ? d.waste : d.tools) = Percent(Quantity(c));
      d_.foldedPercent[c.code] = section;
      return;
    }
    d_.percentInputs.insert(c.code);
    const long double amount = Round(Quantity(c) * AmountBefore(children, at));
    d.lines.push_back({c.code, LineType::kInput, amount, 3, false});
    ++amountLines_[c.code];
  }

  std::string Draft(const std::string& code) {
    AnalysisDraft d;
    const std::vector<Bc3Child>& children = Children(code);
    for (size_t i = 0; i < children.size(); ++i) {
      const Bc3Child& c = children[i];
      if (IsBc3Percentage(Concept(c.code)))
        Percentage(code, i, d);
      else if (parts_.count(c.code))
        FoldPart(c.code, parts_.at(c.code), d);
      else
        AddLine(c, SectionOfType(Concept(c.code).type), false, d);
    }
    // A folded percentage covers its part's lines only: the others leave
    // its section.
    for (AnalysisDraftLine& l : d.lines)
      if (!l.fromPart && ((l.section == 2 && d.waste != 0) || (l.section == 4 && d.tools != 0)))
        l.section = 3;
    if (d.lines.size() > analysis::kLineSlots)
      return ErrorAt(LineOf(code),
                     "el concepto " + code + " tiene " + std::to_string(d.lines.size()) +
                         " lineas y un analisis admite " + std::to_string(analysis::kLineSlots));
    d_.analyses[code] = d;
    return "";
  }

  // Analyses after the ones they use.
  void Order(const std::string& code, std::set<std::string>& seen) {
    if (!seen.insert(code).second) return;
    for (const AnalysisDraftLine& l : d_.analyses.at(code).lines)
      if (l.type == LineType::kAnalysis) Order(l.bc3, seen);
    d_.writeOrder.push_back(code);
  }

  std::string PlanAnalyses() {
    ChooseParts();
    for (const std::string& code : doc_.order) {
      if (!Decomposed(code) || IsBc3Root(code) || IsBc3Chapter(code) || parts_.count(code))
        continue;
      const std::string e = Draft(code);
      if (!e.empty()) return e;
    }
    std::set<std::string> seen;
    for (const std::string& code : doc_.order)
      if (d_.analyses.count(code)) Order(code, seen);
    // Leaves the budget does not use, nor any analysis: the price base's
    // own inputs.
    for (const std::string& code : doc_.order) {
      const Bc3Concept& c = Concept(code);
      if (!Decomposed(code) && !uses_.count(code) && !IsBc3Root(code) && !IsBc3Chapter(code) &&
          !IsBc3Percentage(c))
        d_.inputs.insert(code);
    }
    return "";
  }

  const Bc3Document& doc_;
  ImportDraft d_;
  std::string today_;
  bool toPeso_;
  std::set<std::string> decomposed_;
  std::map<std::string, int> uses_;
  std::map<std::string, std::string> parentOf_;
  std::map<std::string, int> parts_;  // folded part -> its section
  std::vector<std::string> notes_;
  std::map<std::string, int> amountLines_;  // percentage -> analyses carrying its amount
};

}  // namespace

PlanResult PlanImport(const Bc3Document& doc, const std::string& today, bool toPeso) {
  return Planner(doc, today, toPeso).Run();
}

}  // namespace vantu
