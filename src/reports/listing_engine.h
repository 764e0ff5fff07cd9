#pragma once
// The listing engine's state: the page of the listing being written, the
// flags shared by the listing commands, and the listing file "LPT".
//
// Listing file: text lines ended by CR LF, Windows-1252 bytes, except that
// frames and rules use the code page 437 box and block bytes 176 to 224 (224
// stands for the single-down, double-horizontal piece, whose own position
// 209 is the letter Ñ). A letter of the data whose byte is 129 or more,
// other than Ñ and ñ, follows the letter mark (DEL, 127: no letter, and no
// control code in the viewer's text), so that É (201) is never read as the
// frame corner of the same byte; the mark takes no column.
// Printer control codes embedded in the text, never written when the
// listing goes to the viewer:
//
//   bytes     meaning
//   15        SI, condensed characters on
//   18        DC2, condensed characters off (normal size)
//   27 71     ESC G, bold (double strike) on
//   27 72     ESC H, bold off
//   12        FF, end of page (an empty line in the viewer)
//   127 b     letter mark: b is a letter of the data (also in the viewer)

#include <cstdint>
#include <cstdio>
#include <string>

#include "session/preferences.h"

namespace vantu {

inline constexpr char kCodeSI = 15;
inline constexpr char kCodeDC2 = 18;
inline constexpr char kCodeEsc = 27;
inline constexpr char kCodeFF = 12;
inline constexpr char kLetterMark = 127;
inline constexpr char kBoldOnLetter = 'G';
inline constexpr char kBoldOffLetter = 'H';
inline constexpr char kRuleDouble = static_cast<char>(205);
inline constexpr char kRuleSingle = static_cast<char>(196);
inline constexpr char kBoxDownSingleAcrossDouble = static_cast<char>(224);
inline constexpr const char* kLineEnd = "\r\n";

// Page geometry of the budget listings by printer kind.
inline constexpr int16_t kDotMatrixHeaderLines = 9;
inline constexpr int16_t kDotMatrixPageLength = 53;
inline constexpr int16_t kLaserHeaderLines = 14;
inline constexpr int16_t kLaserPageLength = 91;

// The page of the listing being written; each listing sets it up anew.
struct ListingPage {
  int16_t Pass = 1;        // 1 counts pages, writing nothing; 2 writes
  int16_t PageCount = 0;   // pages counted in pass 1
  int16_t PageNumber = 0;  // 0 before the first header
  int16_t LineNumber = 0;  // lines of the page used so far
  int16_t HeaderLines = kDotMatrixHeaderLines;
  int16_t PageLength = kDotMatrixPageLength;  // last line of the page body
  int16_t PageWidth = 0;
  int16_t LeftMargin = 0;
  bool PageInRange = false;
  bool BlankAfterHeader = false;
  bool HasColumnHeading = true;
  std::string ListingTitle;  // up to 255 characters
  std::string ColumnHeading;
  std::string TopRule;
  std::string BottomRule;
  std::string FormBottomRule;
  bool UseFormBottomRule = false;
};

// Listing kinds: the title the print selection shows for each.
enum ListingKind : int {
  kListingTotalBudget = 0,
  kListingInputs = 2,
  kListingUnitPriceSummary = 3,
  kListingAnalysesSeveral = 4,
  kListingAnalysesOnePerPage = 5,
  kListingSubcontracts = 6,
  kListingRequirements = 7,
  kListingWorkBudget = 8,
  kListingBudgetSummary = 9,
  kListingTotalForms = 10,
  kListingFormInputs = 12,
  kListingFormGlobals = 13,
  kListingFormSubcontracts = 14,
};

// Days after which a price's date is marked as old, until the user changes it.
inline constexpr int16_t kOldPriceDaysDefault = 90;

struct ListingState {
  ListingPage page;
  Margins margins;           // the adjustments that apply to the running listing
  bool wideListing = false;  // WideListing: the chart needs wide paper
  bool quietEmpty = false;   // QuietEmpty: total listings keep empty-listing notes back
  int16_t emptyListingCount = 0;
  bool listingContinue = true;
  bool interruptRequested = false;
  int16_t fromPage = 1;
  int16_t toPage = 0;
  int16_t copies = 1;
  int16_t oldPriceDays = kOldPriceDaysDefault;
  std::FILE* file = nullptr;  // the listing file while it is being written
  bool writeFailed = false;   // a write to the listing file failed
};

ListingState& Listing();
ListingPage& Page();
// Closes the listing file and puts every field back.
void ResetListingState();

// Flags the engine reads from the shell and the preferences.
bool InViewMode();
bool DotMatrix();

// The listing file's path: ShellState::listingFileName.
const std::string& ListingFileName();
// Appends bytes to the listing file, opening it for appending first.
void ListingWrite(const std::string& bytes);
void ListingWrite(char c);
// Closes the file (writes pending bytes); it is opened again on the next write.
void CloseListingFile();
// Empties the listing file.
void EmptyListingFile();

}  // namespace vantu
