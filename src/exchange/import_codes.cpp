#include "exchange/import_codes.h"

#include <cctype>
#include <cstdio>

#include "records/budget_records.h"
#include "records/codes.h"
#include "storage/record_file.h"

namespace vantu {

namespace {

constexpr int kMaxChapterNumber = 99;
constexpr const char* kDefaultUnit = "UD";

std::string Digits(int n, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, n);
  return buf;
}

std::string Describe(const Bc3Concept& c) {
  return ConceptDescription(c);
}

std::string UnitOf(const Bc3Concept& c) {
  return ConceptUnit(c);
}

// Codes for `count` items of `digits` digits in chapters of their own,
// numbered on from `chapter`. Each entry: chapter code, item codes.
struct Chaptered {
  std::vector<std::pair<std::string, std::vector<std::string>>> chapters;
  bool ranOut = false;
};

Chaptered ChapteredCodes(size_t count, int digits, int& chapter) {
  Chaptered out;
  const size_t perChapter = digits == 3 ? 999 : 9999;
  for (size_t done = 0; done < count;) {
    if (++chapter > kMaxChapterNumber) {
      out.ranOut = true;
      return out;
    }
    const size_t n = std::min(perChapter, count - done);
    const int step = n * 10 <= perChapter ? 10 : 1;
    std::vector<std::string> items;
    for (size_t i = 1; i <= n; ++i)
      items.push_back(Digits(chapter, 2) + Digits(static_cast<int>(i) * step, digits));
    out.chapters.emplace_back(Digits(chapter, 2), items);
    done += n;
  }
  return out;
}

class Assigner {
 public:
  Assigner(const ImportDraft& d, const std::string& today, ImportPlan& plan)
      : d_(d), today_(today), plan_(plan) {}

  std::string Run() {
    for (const auto& step :
         {&Assigner::Inputs, &Assigner::Analyses, &Assigner::Subcontracts, &Assigner::Budget}) {
      const std::string e = (this->*step)();
      if (!e.empty()) return e;
    }
    const std::string full = FileRoom();
    if (!full.empty()) return full;
    const Bc3Concept& root = Concept(d_.root);
    plan_.obraName = Describe(root);
    plan_.ramaName = d_.heading.empty() ? plan_.obraName : d_.heading;
    plan_.budgetDate = PlanDate(root.date, today_);
    return "";
  }

 private:
  const Bc3Concept& Concept(const std::string& code) const { return d_.concepts.at(code); }

  // Every file holds its records, chapters included, below record 0.
  std::string FileRoom() const {
    size_t budget = 0;
    for (const PlanChapter& c : plan_.chapters) budget += 1 + c.items.size();
    const std::pair<const char*, size_t> files[] = {{"insumos", plan_.inputs.size()},
                                                    {"analisis", plan_.analyses.size()},
                                                    {"subcontratos", plan_.subcontracts.size()},
                                                    {"presupuesto", budget}};
    const size_t room = kMaxRecordCount - 1;
    for (const auto& [name, count] : files)
      if (count > room)
        return std::string("el archivo de ") + name + " tendria " + std::to_string(count) +
               " registros y admite " + std::to_string(room);
    return "";
  }

  // Codes of the set, in the file's order.
  std::vector<std::string> InOrder(const std::set<std::string>& codes) const {
    std::vector<std::string> out;
    for (const std::string& code : d_.order)
      if (codes.count(code)) out.push_back(code);
    for (const std::string& code : codes)  // undefined percentages
      if (!d_.concepts.at(code).line) out.push_back(code);
    return out;
  }

  void Map(const std::string& original, const std::string& code, const std::string& kind) {
    plan_.mapping.push_back({original, code, kind, Describe(Concept(original))});
  }

  int InputGroupOf(const std::string& code) const {
    return d_.percentInputs.count(code) ? 3 : SectionOfType(Concept(code).type);
  }

  std::string Inputs() {
    std::set<std::string> all = d_.inputs;
    all.insert(d_.percentInputs.begin(), d_.percentInputs.end());
    const std::vector<std::string> ordered = InOrder(all);
    int chapter = 0;
    for (int g = 1; g <= 4; ++g) {
      std::vector<std::string> members;
      for (const std::string& code : ordered)
        if (InputGroupOf(code) == g) members.push_back(code);
      const Chaptered c = ChapteredCodes(members.size(), 3, chapter);
      if (c.ranOut) return "demasiados insumos para los 99 capitulos de insumos";
      size_t k = 0;
      for (const auto& [chapterCode, items] : c.chapters) {
        plan_.inputs.push_back({chapterCode, std::string(GroupName(g)), "", "", 0, true, g});
        for (const std::string& code : items) Input(members[k++], code);
      }
    }
    return "";
  }

  void Input(const std::string& original, const std::string& code) {
    const Bc3Concept& c = Concept(original);
    const bool percent = d_.percentInputs.count(original) > 0;
    plan_.inputs.push_back({code, Describe(c), percent ? "%" : UnitOf(c), PlanDate(c.date, today_),
                            percent ? 1.0L : c.price, false, 0});
    inputCode_[original] = code;
    Map(original, code, percent ? "porcentaje" : "insumo");
  }

