#include "reports/listing_page.h"

#include "console/keys.h"
#include "reports/listing_engine.h"
#include "reports/listing_text.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "toolkit/progress.h"
#include "toolkit/window_message.h"

namespace vantu {

namespace {

// Widths at which a listing is centred on the paper by the margin.
constexpr int kCentredWidth = 125;
constexpr int kBaseMargin = 10;
// Empty lines above the header on laser printers, before the adjustment.
constexpr int kLaserTopLines = 5;

const char* const kNothingToPrint = "COMENTARIO: NO HAY NADA PARA IMPRIMIR";
const char* const kPressAnyKey = ".. Para continuar oprima cualquier tecla ..";

void HeaderIdentity(int control) {
  const SelectionState& sel = Selection();
  std::string left;
  if (Shell().obraSelected) {
    LeftRightLine(sel.ObraName, sel.ObraReference);
    left = sel.BudgetDate.substr(0, 8);
  } else {
    MarginLine(sel.RamaName);
    left = sel.TodayDate;
  }
  const ListingPage& p = Page();
  ThreePartLine(
      left, ControlText(control),
      "Hoja [" + std::to_string(p.PageNumber) + "] de [" + std::to_string(p.PageCount) + "]");
}

}  // namespace

int ComputeLeftMargin() {
  if (InViewMode()) return 1;
  const int room = kCentredWidth - Page().PageWidth;
  const int left = Listing().margins.left + kBaseMargin;
  return room > 0 ? left + room / 2 : left + room;
}

std::string ControlText(int control) {
  std::string digits = std::to_string(control);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return "Control : " + digits;
}

void SetPrinterGeometry() {
  ListingPage& p = Page();
  p.HeaderLines = DotMatrix() ? kDotMatrixHeaderLines : kLaserHeaderLines;
  p.PageLength = DotMatrix() ? kDotMatrixPageLength : kLaserPageLength;
}

void BeginListing(const std::string& title, const std::string& heading, const Margins& margins) {
  ListingState& s = Listing();
  s.page = ListingPage{};
  s.margins = margins;
  ListingPage& p = s.page;
  SetPrinterGeometry();
  p.ListingTitle = title.substr(0, 255);
  p.ColumnHeading = heading;
  p.PageWidth = static_cast<int16_t>(heading.size());
  p.LeftMargin = static_cast<int16_t>(ComputeLeftMargin());
  p.TopRule = p.BottomRule = std::string(heading.size(), kRuleDouble);
  p.HasColumnHeading = true;
}

int16_t ControlOf(int area) {
  return Area(area).SavedSetSerial;
}

void StartPass(int pass) {
  Page().Pass = static_cast<int16_t>(pass);
  Page().PageNumber = 0;
}

void PageHeader(const std::string& title, int control, int from, int to) {
  ListingPage& p = Page();
  p.LineNumber = p.HeaderLines;
  ++p.PageNumber;
  if (p.Pass == 1) {
    ++p.PageCount;
    p.PageInRange = false;
    return;
  }
  p.PageInRange = (to == 0 || p.PageNumber <= to) && p.PageNumber >= from;
  if (!p.PageInRange) return;
  if (!DotMatrix() && !InViewMode()) {
    for (int i = 0; i < Listing().margins.top + kLaserTopLines; ++i) EmptyLine();
  }
  CondensedOff();
  CentredTitleLine(Shell().consultantName);
  EmptyLine();
  CondensedOn();
  BoldOn();
  CentredLine(title);
  BoldOff();
  RuleLine(kRuleDouble);
  HeaderIdentity(control);
  FrameLine(p.TopRule);
  if (p.HasColumnHeading) {
    BoldOn();
    FrameLine(p.ColumnHeading);
    BoldOff();
    FrameLine(p.BottomRule);
  }
  if (p.BlankAfterHeader) {
    EmptyLine();
    ++p.LineNumber;
  }
}

void PageBreakCheck(int area, int from, int to, int limit) {
  ListingPage& p = Page();
  if (p.LineNumber < limit - Listing().margins.bottom) return;
  if (p.PageInRange) {
    FrameLine(p.UseFormBottomRule ? p.FormBottomRule : p.BottomRule);
    EndPage();
  }
  PageHeader(p.ListingTitle, ControlOf(area), from, to);
}

void SeparatorPage() {
  const std::string& title = Page().ListingTitle;
  if (DotMatrix()) {
    CondensedOn();
    BoldOn();
    for (int i = 0; i < 26; ++i) EmptyLine();
    RuleLine(kRuleDouble);
    CentredLine(title);
    RuleLine(kRuleDouble);
    BoldOff();
    EndPage();
    return;
  }
  constexpr int kIndent = 20;
  constexpr int kRuleWidth = 100;
  for (int i = 0; i < 48; ++i) EmptyLine();
  const std::string rule = Blanks(kIndent) + std::string(kRuleWidth, kRuleDouble) + kLineEnd;
  ListingWrite(rule);
  ListingWrite(Blanks(kIndent + (kRuleWidth - Columns(title)) / 2) + MarkLetters(title) + kLineEnd);
  ListingWrite(rule);
  EndPage();
}

void CloseLastPage(bool listedSomething) {
  ListingPage& p = Page();
  if (!listedSomething || !p.PageInRange) return;
  if (!InViewMode() && p.LineNumber < p.PageLength - Listing().margins.bottom) {
    for (; p.LineNumber < p.PageLength; ++p.LineNumber) EmptyLine();
  }
  FrameLine(p.UseFormBottomRule ? p.FormBottomRule : p.BottomRule);
  EndPage();
}

bool CheckInterrupt() {
  ListingState& s = Listing();
  if (RunKeyPressed() && ReadKey() == kKeyEsc) s.interruptRequested = true;
  if (s.interruptRequested) {
    s.interruptRequested = false;
    s.listingContinue = false;
    return true;
  }
  s.listingContinue = true;
  return false;
}

void EmptyListingMessage(int reason) {
  if (Listing().quietEmpty) return;
  static const char* const kReasons[] = {"<< No hay datos para listar >>",
                                         "<< La Obra no usa datos de este listado >>",
                                         "<< La Rama y/o la Obra no tiene datos >>"};
  const int index = reason < 0 || reason > 2 ? 0 : reason;
  ShowMessageWindow({kNothingToPrint, kReasons[index], kPressAnyKey});
}

void ListingFoundNothing(int reason) {
  EmptyListingMessage(reason);
  ++Listing().emptyListingCount;
}

}  // namespace vantu
