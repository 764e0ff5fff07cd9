#pragma once
// Pages of a listing: geometry and margin, the page header with
// "Hoja [n] de [m]", page breaks, the separator page, the closing of the
// last page, interruption and the empty-listing notes.
//
// Every listing runs twice over its data: pass 1 calls PageHeader and
// PageBreakCheck with nothing written, counting the pages; pass 2 writes
// the pages that lie inside FromPage..ToPage with that count as the total.

#include <cstdint>
#include <string>

#include "session/preferences.h"

namespace vantu {

// In the viewer 1; otherwise the left adjustment plus 10, plus half the
// room a listing narrower than 125 characters leaves, or minus what a wider
// one takes.
int ComputeLeftMargin();

// "Control : " and the number padded with zeros to at least 4 digits.
std::string ControlText(int control);

// Sets the page up for a listing with a column heading: geometry of the
// printer kind, title, heading, width, margin, rules; LineNumber and
// PageCount 0.
void BeginListing(const std::string& title, const std::string& heading, const Margins& margins);
// The header and body geometry of the printer kind.
void SetPrinterGeometry();

// The generation of the last calculation that covered the area's file.
int16_t ControlOf(int area);

void PageHeader(const std::string& title, int control, int from, int to);
// Closes the page and starts the next when LineNumber has reached `limit`
// less the bottom adjustment.
void PageBreakCheck(int area, int from, int to, int limit);
// The page before a listing's first page, when printing from page 0.
void SeparatorPage();
// After the walk: fills the last page (not in the viewer), the bottom rule
// and the end of page, when something was listed on a page in range.
void CloseLastPage(bool listedSomething);

// Starts pass 1 or 2: PageNumber 0.
void StartPass(int pass);

// True when the listing must stop: a request to interrupt was seen. Clears
// the request and ListingContinue then; otherwise sets ListingContinue. An
// Esc waiting in the key queue is such a request.
bool CheckInterrupt();

enum EmptyReason : int {
  kEmptyNoRecords = 0,  // the listed file holds nothing
  kEmptyNotUsed = 1,    // nothing in it qualifies
  kEmptyNoData = 2,     // every listing of a total listing was empty
};
// The note, unless QuietEmpty; waits for a key.
void EmptyListingMessage(int reason);
// The note and a count in EmptyListingCount.
void ListingFoundNothing(int reason);

}  // namespace vantu