  std::string Analyses() {
    std::set<std::string> all;
    for (const auto& [code, draft] : d_.analyses) all.insert(code);
    const std::vector<std::string> ordered = InOrder(all);
    int chapter = 0;
    const Chaptered c = ChapteredCodes(ordered.size(), 4, chapter);
    if (c.ranOut) return "demasiados analisis para los 99 capitulos de analisis";
    size_t k = 0;
    for (const auto& [chapterCode, items] : c.chapters) {
      PlanAnalysis ch;
      ch.code = chapterCode;
      ch.description = "ANALISIS IMPORTADOS";
      ch.chapter = true;
      plan_.analyses.push_back(ch);
      for (const std::string& code : items) {
        analysisCode_[ordered[k]] = code;
        Map(ordered[k++], code, "analisis");
      }
    }
    for (const auto& [part, owner] : d_.partOf)
      if (d_.concepts.count(part)) partRows_.emplace_back(part, owner);
    for (const std::string& code : d_.writeOrder) plan_.analyses.push_back(Analysis(code));
    for (const auto& [part, owner] : partRows_)
      Map(part, analysisCode_.at(owner), "parte de analisis");
    // A percentage folded into the analyses is their field, not a code.
    for (const auto& [code, section] : d_.foldedPercent)
      Map(code, "", section == 2 ? "desperdicio" : "herramienta menor");
    return "";
  }

  PlanAnalysis Analysis(const std::string& original) {
    const Bc3Concept& c = Concept(original);
    const AnalysisDraft& draft = d_.analyses.at(original);
    PlanAnalysis a;
    a.code = analysisCode_.at(original);
    a.description = Describe(c);
    a.unit = UnitOf(c);
    a.date = PlanDate(c.date, today_);
    a.herramientaMenorPct = draft.tools;
    a.desperdicioPct = draft.waste;
    for (const AnalysisDraftLine& l : draft.lines) {
      const std::string& code =
          l.type == LineType::kAnalysis ? analysisCode_.at(l.bc3) : inputCode_.at(l.bc3);
      a.sections[static_cast<size_t>(l.section)].push_back({l.type, code, l.quantity});
    }
    return a;
  }

  std::string Subcontracts() {
    const std::vector<std::string> ordered = InOrder(d_.budgetLeaves);
    int chapter = 0;
    const Chaptered c = ChapteredCodes(ordered.size(), 3, chapter);
    if (c.ranOut) return "demasiados subcontratos para los 99 capitulos de subcontratos";
    size_t k = 0;
    for (const auto& [chapterCode, items] : c.chapters) {
      plan_.subcontracts.push_back({chapterCode, "SUBCONTRATOS IMPORTADOS", "", "", true, 0, 0});
      for (const std::string& code : items) {
        const Bc3Concept& s = Concept(ordered[k]);
        plan_.subcontracts.push_back({code, Describe(s), UnitOf(s), PlanDate(s.date, today_), false,
                                      SectionOfType(s.type), s.price});
        subcontractCode_[ordered[k]] = code;
        Map(ordered[k++], code, "subcontrato");
      }
    }
    return "";
  }

  std::string Budget() {
    Map(d_.root, "", "obra");
    for (size_t i = 0; i < d_.chapters.size(); ++i) {
      const auto& [original, children] = d_.chapters[i];
      PlanChapter ch;
      ch.code = Digits(static_cast<int>(i) + 1, 2);
      ch.description = Describe(Concept(original));
      if (original != d_.root) Map(original, ch.code, "capitulo");
      const int step = children.size() * 10 <= 999 ? 10 : 1;
      for (size_t k = 0; k < children.size(); ++k) {
        const Bc3Child& child = children[k];
        const Bc3Concept& c = Concept(child.code);
        PlanBudgetItem it;
        it.code = ch.code + Digits(static_cast<int>(k + 1) * step, 3);
        it.pliegos = child.code.substr(0, 12);
        const bool analysis = analysisCode_.count(child.code) > 0;
        it.refCode = analysis ? analysisCode_.at(child.code) : subcontractCode_.at(child.code);
        it.refType = analysis ? budget_item::kRefAnalysis : budget_item::kRefSubcontract;
        it.description = Describe(c);
        it.unit = UnitOf(c);
        it.date = today_;
        it.quantity = child.factor * child.yield;
        it.porDefinir = it.quantity == 0;
        ch.items.push_back(it);
        Map(child.code, it.code, "item");
        const auto measured = d_.measured.find({original, k});
        if (measured != d_.measured.end())
          plan_.mapping.push_back(
              {original + "\\" + child.code, it.code, "medicion", measured->second});
      }
      plan_.chapters.push_back(ch);
    }
    return "";
  }

  const ImportDraft& d_;
  std::string today_;
  ImportPlan& plan_;
  std::map<std::string, std::string> inputCode_, analysisCode_, subcontractCode_;
  std::vector<std::pair<std::string, std::string>> partRows_;
};

}  // namespace

std::string ConceptDescription(const Bc3Concept& c) {
  if (!c.summary.empty()) return c.summary;
  const std::string firstLine = c.text.substr(0, c.text.find_first_of("\r\n"));
  return firstLine.empty() ? c.code : firstLine;
}

std::string ConceptUnit(const Bc3Concept& c) {
  return c.unit.empty() ? kDefaultUnit : c.unit;
}

std::string PlanDate(const std::string& bc3Date, const std::string& otherwise) {
  for (const char c : bc3Date)
    if (!std::isdigit(static_cast<unsigned char>(c))) return otherwise;
  if (bc3Date.size() != 6 && bc3Date.size() != 8) return otherwise;
  return bc3Date.substr(0, 2) + "/" + bc3Date.substr(2, 2) + "/" +
         bc3Date.substr(bc3Date.size() - 2);
}

std::string AssignCodes(const ImportDraft& d, const std::string& today, ImportPlan& plan) {
  return Assigner(d, today, plan).Run();
}

}  // namespace vantu
