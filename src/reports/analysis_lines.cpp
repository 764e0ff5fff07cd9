#include "reports/analysis_lines.h"

#include "records/coded_records.h"
#include "reports/budget_listing_data.h"
#include "storage/file_sets.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

template <class R>
R ReadRecord(int area, int16_t r) {
  R rec{};
  const WorkArea& a = Area(area);
  if (a.Data.isOpen && r > 0 && r < FileRecordCount(a.Data)) GetRec(Area(area).Data, r, rec.data());
  return rec;
}

std::string PercentLabel(const char* head, long double pct, const char* tail) {
  return head + FixedAmount(5, pct) + tail;
}

AnalysisPrintLine LineOf(const AnalysisLine& l, int group, const GeneralDataRecord& g) {
  AnalysisPrintLine p;
  const long double qty = Get(l, analysis_line::Quantity);
  const int16_t r = Get(l, analysis_line::RefRecNo);
  const long double factor = Get(g, general::Factor(group));
  switch (Get(l, analysis_line::LineType)) {
    case 2: {
      const InputRecord in = ReadRecord<InputRecord>(kAreaInputs, r);
      p.code = ItemCodeText(Get(in, coded::Code));
      p.description = Get(in, input::Description);
      p.unit = Get(in, input::Unit);
      p.price = AdjustPrice(Get(in, input::Price), factor);
      break;
    }
    case 3: {
      const AnalysisRecord an = ReadRecord<AnalysisRecord>(kAreaAnalyses, r);
      p.code = ItemCodeText(Get(an, coded::Code));
      p.description = Get(an, analysis::Description);
      p.unit = Get(an, analysis::Unit);
      p.price = Get(an, analysis::DirectCost);
      break;
    }
    default: {
      const GlobalPriceRecord gp = ReadRecord<GlobalPriceRecord>(kAreaGlobals, r);
      p.code = "-----";
      p.description = Get(gp, global_price::Description);
      p.unit = "GLOBAL";
      p.price = 0;
      p.quantity = 0;
      p.partial = RoundMoney(Get(gp, global_price::GlobalPrice) * factor);
      return p;
    }
  }
  p.quantity = qty;
  p.partial = RoundMoney(qty * *p.price);
  return p;
}

}  // namespace

std::string UpperDescription(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(UpperChar(static_cast<uint8_t>(c)));
  return out;
}

std::vector<AnalysisSection> AnalysisSections(const AnalysisRecord& a, const GeneralDataRecord& g,
                                              bool withEmpty) {
  const long double labour = Get(a, analysis::ManoDeObraCost);
  const long double tools = Get(a, analysis::HerramientaMenorPct);
  const long double materials = Get(a, analysis::MaterialesCost);
  const long double waste = Get(a, analysis::DesperdicioPct);
  const long double subtotals[] = {Get(a, analysis::EquiposCost),
                                   Get(a, analysis::MaterialesWithWaste),
                                   Get(a, analysis::TransportesCost), labour};
  std::vector<AnalysisSection> sections;
  for (int group = 1; group <= analysis::kGroups; ++group) {
    AnalysisSection s;
    s.group = group;
    s.subtotal = RoundMoney(subtotals[group - 1]);
    const int first = SectionFirstSlot(a, group);
    for (int i = 0; i < SectionLineCount(a, group); ++i)
      s.lines.push_back(LineOf(Get(a, analysis::Lines(first + i)), group, g));
    if (group == 1 && labour > 0 && tools > 0) {
      s.lines.push_back({"-----", PercentLabel("Herramienta menor ", tools, "% s/m. de o. "), "--",
                         std::nullopt, std::nullopt, RoundMoney(labour * tools / 100)});
    }
    if (group == 2 && materials > 0 && waste > 0) {
      s.lines.push_back({"-----", PercentLabel("Desperdicios ", waste, "% s/materiales   "), "--",
                         std::nullopt, std::nullopt, RoundMoney(materials * waste / 100)});
    }
    if (withEmpty || !s.lines.empty()) sections.push_back(std::move(s));
  }
  return sections;
}

}  // namespace vantu
