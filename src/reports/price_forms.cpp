#include "reports/price_forms.h"

#include <cstdint>
#include <filesystem>
#include <optional>

#include "records/analysis_records.h"
#include "records/coded_records.h"
#include "reports/budget_listing_data.h"
#include "reports/chapter_walk.h"
#include "reports/form_lines.h"
#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_run.h"
#include "reports/listing_text.h"
#include "session/selection_state.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"

namespace vantu {

namespace {

const FormCells kCodedCells = {9, 52, 8, 15, 12, 15};
const FormCells kGlobalCells = {47, 36, 14, 11, 14};

const char* const kInputsHeading =
    "│ CODIGO  │          D  E  S  C  R  I  P  C  I  O  N           │ UNIDAD │  P R E C I O  │"
    " F E C H A  │ NUEVO  PRECIO │";
const char* const kSubcontractsHeading =
    "│ CODIGO  │          D  E  S  C  R  I  P  C  I  O  N           │ UNIDAD │ COSTO DIRECTO │"
    " F E C H A  │  NUEVO COSTO  │";
const char* const kGlobalsHeading =
    "│    ITEM UNITARIO A QUE PERTENECE EL GLOBAL    │     DESCRIPCION   DEL   GLOBAL     │"
    "  P R E C I O │ F E C H A │ NUEVO PRECIO │";

// The global price form's index while a command runs.
GlobalPriceOrder* activeOrder = nullptr;

// Every row takes its line and the rule under it.
constexpr int kRowLines = 2;
// A chapter row never starts in the last four lines of a page.
constexpr int kChapterReserve = 4;

// "01 010": the chapter digits, a blank and the rest of the code.
std::string CodeDigits(const std::string& code) {
  return " " + ItemCodeText(code);
}

// A price's date, bold when it is at least OldPriceDays old.
std::string DateCell(const std::string& date, int w) {
  const bool old =
      !date.empty() && DaysBetween(date, Selection().TodayDate) >= Listing().oldPriceDays;
  if (!old) return CentredFieldText(date, w) + kFormSeparator;
  std::string cell;
  if (!InViewMode()) cell = std::string{kCodeEsc, kBoldOnLetter};
  cell += CentredFieldText(date, w);
  if (!InViewMode()) cell += std::string{kCodeEsc, kBoldOffLetter};
  return cell + kFormSeparator;
}

void ChapterRow(ListingRun& run, const std::string& code, const std::string& description) {
  if (!run.Heading(kRowLines, kChapterReserve)) return;
  StartLine(kFormSeparator);
  ListingWrite(Cell("", kCodedCells[0]));
  BoldOn();
  DataText(FieldText((" CAPITULO " + code + " - " + description).substr(0, 52), 52));
  BoldOff();
  ListingWrite(std::string(1, kFormSeparator) + Cell("", kCodedCells[2]) +
               Cell("", kCodedCells[3]) + Cell("", kCodedCells[4]) + Cell("", kCodedCells[5]));
  LineEnd();
  RowSeparator(kCodedCells);
}

// The row of an input or a subcontract: its price read at `priceOffset`.
// Inputs and subcontracts keep their unit at the same place.
static_assert(input::Unit.offset == subcontract::Unit.offset);
void CodedItemRow(ListingRun& run, const uint8_t* rec, int priceOffset) {
  if (!run.Heading(kRowLines, 0)) return;
  StartLine(kFormSeparator);
  ListingWrite(Cell(CodeDigits(ReadStr(rec + coded::Code.offset, 6)), 9) +
               Cell(" " + ReadStr(rec + coded::kBodyStart, 35), 52) +
               Cell(" " + ReadStr(rec + input::Unit.offset, 6), 8) +
               AmountText(15, LoadReal10(rec + priceOffset)) + kFormSeparator +
               DateCell(ReadStr(rec + coded::CreatedDate.offset, 8), 12) + Cell("", 15));
  LineEnd();
  RowSeparator(kCodedCells);
}

bool CodedForm(int area, const std::string& title, const char* heading, int priceOffset, int from,
               int to) {
  if (!ListedFileHasRecords(area)) return false;
  BeginForm(title, FormHeadingText(heading), kCodedCells);
  ChapterWalk walk;
  walk.area = area;
  walk.heading = ChapterRow;
  walk.item = [priceOffset](ListingRun& r, const uint8_t* rec) {
    CodedItemRow(r, rec, priceOffset);
  };
  ListingRun run{area, from, to};
  return RunTwoPasses(
      run, [&](ListingRun& r) { return WalkChapters(r, walk); },
      [](ListingRun& r) { CloseLastFormPage(r.listed, kCodedCells); });
}

void GlobalRow(ListingRun& run, const GlobalPriceRecord& g) {
  if (!run.Heading(kRowLines, 0)) return;
  if (Get(g, global_price::RecordStatus) == global_price::kFree) {
    EmptyRow(kGlobalCells);
  } else {
    StartLine(kFormSeparator);
    ListingWrite(Cell(CodeDigits(Get(g, global_price::OwnerCode)) + " " +
                          Get(g, global_price::OwnerDescription),
                      47) +
                 Cell(" " + Get(g, global_price::Description), 36) +
                 AmountText(14, Get(g, global_price::GlobalPrice)) + kFormSeparator +
                 DateCell(Get(g, global_price::PriceDate), 11) + Cell("", 14));
    LineEnd();
  }
  RowSeparator(kGlobalCells);
}

}  // namespace

GlobalPriceOrder::GlobalPriceOrder() {
  WorkArea& a = Area(kAreaGlobals);
  const std::filesystem::path listing(ListingFileName());
  fileName_ = (listing.parent_path() /
               std::filesystem::path(IndexFileName(kAreaGlobals, a.Extension)).filename())
                  .string();
  MakeIndex(index_, fileName_, kRecordCodeLength, true);
  if (a.Data.isOpen) {
    GlobalPriceRecord g;
    for (int16_t r = 1; r < FileRecordCount(a.Data); ++r) {
      GetRec(a.Data, r, g.data());
      std::string owner = Get(g, global_price::OwnerCode);
      if (Get(g, global_price::RecordStatus) != 0 || owner.empty()) continue;
      AddKey(index_, r, owner);
      if (LastOpOk()) ++count_;
    }
  }
  activeOrder = this;
}

GlobalPriceOrder::~GlobalPriceOrder() {
  CloseIndex(index_);
  if (activeOrder == this) activeOrder = nullptr;
  std::error_code ignored;
  std::filesystem::remove(fileName_, ignored);
}

bool FormBasicInputs(int from, int to) {
  return CodedForm(kAreaInputs,
                   "F O R M U L A R I O   P A R A   A C T U A L I Z A C I O N   D E   "
                   "P R E C I O S   B A S I C O S",
                   kInputsHeading, input::Price.offset, from, to);
}

bool FormSubcontracts(int from, int to) {
  return CodedForm(kAreaSubcontracts,
                   "F O R M U L A R I O   P A R A   A C T U A L I Z A C I O N   D E   "
                   "S U B C O N T R A T O S",
                   kSubcontractsHeading, subcontract::DirectCost.offset, from, to);
}

bool FormGlobalPrices(int from, int to) {
  if (activeOrder == nullptr || activeOrder->Count() == 0) {
    ListingFoundNothing(kEmptyNoRecords);
    return false;
  }
  BeginForm(
      "F O R M U L A R I O   P A R A   A C T U A L I Z A C I O N   D E   "
      "P R E C I O S   G L O B A L E S",
      FormHeadingText(kGlobalsHeading), kGlobalCells);
  WorkArea& a = Area(kAreaGlobals);
  ListingRun run{kAreaGlobals, from, to};
  return RunTwoPasses(
      run,
      [&](ListingRun& r) {
        const bool whole = WalkIndex(activeOrder->Index(), a.Data, a.RecordLength,
                                     [&](const uint8_t* rec, const std::string&) {
                                       if (CheckInterrupt()) return false;
                                       GlobalPriceRecord g;
                                       std::copy(rec, rec + GlobalPriceRecord::kSize, g.data());
                                       r.Begin();
                                       GlobalRow(r, g);
                                       return true;
                                     });
        return whole ? WalkEnd::Done : WalkEnd::Interrupted;
      },
      [](ListingRun& r) { CloseLastFormPage(r.listed, kGlobalCells); });
}

bool WritePriceForm(PriceForm form, int from, int to) {
  switch (form) {
    case PriceForm::Inputs:
      return FormBasicInputs(from, to);
    case PriceForm::Subcontracts:
      return FormSubcontracts(from, to);
    case PriceForm::GlobalPrices:
      break;
  }
  if (activeOrder != nullptr) return FormGlobalPrices(from, to);
  const GlobalPriceOrder order;
  return FormGlobalPrices(from, to);
}

}  // namespace vantu
