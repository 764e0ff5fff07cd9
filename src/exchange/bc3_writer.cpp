#include "exchange/bc3_writer.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "exchange/bc3_codes.h"
#include "exchange/export_text.h"

namespace vantu {

namespace bc3 {

std::string GlobalCode(int recNo) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "G%05d", recNo);
  return buf;
}

int InputType(int group) {
  switch (group) {
    case 1:
      return 2;
    case 2:
      return 3;
    case 4:
      return 1;
    default:
      return 0;
  }
}

}  // namespace bc3

namespace {

// A field's text: blanks trimmed, and the separators of the format, which
// no field may hold, replaced.
std::string Field(const std::string& text) {
  std::string s = Trimmed(text);
  for (char& c : s) {
    if (c == '|' || c == '\\') c = '/';
    if (c == '~') c = '-';
    if (c == '\r' || c == '\n') c = ' ';
  }
  return s;
}

class Bc3Builder {
 public:
  explicit Bc3Builder(const ExportModel& m) : m_(m), dc_(Bc3MoneyDecimals(m)) {}

  // The header goes first but is written last: ~K declares the decimals
  // the records really carry.
  std::string Build() {
    Inputs();
    Globals();
    Subcontracts();
    Analyses();
    Budget();
    const std::string records = out_;
    out_.clear();
    Header();
    return out_ + records;
  }

 private:
  struct Child {
    std::string code;
    long double yield;
  };

  // Prices keep their cents even when amounts are whole pesos: a price with
  // cents stays one after its factor.
  std::string Amount(long double x) const { return DecimalText(x, kBc3PriceDecimals); }
  std::string Yield(long double x) const {
    const std::string text = DecimalText(x, kBc3YieldDecimals, true);
    const size_t point = text.find('.');
    if (point != std::string::npos)
      yieldDecimals_ = std::max(yieldDecimals_, static_cast<int>(text.size() - point - 1));
    return text;
  }
  long double Round(long double x) const { return Money(m_.basis, x); }

  void Record(const std::string& body) { out_ += "~" + body + "|\r\n"; }

  void Concept(const std::string& code, const std::string& unit, const std::string& summary,
               const std::string& price, const std::string& date, int type) {
    Record("C|" + code + "|" + Field(unit) + "|" + Field(summary) + "|" + price + "|" +
           CompactDate(date) + "|" + std::to_string(type));
  }

  void Decomposition(const std::string& parent, const std::vector<Child>& children) {
    if (children.empty()) return;
    std::string body = "D|" + parent + "|";
    for (const Child& c : children) body += c.code + "\\1\\" + Yield(c.yield) + "\\";
    Record(body);
  }

  // ~V: a Rama alone is a price database (information type 1), with an
  // Obra a budget (2).
  void Header() {
    const std::string heading =
        m_.hasObra ? Get(m_.obraHeader, obra_header::ObraName) : Get(m_.general, general::RamaName);
    Record("V|vantu|FIEBDC-3/2016|vantu " + m_.rama + m_.obra + "|" + Field(heading) + "|ANSI||" +
           (m_.hasObra ? "2" : "1"));
    const std::string d = std::to_string(dc_);
    const std::string p = std::to_string(kBc3PriceDecimals);
    const std::string y = std::to_string(yieldDecimals_);
    const long double gg =
        Get(m_.general, general::AdminPct) + Get(m_.general, general::ImprevistosPct);
    // Legacy decimals (DN DD DS DR DI DP DC DM DIVISA); percentages (CI GG
    // BI BAJA IVA); decimals (DRC DC DRO DFS DRS DFO DUO DI DES DN DD DS
    // DSP DEC DIVISA): yields, factors and measurements as many as the
    // yields written carry, prices 2, amounts the money decimals.
    Record("K|" + y + "\\" + y + "\\" + y + "\\" + y + "\\" + d + "\\" + p + "\\" + p + "\\" + d +
           "\\\\|0\\" + DecimalText(gg, 2) + "\\" +
           DecimalText(Get(m_.general, general::UtilidadPct), 2) + "\\0\\0|" + y + "\\" + p + "\\" +
           y + "\\" + y + "\\" + y + "\\" + y + "\\" + y + "\\" + d + "\\" + y + "\\" + y + "\\" +
           y + "\\" + y + "\\" + y + "\\" + p + "\\\\");
  }

  void Inputs() {
    for (const ExportInput& in : m_.inputs)
      Concept(in.code, in.unit, in.description, Amount(in.priceUsed), in.date,
              bc3::InputType(in.group));
  }

