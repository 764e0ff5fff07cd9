// The budget summary: one line per chapter with its amount and its share
// of the budget, the shares adding up to exactly 100.00, then the summary's
// totals from the direct cost to the value of the budget.
#include "records/budget_records.h"
#include "reports/budget_listing_data.h"
#include "reports/budget_listings.h"
#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_run.h"
#include "reports/listing_text.h"
#include "session/preferences.h"
#include "storage/file_sets.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

const std::string kSummaryHeading =
    "CAPITULO       D E S C R I P C I O N                                VALOR PARCIAL"
    "         PORCENTAJE";
const std::string kSingle18(18, kRuleSingle);
// The totals' right lines end under the amount column.
constexpr int kTotalsWidthCut = 19;

void BoldRight(const std::string& s) {
  BoldOn();
  RightLine(s);
  BoldOff();
}

std::string Amount18(long double x) {
  return FixedAmount(18, x);
}

std::string IvaLine(const GeneralDataRecord& g, const SummaryFigures& s) {
  return "  IVA (" + PercentText(Get(g, general::IvaPct)) + " de " +
         PercentText(Get(g, general::UtilidadPct)) +
         " utilidad = " + PercentText(s.ivaEffectivePct) + ")    $ " + Amount18(s.ivaAmount);
}

void SharesOfAiu(const GeneralDataRecord& g, const SummaryFigures& s) {
  RightLine("  Administracion (" + PercentText(Get(g, general::AdminPct)) +
            ")                     $ " + Amount18(s.adminAmount));
  RightLine("  Imprevistos    (" + PercentText(Get(g, general::ImprevistosPct)) +
            ")                     $ " + Amount18(s.imprevistosAmount));
  RightLine("  Utilidad       (" + PercentText(Get(g, general::UtilidadPct)) +
            ")                     $ " + Amount18(s.utilidadAmount));
}

void SummaryTotals(const BudgetListingData& d) {
  const GeneralDataRecord& g = d.general;
  const SummaryFigures& s = d.summary;
  const bool atEnd = Get(g, general::AiuMode) == general::kAiuAtEnd;
  BoldOn();
  RightFrameLine(kSingle18 + Blanks(11) + std::string(6, kRuleSingle) + Blanks(2));
  BoldOff();
  const std::string hundred = FixedAmount(17, 100) + " %";
  if (atEnd) {
    BoldRight("SUBTOTAL COSTO DIRECTO NETO                   $ " + Amount18(s.directCostTotal) +
              hundred);
  } else {
    BoldRight("SUMA DE LOS CAPITULOS  ( Incluye AIU )        $ " + Amount18(s.subtotalWithAiu) +
              hundred);
  }
  ListingPage& p = Page();
  p.PageWidth = static_cast<int16_t>(p.PageWidth - kTotalsWidthCut);
  if (atEnd) {
    SharesOfAiu(g, s);
    RightFrameLine(kSingle18);
    BoldOn();
    RightLine("  AIU total      (" + PercentText(Get(g, general::AiuAtEnd)) +
              ")                     $ " + Amount18(s.aiuAmount));
    RightLine(IvaLine(g, s));
    RightFrameLine(kSingle18);
    RightLine("VALOR TOTAL DEL PRESUPUESTO                   $ " + Amount18(s.budgetTotal));
  } else {
    RightLine("  menos AIU      (" + PercentText(Get(g, general::AiuPerItem)) +
              ")                     $ " + Amount18(s.aiuAmount));
    RightFrameLine(kSingle18);
    BoldRight("SUBTOTAL COSTO DIRECTO NETO                   $ " + Amount18(s.directCostTotal));
    SharesOfAiu(g, s);
    RightLine(IvaLine(g, s));
    RightFrameLine(kSingle18);
    BoldOn();
    RightLine("VALOR TOTAL DEL PRESUPUESTO                   $ " + Amount18(s.budgetTotal));
  }
  p.PageWidth = static_cast<int16_t>(p.PageWidth + kTotalsWidthCut);
  BoldOff();
  EmptyLine();
}

// The code of the last chapter with a positive total; empty when none.
std::string LastPositiveChapter() {
  std::string last;
  WalkInKeyOrder(kAreaBudget, [&](const uint8_t* rec, const std::string& code) {
    if (code.size() == 2 && LoadReal10(rec + budget_chapter::ChapterTotal.offset) > 0) last = code;
    return true;
  });
  return last;
}

}  // namespace

bool ListBudgetSummary(int from, int to) {
  if (!Area(kAreaBudget).Data.isOpen || UsedRecordCount(Area(kAreaBudget).Data) == 0) {
    ListingFoundNothing(kEmptyNoRecords);
    return false;
  }
  const std::string last = LastPositiveChapter();
  if (last.empty()) {
    ListingFoundNothing(kEmptyNotUsed);
    return false;
  }
  const BudgetListingData d = LoadListingData();
  const long double itemsTotal = Get(d.obra, obra_header::BudgetItemsTotal);
  const bool atEnd = Get(d.general, general::AiuMode) == general::kAiuAtEnd;
  BeginListing("R E S U M E N   D E   P R E S U P U E S T O   D E   O B R A", kSummaryHeading,
               Prefs().marginsBudget);
  Page().BlankAfterHeader = true;
  ListingRun run{kAreaBudget, from, to};
  return RunTwoPasses(run, [&](ListingRun& r) {
    r.Begin();
    long double shares = 0;
    const bool whole = WalkInKeyOrder(kAreaBudget, [&](const uint8_t* rec,
                                                       const std::string& code) {
      if (CheckInterrupt()) return false;
      if (code.size() != 2) return true;
      const long double total = LoadReal10(rec + budget_chapter::ChapterTotal.offset);
      r.Room(0);
      if (!Prefs().listUndefinedQuantities && total <= 0) return true;
      long double share = itemsTotal != 0 ? RoundCents(total / itemsTotal * 100) : 0;
      if (code == last) share = RoundCents(100 - shares);
      if (total > 0 || code == last) shares += share;
      if (Page().PageInRange) {
        StartLine();
        Field("CAPITULO " + code, 15);
        Field(DottedText(ReadStr(rec + budget_chapter::Description.offset, 35)) + "           $",
              48);
        WriteAmount(19, total);
        WriteAmount(17, share);
        DataText("%");
        LineEnd();
      }
      ++Page().LineNumber;
      return true;
    });
    if (!whole) return WalkEnd::Interrupted;
    r.Room(atEnd ? 8 : 11);
    if (Page().PageInRange) SummaryTotals(d);
    Page().LineNumber = static_cast<int16_t>(Page().LineNumber + (atEnd ? 10 : 11));
    return WalkEnd::Done;
  });
}

}  // namespace vantu
