// The listings that share one walk: basic inputs, the summary of unit
// prices, subcontracts and the requirements of basic inputs. A record with a
// two-character code is a chapter whose heading waits for its first listed
// item; with an Obra open only the items its last calculation used qualify.
#include <functional>

#include "records/analysis_records.h"
#include "records/coded_records.h"
#include "reports/budget_listing_data.h"
#include "reports/budget_listings.h"
#include "reports/chapter_walk.h"
#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_run.h"
#include "reports/listing_text.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

const std::string kPriceHeading =
    "CODIGO         D E S C R I P C I O N                        UNIDAD              PRECIO";
const std::string kSubcontractHeading =
    "CODIGO        D E S C R I P C I O N        UNIDAD      EQUIPOS    MATERIALES   TRANSPORTES"
    "    M. DE OBRA           AIU     V/R TOTAL";
const std::string kRequirementsHeading =
    "CODIGO         D E S C R I P C I O N                        UNIDAD             PRECIO"
    "             CANTIDAD       VALOR PARCIAL";

struct ChapterListing {
  int area = 0;
  std::string title;
  std::string heading;
  // A chapter record, for what its items need (the input group's factor).
  std::function<void(const uint8_t* rec)> chapter;
  // The detail line after the margin, without its end.
  std::function<void(const uint8_t* rec)> detail;
};

// A coded record's view of the bytes; every file of this walk shares the
// coded prefix.
template <class R>
R RecordAt(const uint8_t* bytes) {
  R r;
  std::copy(bytes, bytes + R::kSize, r.bytes.begin());
  return r;
}

bool RunChapterListing(const ChapterListing& l, int from, int to) {
  if (!ListedFileHasRecords(l.area)) return false;
  BeginListing(l.title, l.heading, Prefs().marginsBudget);
  ChapterWalk walk;
  walk.area = l.area;
  walk.chapter = l.chapter;
  walk.heading = [](ListingRun& r, const std::string& code, const std::string& description) {
    if (r.Heading(3)) ChapterHeading(code, description, 15);
  };
  walk.item = [&](ListingRun& r, const uint8_t* rec) {
    if (!r.Line()) return;
    StartLine();
    l.detail(rec);
    LineEnd();
  };
  ListingRun run{l.area, from, to};
  return RunTwoPasses(run, [&](ListingRun& r) { return WalkChapters(r, walk); });
}

// The input chapter's group factor, 1 for a group out of range.
long double GroupFactor(const GeneralDataRecord& g, const uint8_t* chapter) {
  const int group = GetI16(chapter + input::Group.offset);
  return group >= 1 && group <= 4 ? Get(g, general::Factor(group)) : 1.0L;
}

std::string Text(const uint8_t* rec, int offset, int capacity) {
  return ReadStr(rec + offset, capacity);
}

void CodeDescriptionUnit(const uint8_t* rec, int codeWidth, int descriptionWidth) {
  Field(ItemCodeText(Text(rec, coded::Code.offset, 6)) + (codeWidth == 7 ? " " : ""), codeWidth);
  Field(DottedText(Text(rec, coded::kBodyStart, 35)), descriptionWidth);
  Field(Text(rec, input::Unit.offset, 6), 6);
}

// The heading with the AIU percentage written just before "AIU".
std::string SubcontractHeading(long double aiuPct) {
  std::string heading = kSubcontractHeading;
  if (aiuPct <= 0) return heading;
  const int width = aiuPct < 10 ? 4 : aiuPct < 100 ? 5 : 6;
  const std::string mark = "(" + FixedAmount(width, aiuPct) + "%)";
  const size_t aiu = heading.find("AIU");
  if (mark.size() <= aiu) heading.replace(aiu - mark.size(), mark.size(), mark);
  return heading;
}

}  // namespace

bool ListBasicInputs(int from, int to) {
  const GeneralDataRecord g = LoadListingData().general;
  long double factor = 1;
  ChapterListing l;
  l.area = kAreaInputs;
  l.title = "L I S T A   D E   I N S U M O S   B A S I C O S";
  l.heading = kPriceHeading;
  l.chapter = [&](const uint8_t* rec) { factor = GroupFactor(g, rec); };
  l.detail = [&](const uint8_t* rec) {
    CodeDescriptionUnit(rec, 15, 45);
    WriteAmount(21, RoundMoney(LoadReal10(rec + input::Price.offset) * factor));
  };
  return RunChapterListing(l, from, to);
}

bool ListUnitPriceSummary(int from, int to) {
  ChapterListing l;
  l.area = kAreaAnalyses;
  l.title = "R E S U M E N   D E   P R E C I O S   U N I T A R I O S";
  l.heading = kPriceHeading;
  l.detail = [](const uint8_t* rec) {
    CodeDescriptionUnit(rec, 15, 45);
    WriteAmount(21, LoadReal10(rec + analysis::UnitPrice.offset));
  };
  return RunChapterListing(l, from, to);
}

bool ListSubcontracts(int from, int to) {
  const GeneralDataRecord g = LoadListingData().general;
  const long double aiuPct = Get(g, general::AiuPerItemForSubcontracts);
  ChapterListing l;
  l.area = kAreaSubcontracts;
  l.title = "A N A L I S I S   D E   S U B C O N T R A T O S";
  l.heading = SubcontractHeading(aiuPct);
  l.detail = [&](const uint8_t* rec) {
    CodeDescriptionUnit(rec, 7, 36);
    const int offsets[] = {subcontract::EquiposValue.offset, subcontract::MaterialesValue.offset,
                           subcontract::TransportesValue.offset,
                           subcontract::ManoDeObraValue.offset};
    long double total = 0;
    for (int group = 1; group <= 4; ++group) {
      const long double value =
          RoundMoney(LoadReal10(rec + offsets[group - 1]) * Get(g, general::Factor(group)));
      WriteAmount(14, value);
      total += value;
    }
    const long double aiu =
        RoundMoney(LoadReal10(rec + subcontract::DirectCost.offset) * aiuPct / 100);
    WriteAmount(14, aiu);
    WriteAmount(14, total + aiu);
  };
  return RunChapterListing(l, from, to);
}

bool ListRequirements(int from, int to) {
  const GeneralDataRecord g = LoadListingData().general;
  long double factor = 1;
  ChapterListing l;
  l.area = kAreaInputs;
  l.title = "R E Q U E R I M I E N T O S   D E   I N S U M O S   B A S I C O S";
  l.heading = kRequirementsHeading;
  l.chapter = [&](const uint8_t* rec) { factor = GroupFactor(g, rec); };
  l.detail = [&](const uint8_t* rec) {
    CodeDescriptionUnit(rec, 15, 45);
    const long double price = AdjustPrice(LoadReal10(rec + input::Price.offset), factor);
    const long double quantity = RoundCents(LoadReal10(rec + input::RequiredQuantity.offset));
    WriteAmount(20, price);
    WriteAmount(20, quantity);
    WriteAmount(20, RoundMoney(price * quantity));
  };
  return RunChapterListing(l, from, to);
}

}  // namespace vantu