  // A global's price depends on the section that uses it (its group's
  // factor), and each global serves one line, so the section decides, and
  // gives it that section's type: it comes back in the same group.
  void Globals() {
    for (const ExportAnalysis& a : m_.analyses)
      for (int g = 1; g <= 4; ++g)
        for (const ExportLine& l : a.sections[g]) {
          if (l.type != LineType::kGlobal || !m_.globals.count(l.globalRecNo)) continue;
          const ExportGlobal& gl = m_.globals.at(l.globalRecNo);
          Concept(bc3::GlobalCode(l.globalRecNo), "GL", gl.description, Amount(l.cost), gl.date,
                  bc3::InputType(g));
        }
  }

  void Subcontracts() {
    for (const ExportSubcontract& s : m_.subcontracts)
      Concept(bc3::SubcontractCode(s.code), s.unit, s.description, Amount(s.directCost), s.date, 0);
  }

  std::vector<Child> SectionChildren(const ExportAnalysis& a, int group) const {
    std::vector<Child> children;
    for (const ExportLine& l : a.sections[group]) {
      if (l.type == LineType::kGlobal)
        children.push_back({bc3::GlobalCode(l.globalRecNo), 1});
      else
        children.push_back({l.code, l.quantity});
    }
    return children;
  }

  long double SectionSum(const ExportAnalysis& a, int group) const {
    long double sum = 0;
    for (const ExportLine& l : a.sections[group]) sum += l.cost;
    return sum;
  }

  // Group `group`'s lines, with the percentage of the analysis applied to
  // them alone: in a part concept of their own when the rate is not zero.
  void Section(const ExportAnalysis& a, int group, long double pct, const std::string& partCode,
               const std::string& percentCode, const std::string& partName,
               std::vector<Child>& children) {
    std::vector<Child> lines = SectionChildren(a, group);
    if (pct == 0 || lines.empty()) {
      children.insert(children.end(), lines.begin(), lines.end());
      return;
    }
    const long double sum = SectionSum(a, group);
    const long double part = sum + Round(sum * pct / 100);
    Concept(partCode, a.unit, partName + " " + Trimmed(a.description), Amount(part), "", 0);
    lines.push_back({percentCode, pct / 100});
    Decomposition(partCode, lines);
    children.push_back({partCode, 1});
  }

  void Analyses() {
    bool anyWaste = false, anyTools = false;
    for (const ExportAnalysis& a : m_.analyses) {
      anyWaste = anyWaste || (a.desperdicioPct != 0 && !a.sections[2].empty());
      anyTools = anyTools || (a.herramientaMenorPct != 0 && !a.sections[4].empty());
    }
    if (anyWaste) Concept(bc3::kWastePercent, "%", "Desperdicio", "", "", 0);
    if (anyTools) Concept(bc3::kMinorToolsPercent, "%", "Herramienta menor", "", "", 0);
    for (const ExportAnalysis& a : m_.analyses) {
      Concept(a.code, a.unit, a.description, Amount(a.stored.directCost), a.date, 0);
      std::vector<Child> children = SectionChildren(a, 1);
      Section(a, 2, a.desperdicioPct, bc3::MaterialsPartCode(a.code), bc3::kWastePercent,
              "Materiales con desperdicio:", children);
      const std::vector<Child> transport = SectionChildren(a, 3);
      children.insert(children.end(), transport.begin(), transport.end());
      Section(a, 4, a.herramientaMenorPct, bc3::LabourPartCode(a.code), bc3::kMinorToolsPercent,
              "Mano de obra con herramienta:", children);
      Decomposition(a.code, children);
    }
  }

  static std::string ItemConceptCode(const ExportBudgetItem& it) {
    if (it.refType == budget_item::kRefSubcontract) return bc3::SubcontractCode(it.refCode);
    if (it.refType == budget_item::kRefGlobal) return bc3::GlobalItemCode(it.code);
    return it.refCode;
  }

  long double ItemYield(const ExportBudgetItem& it) const {
    return it.refType == budget_item::kRefGlobal ? 1 : it.quantity;
  }

  std::string RootNote() const {
    const GeneralDataRecord& g = m_.general;
    const BudgetSummary& s = m_.summary;
    const bool perItem = Get(g, general::AiuMode) == general::kAiuPerItem;
    return "Referencia: " + Field(Get(m_.obraHeader, obra_header::ObraReference)) + ". AIU " +
           std::string(perItem ? "en cada item" : "al final") + ": Administraci\xF3n " +
           DecimalText(Get(g, general::AdminPct), 2) + "%, Imprevistos " +
           DecimalText(Get(g, general::ImprevistosPct), 2) + "%, Utilidad " +
           DecimalText(Get(g, general::UtilidadPct), 2) + "%. IVA " +
           DecimalText(Get(g, general::IvaPct), 2) + "% sobre la Utilidad (" +
           DecimalText(s.ivaEffectivePct, 2) + "% del costo directo). Subtotal costo directo " +
           Amount(s.directCostTotal) + ", AIU " + Amount(s.aiuAmount) + ", IVA " +
           Amount(s.ivaAmount) + ", valor total del presupuesto " + Amount(s.budgetTotal) + ".";
  }

