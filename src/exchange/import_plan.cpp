#include "exchange/import_plan.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "exchange/export_text.h"
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
      if (r.error.empty()) r.error = unpriced_;
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
      r.plan.notes.push_back("registros ~" + letter + " omitidos: " + std::to_string(count) +
                             CodeList(doc_.skippedCodes.at(letter)));
    r.plan.notes.insert(r.plan.notes.begin(), doc_.warnings.begin(), doc_.warnings.end());
    const Bc3Concept& root = Concept(d_.root);
    r.plan.rootCode = d_.root;
    r.plan.statedTotal = root.price;
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

  // " (A, B, ...)": the first codes of a list.
  static std::string CodeList(const std::vector<std::string>& codes) {
    std::string text;
    for (size_t i = 0; i < codes.size() && i < 10; ++i) text += (i ? ", " : "") + codes[i];
    if (codes.size() > 10) text += " y " + std::to_string(codes.size() - 10) + " mas";
    return text.empty() ? "" : " (" + text + ")";
  }

  // A leaf used by `user` without a price: the set would be refused by the
  // program's own review, so the file is, naming the concept.
  void NeedsPrice(const std::string& code, const std::string& user) {
    const Bc3Concept& c = Concept(code);
    if (c.price != 0 || !unpriced_.empty()) return;
    unpriced_ = ErrorAt(c.line, "el concepto " + code + " no tiene precio y lo usa " + user +
                                    ": un insumo o subcontrato sin precio no se admite");
  }

  void Finding(const std::string& text) { notes_.push_back(text); }

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
        if (!IsBc3Percentage(c.code))
          return ErrorAt(c.line, "la descomposicion de " + parent + " usa el concepto " + c.code +
                                     ", que no esta definido");
        d_.concepts[c.code] = Bc3Concept{c.code, "%", c.code, "", "", 0, 0, 0};
      }
      if (!children.empty()) decomposed_.insert(parent);
    }
    return "";
  }

  // Depth first on an explicit stack: a chain as deep as the file is long
  // cannot exhaust the program's own stack.
  std::string CheckCycles() {
    struct Frame {
      std::string code;
      size_t next = 0;
    };
    std::map<std::string, int> state;  // 1 on the path, 2 done
    for (const auto& [start, unused] : doc_.decompositions) {
      if (state[start] != 0) continue;
      std::vector<Frame> path{{start, 0}};
      state[start] = 1;
      while (!path.empty()) {
        Frame& f = path.back();
        const std::vector<Bc3Child>& children = Children(f.code);
        if (f.next == children.size()) {
          state[f.code] = 2;
          path.pop_back();
          continue;
        }
        const Bc3Child& c = children[f.next++];
        int& s = state[c.code];
        if (s == 1)
          return ErrorAt(LineOf(f.code), "descomposicion circular: " + Chain(path, c.code));
        if (s == 0) {
          s = 1;
          path.push_back({c.code, 0});
        }
      }
    }
    return "";
  }

  // "A > B > A", from where the cycle starts; a long one keeps its ends.
  template <class Frame>
  static std::string Chain(const std::vector<Frame>& path, const std::string& again) {
    std::vector<std::string> chain;
    for (const Frame& f : path)
      if (!chain.empty() || f.code == again) chain.push_back(f.code);
    chain.push_back(again);
    std::string text;
    for (size_t i = 0; i < chain.size(); ++i) {
      if (chain.size() > 12 && i == 5) {
        text += "... > ";
        i = chain.size() - 6;
      }
      text += chain[i] + (i + 1 < chain.size() ? " > " : "");
    }
    return text;
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

  // A chapter, then its sub-chapters in their order, each a chapter of its
  // own: on an explicit stack, and stopped as soon as there are more than an
  // Obra holds (chapters shared by several parents could multiply).
  std::string AddChapter(const std::string& top) {
    std::vector<std::string> pending{top};
    while (!pending.empty()) {
      const std::string code = pending.back();
      pending.pop_back();
      if (d_.chapters.size() == kMaxChapters) return TooManyChapters();
      d_.chapters.push_back({code, {}});
      const size_t at = d_.chapters.size() - 1;
      std::vector<std::string> subChapters;
      for (const Bc3Child& c : Children(code)) {
        if (IsBc3Chapter(c.code)) {
          if (Quantity(c) != 1)
            return ErrorAt(c.line,
                           "el subcapitulo " + c.code + " lleva un rendimiento distinto de 1");
          subChapters.push_back(c.code);
          continue;
        }
        if (IsBc3Percentage(c.code))
          return ErrorAt(c.line, "el capitulo " + code + " lleva el porcentaje " + c.code +
                                     ", que un presupuesto no admite");
        if (!Decomposed(c.code)) {
          d_.budgetLeaves.insert(c.code);
          NeedsPrice(c.code, code);
        }
        d_.chapters[at].second.push_back(c);
      }
      pending.insert(pending.end(), subChapters.rbegin(), subChapters.rend());
    }
    return "";
  }

  std::string TooManyChapters() const {
    return ErrorAt(LineOf(d_.root), "el presupuesto tiene mas de " + std::to_string(kMaxChapters) +
                                        " capitulos y una Obra admite " +
                                        std::to_string(kMaxChapters));
  }

  // A budget line measured in ~M takes the measurement as its quantity; one
  // that disagrees with the line's yield is said, and one that names no
  // line of the budget is left aside and said. A concept on several lines
  // of one chapter is told apart by the measurement's position, else its
  // measurements go to its lines in order.
  void ApplyMeasurements() {
    std::set<std::pair<size_t, size_t>> done;  // chapter, line
    for (const Bc3Measurement& m : doc_.measurements) {
      const std::string at = "linea " + std::to_string(m.line) + ": la medicion de " + m.child;
      std::pair<size_t, size_t> target{d_.chapters.size(), 0};
      for (size_t ch = 0; ch < d_.chapters.size() && target.first == d_.chapters.size(); ++ch) {
        const auto& [chapter, children] = d_.chapters[ch];
        if (!m.parent.empty() && m.parent != chapter) continue;
        const size_t p = static_cast<size_t>(m.position);
        if (p >= 1 && p <= children.size() && children[p - 1].code == m.child &&
            !done.count({ch, p - 1})) {
          target = {ch, p - 1};
          break;
        }
        for (size_t k = 0; k < children.size(); ++k)
          if (children[k].code == m.child && !done.count({ch, k})) {
            target = {ch, k};
            break;
          }
      }
      if (target.first == d_.chapters.size()) {
        Finding(at + " no es de ninguna partida del presupuesto: se omite");
        continue;
      }
      done.insert(target);
      auto& [chapter, children] = d_.chapters[target.first];
      Bc3Child& c = children[target.second];
      const long double yield = Quantity(c);
      if (std::fabs(yield - m.total) > 1e-9L * std::max(1.0L, std::fabs(m.total)))
        Finding(at + " en " + chapter + " suma " + DecimalText(m.total, 6, true) +
                " y la descomposicion le da " + DecimalText(yield, 6, true) +
                ": se toma la medicion");
      c.factor = 1;
      c.yield = m.total;
      d_.measured[{chapter, target.second}] =
          std::to_string(m.lines) + " lineas de medicion, " + DecimalText(m.total, 6, true);
    }
  }

  std::string PlanBudget() {
    std::vector<Bc3Child> loose;
    for (const Bc3Child& c : Children(d_.root)) {
      if (IsBc3Chapter(c.code)) {
        if (Quantity(c) != 1)
          return ErrorAt(c.line, "el capitulo " + c.code + " lleva un rendimiento distinto de 1");
        const std::string e = AddChapter(c.code);
        if (!e.empty()) return e;
      } else {
        loose.push_back(c);
      }
    }
    // Items straight under the root: a chapter named as the root.
    if (!loose.empty()) {
      if (d_.chapters.size() == kMaxChapters) return TooManyChapters();
      d_.chapters.push_back({d_.root, loose});
      for (const Bc3Child& c : loose)
        if (!Decomposed(c.code)) {
          d_.budgetLeaves.insert(c.code);
          NeedsPrice(c.code, d_.root);
        }
    }
    ApplyMeasurements();
    std::set<std::string> placed;
    for (const auto& chapter : d_.chapters) placed.insert(chapter.first);
    for (const std::string& code : doc_.order)
      if (IsBc3Chapter(code) && Decomposed(code) && !placed.count(code))
        notes_.push_back("el capitulo " + code + " no pertenece al presupuesto y se omite");
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
    if (lines.size() < 2 || !IsBc3Percentage(lines.back().code)) return 0;
    bool anyLeaf = false, allLabour = true;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      const Bc3Concept& c = Concept(lines[i].code);
      if (IsBc3Percentage(c.code)) return 0;
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

  // A line of no yield adds nothing and the program takes no line without
  // a quantity: it is left out, and said.
  void AddLine(const std::string& parent, const Bc3Child& c, int section, bool fromPart,
               AnalysisDraft& d) {
    if (Quantity(c) == 0) {
      Finding("linea " + std::to_string(c.line) + ": rendimiento cero de " + c.code +
              " en la descomposicion de " + parent + ": la linea se omite");
      return;
    }
    const bool nested = Decomposed(c.code);
    if (!nested) {
      d_.inputs.insert(c.code);
      NeedsPrice(c.code, parent);
    }
    d.lines.push_back({c.code, nested ? LineType::kAnalysis : LineType::kInput, Quantity(c),
                       nested && !fromPart ? 3 : section, fromPart});
  }

  void FoldPart(const std::string& part, int section, AnalysisDraft& d) {
    const std::vector<Bc3Child>& lines = Children(part);
    for (size_t i = 0; i + 1 < lines.size(); ++i) AddLine(part, lines[i], section, true, d);
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
    const long double exact = Quantity(c) * AmountBefore(children, at);
    const long double amount = Round(exact);
    if (amount == 0) {
      if (exact != 0)
        Finding("linea " + std::to_string(c.line) + ": el porcentaje " + c.code + " de " + code +
                " da " + std::to_string(static_cast<double>(exact)) +
                ", que se redondea a 0: la linea se omite");
      else
        Finding("linea " + std::to_string(c.line) + ": el porcentaje " + c.code + " de " + code +
                " no suma nada: la linea se omite");
      return;
    }
    d_.percentInputs.insert(c.code);
    d.lines.push_back({c.code, LineType::kInput, amount, 3, false});
    ++amountLines_[c.code];
  }

  std::string Draft(const std::string& code) {
    AnalysisDraft d;
    const std::vector<Bc3Child>& children = Children(code);
    for (size_t i = 0; i < children.size(); ++i) {
      const Bc3Child& c = children[i];
      if (IsBc3Percentage(c.code))
        Percentage(code, i, d);
      else if (parts_.count(c.code))
        FoldPart(c.code, parts_.at(c.code), d);
      else
        AddLine(code, c, SectionOfType(Concept(c.code).type), false, d);
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

  // Analyses after the ones they use, on an explicit stack (the cycles were
  // refused before).
  void Order(const std::string& top, std::set<std::string>& seen) {
    if (!seen.insert(top).second) return;
    std::vector<std::pair<std::string, size_t>> stack{{top, 0}};
    while (!stack.empty()) {
      auto& [code, next] = stack.back();
      const std::vector<AnalysisDraftLine>& lines = d_.analyses.at(code).lines;
      if (next == lines.size()) {
        d_.writeOrder.push_back(code);
        stack.pop_back();
        continue;
      }
      const AnalysisDraftLine& l = lines[next++];
      if (l.type == LineType::kAnalysis && seen.insert(l.bc3).second) stack.push_back({l.bc3, 0});
    }
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
      if (Decomposed(code) || uses_.count(code) || IsBc3Root(code) || IsBc3Chapter(code) ||
          IsBc3Percentage(code))
        continue;
      if (c.price == 0)
        Finding("linea " + std::to_string(c.line) + ": el concepto " + code +
                " no tiene precio ni lo usa nadie: se omite");
      else
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
  std::string unpriced_;                    // the first leaf used without a price
};

}  // namespace

PlanResult PlanImport(const Bc3Document& doc, const std::string& today, bool toPeso) {
  return Planner(doc, today, toPeso).Run();
}

}  // namespace vantu
