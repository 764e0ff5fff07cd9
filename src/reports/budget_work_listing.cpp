// The work budget: chapters with their items and subtotals, then the
// budget's totals; and the budget summary: one line per chapter with its
// share of the budget, then the summary's totals.
#include "records/budget_records.h"
#include "reports/budget_listing_data.h"
#include "reports/budget_listings.h"
#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_run.h"
#include "reports/listing_text.h"
#include "session/preferences.h"
#include "storage/file_sets.h"

namespace vantu {

namespace {

const std::string kWorkHeading =
    "CODIGO         D E S C R I P C I O N                       UNIDAD        V/R UNITARIO"
    "            CANTIDAD         V/R PARCIAL";
const std::string kSingle18(18, kRuleSingle);

BudgetRecord AsBudget(const uint8_t* bytes) {
  BudgetRecord r;
  std::copy(bytes, bytes + BudgetRecord::kSize, r.bytes.begin());
  return r;
}

bool ShowsChapter(long double chapterTotal) {
  return Prefs().listUndefinedQuantities || chapterTotal > 0;
}

// "01 0020-" for an analysis, "01 010 -" for a subcontract.
std::string ReferenceText(const std::string& ref) {
  if (ref.size() == 6) return ref.substr(0, 2) + " " + ref.substr(2, 4) + "-";
  return ref.substr(0, 2) + " " + (ref.size() > 2 ? ref.substr(2, 3) : "") + " -";
}

void ItemLine(const BudgetRecord& item, bool pliegos) {
  StartLine();
  BoldOn();
  Field(pliegos ? Get(item, budget_item::PliegosCode) : ItemCodeText(Get(item, coded::Code)), 15);
  BoldOff();
  Field(ReferenceText(Get(item, budget_item::RefCode)), 8);
  Field(DottedText(Get(item, budget_item::Description)), 36);
  CentredField(Get(item, budget_item::Unit), 7);
  const long double unitPrice = Get(item, budget_item::ItemUnitPrice);
  WriteAmount(20, unitPrice != 0 ? unitPrice : 0);
  WriteAmount(20, unitPrice != 0 ? Get(item, budget_item::Quantity) : 0);
  WriteAmount(20, Get(item, budget_item::ItemTotal));
  LineEnd();
}

void ChapterClosing(const std::string& code, long double total) {
  BoldOn();
  RightFrameLine(kSingle18);
  BoldOff();
  BoldOn();
  const std::string amount = total > 0 ? FixedAmount(17, total) : "              ----";
  RightLine("SUBTOTAL CAPITULO " + code + "         $ " + amount);
  BoldOff();
  EmptyLine();
}

void WorkTotals(const BudgetListingData& d) {
  const SummaryFigures& s = d.summary;
  auto line = [](const std::string& label, long double x, bool bold) {
    if (bold) BoldOn();
    RightLine(label + FixedAmount(17, x));
    if (bold) BoldOff();
  };
  if (Get(d.general, general::AiuMode) == general::kAiuAtEnd) {
    line("SUBTOTAL COSTO DIRECTO                       $ ", s.directCostTotal, true);
    line("  mas AIU                                    $ ", s.aiuAmount, false);
    line("  mas IVA                                    $ ", s.ivaAmount, false);
  } else {
    line("SUBTOTAL COSTO DIRECTO (Incluye AIU)         $ ", s.subtotalWithAiu, true);
    line("  mas IVA                                    $ ", s.ivaAmount, false);
  }
  RightFrameLine(kSingle18);
  line("VALOR TOTAL DEL PRESUPUESTO                  $ ", s.budgetTotal, true);
  EmptyLine();
}

struct OpenChapter {
  std::string code;
  std::string description;
  long double total = 0;
  bool open = false;
};

// The closing block of the open chapter, counted when it is shown.
void CloseChapter(OpenChapter& c) {
  if (!c.open) return;
  c.open = false;
  if (!ShowsChapter(c.total)) return;
  if (Page().PageInRange) ChapterClosing(c.code, c.total);
  Page().LineNumber = static_cast<int16_t>(Page().LineNumber + 3);
}

}  // namespace

bool ListWorkBudget(int from, int to) {
  if (!Area(kAreaBudget).Data.isOpen || UsedRecordCount(Area(kAreaBudget).Data) == 0) {
    ListingFoundNothing(kEmptyNoRecords);
    return false;
  }
  const BudgetListingData d = LoadListingData();
  const bool pliegos = Get(d.obra, obra_header::UsePliegosCodes) != 0;
  const bool aiuAtEnd = Get(d.general, general::AiuMode) == general::kAiuAtEnd;
  BeginListing("P R E S U P U E S T O   D E   O B R A", kWorkHeading, Prefs().marginsBudget);
  ListingRun run{kAreaBudget, from, to};
  return RunTwoPasses(run, [&](ListingRun& r) {
    OpenChapter pending, current;
    bool headingPending = false;
    const bool whole =
        WalkInKeyOrder(kAreaBudget, [&](const uint8_t* bytes, const std::string& code) {
          if (CheckInterrupt()) return false;
          const BudgetRecord rec = AsBudget(bytes);
          if (code.size() == 2) {
            pending = {code, Get(rec, budget_chapter::Description),
                       Get(rec, budget_chapter::ChapterTotal), true};
            headingPending = true;
            return true;
          }
          const bool undefined = Get(rec, budget_item::PorDefinir) != 0;
          if (!r.listed && undefined) return true;
          r.Begin();
          if (headingPending) {
            headingPending = false;
            CloseChapter(current);
            current = pending;
            if (ShowsChapter(current.total) && r.Heading(3))
              ChapterHeading(current.code, current.description, 15);
          }
          if (r.Room(0) && (Prefs().listUndefinedQuantities || !undefined)) ItemLine(rec, pliegos);
          if (Prefs().listUndefinedQuantities || !undefined) ++Page().LineNumber;
          return true;
        });
    if (!whole) return WalkEnd::Interrupted;
    if (!r.listed) return WalkEnd::Done;
    CloseChapter(current);
    r.Room(aiuAtEnd ? 6 : 5);
    if (Page().PageInRange) WorkTotals(d);
    Page().LineNumber = static_cast<int16_t>(Page().LineNumber + (aiuAtEnd ? 6 : 5));
    return WalkEnd::Done;
  });
}

}  // namespace vantu