  // One measurement per line of chapter number `position` (1-based): the
  // quantity, with the item's code as its comment.
  void Measurements(size_t position, const ExportChapter& c, const std::vector<Child>& items) {
    for (size_t i = 0; i < items.size(); ++i)
      Record("M|" + bc3::ChapterCode(c.code) + "\\" + items[i].code + "|" +
             std::to_string(position) + "\\" + std::to_string(i + 1) + "\\|" +
             Yield(items[i].yield) + "|\\" + Field(ItemLabel(c.items[i])) + "\\" +
             Yield(items[i].yield) + "\\\\\\\\");
  }

  // A chapter's concept, lines and measurements; returns its amount.
  long double Chapter(size_t position, const ExportChapter& c) {
    std::vector<Child> items;
    long double sum = 0;
    for (const ExportBudgetItem& it : c.items) {
      if (it.refType == budget_item::kRefGlobal)
        Concept(bc3::GlobalItemCode(it.code), it.unit, it.description, Amount(DirectPrice(it)), "",
                0);
      items.push_back({ItemConceptCode(it), ItemYield(it)});
      sum += Round(ItemYield(it) * DirectPrice(it));
    }
    Concept(bc3::ChapterCode(c.code), "", c.description, Amount(sum), "", 0);
    Decomposition(bc3::ChapterCode(c.code), items);
    Measurements(position, c, items);
    return sum;
  }

  // A Rama alone still has its root, as a database needs one: it names the
  // Rama and holds no budget.
  void Budget() {
    if (!m_.hasObra) {
      Concept(bc3::RootCode(m_.rama, ""), "", Get(m_.general, general::RamaName), Amount(0), "", 0);
      return;
    }
    const std::string root = bc3::RootCode(m_.rama, m_.obra);
    std::vector<Child> chapters;
    long double rootSum = 0;
    for (const ExportChapter& c : m_.chapters) {
      rootSum += Chapter(chapters.size() + 1, c);
      chapters.push_back({bc3::ChapterCode(c.code), 1});
    }
    Concept(root, "", Get(m_.obraHeader, obra_header::ObraName), Amount(rootSum),
            Get(m_.obraHeader, obra_header::BudgetDate), 0);
    Decomposition(root, chapters);
    Record("T|" + root + "|" + Field(RootNote()));
  }

  static std::string ItemLabel(const ExportBudgetItem& it) {
    std::string label = "Item " + it.code.substr(0, 2) + " " + it.code.substr(2);
    if (!Trimmed(it.pliegosCode).empty()) label += " (" + Trimmed(it.pliegosCode) + ")";
    return label;
  }

  // The price a budget line carries in the file: its concept's direct cost.
  // With the AIU in each item, a global amount is typed with its AIU, as
  // every price there (the listings' summary takes it out of the whole
  // total): the file carries it without.
  long double DirectPrice(const ExportBudgetItem& it) const {
    if (it.refType == budget_item::kRefGlobal) {
      if (Get(m_.general, general::AiuMode) != general::kAiuPerItem) return Round(it.quantity);
      return Round(it.quantity / (Get(m_.general, general::AiuPerItem) / 100 + 1));
    }
    if (it.refType == budget_item::kRefSubcontract) {
      for (const ExportSubcontract& s : m_.subcontracts)
        if (s.code == it.refCode) return s.directCost;  // not rounded, as its unit price
      return 0;
    }
    const auto found = directByCode_.find(it.refCode);
    return found == directByCode_.end() ? 0 : Round(found->second);
  }

  const ExportModel& m_;
  int dc_;
  mutable int yieldDecimals_ = 0;  // the most any yield written carries
  std::string out_;
  std::map<std::string, long double> directByCode_ = [this] {
    std::map<std::string, long double> d;
    for (const ExportAnalysis& a : m_.analyses) d[a.code] = a.stored.directCost;
    return d;
  }();
};

}  // namespace

int Bc3MoneyDecimals(const ExportModel& m) {
  return m.basis.toPeso ? 0 : 2;
}

std::string Bc3Text(const ExportModel& m) {
  return Bc3Builder(m).Build();
}

}  // namespace vantu
