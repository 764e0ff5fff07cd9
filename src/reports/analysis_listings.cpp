// The unit price analyses: several on a page, each a bold head, its group
// sections and the AIU; or one on each page with the chapter, item and
// unit as titles and fifteen rows shared by the four sections.
#include <algorithm>
#include <array>

#include "records/analysis_records.h"
#include "reports/analysis_lines.h"
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

const std::string kSeveralHeading =
    "CODIGO           D E S C R I P C I O N            UNIDAD          PRECIO         CANTIDAD"
    "      V/R PARCIAL          VALOR TOTAL";
const char* const kGroupNames[] = {"MAQUINARIA, EQUIPO ,HERRAMIENTAS", "MATERIALES    ",
                                   "TRANSPORTES", "MANO DE OBRA"};
const char* const kSectionHeadings[] = {
    "CODIGO  MAQUINARIA, EQUIPO Y HERRAMIENTAS    UNIDAD          PRECIO         CANTIDAD      "
    "V/R PARCIAL",
    "CODIGO    M  A  T  E  R  I  A  L  E  S       UNIDAD          PRECIO         CANTIDAD      "
    "V/R PARCIAL",
    "CODIGO  T  R  A  N  S  P  O  R  T  E  S      UNIDAD          PRECIO         CANTIDAD      "
    "V/R PARCIAL",
    "CODIGO  M  A  N  O    D  E    O  B  R  A     UNIDAD          PRECIO         CANTIDAD      "
    "V/R PARCIAL",
};
constexpr int kRowsPerAnalysis = 15;

AnalysisRecord AsAnalysis(const uint8_t* bytes) {
  AnalysisRecord r;
  std::copy(bytes, bytes + AnalysisRecord::kSize, r.bytes.begin());
  return r;
}

std::string Optional(int w, const std::optional<long double>& x) {
  return x ? AmountText(w, *x) : Blanks(w);
}

// "description ....... " cut to 37 characters.
std::string LineDescription(const std::string& s) {
  const int dots = 35 - static_cast<int>(s.size()) - 1;
  std::string text = s + " " + (dots > 0 ? std::string(static_cast<size_t>(dots), '.') : "") + " ";
  return text.substr(0, 37);
}

std::string CapitalTitle(const std::string& description) {
  const std::string upper = UpperDescription(description);
  const int dots = 38 - static_cast<int>(upper.size());
  return upper + " " + (dots > 0 ? std::string(static_cast<size_t>(dots), '.') : "");
}

// A section line; the subtotal goes in the last column when given.
void SeveralLine(const AnalysisPrintLine& l, const std::optional<long double>& subtotal) {
  StartLine();
  DataText(Blanks(5) + FieldText(l.code, 8) + FieldText(LineDescription(l.description), 37) +
           FieldText(l.unit, 6) + Optional(17, l.price) + Optional(17, l.quantity) +
           Optional(17, l.partial));
  if (subtotal) DataText("   $" + AmountText(17, *subtotal));
  LineEnd();
}

void SeveralAnalysis(ListingRun& r, const AnalysisRecord& a, const GeneralDataRecord& g) {
  if (r.Heading(2, 5)) {
    BoldOn();
    EmptyLine();
    StartLine();
    DataText(FieldText(ItemCodeText(Get(a, coded::Code)) + " - ", 10) +
             FieldText(CapitalTitle(Get(a, analysis::Description)), 40) +
             FieldText(Get(a, analysis::Unit), 6) +
             CentredFieldText("  " + std::string(48, '.') + "    $", 52) +
             AmountText(17, Get(a, analysis::UnitPrice)));
    LineEnd();
    BoldOff();
  }
  for (const AnalysisSection& s : AnalysisSections(a, g)) {
    if (r.Heading(1, 3)) MarginLine(Blanks(17) + kGroupNames[s.group - 1]);
    for (size_t i = 0; i < s.lines.size(); ++i) {
      const bool last = i + 1 == s.lines.size();
      if (r.Heading(1, 2)) SeveralLine(s.lines[i], last ? std::optional(s.subtotal) : std::nullopt);
    }
  }
  const long double aiu = Get(g, general::AiuPerItem);
  if (aiu > 0) {
    const long double direct = Get(a, analysis::DirectCost);
    AnalysisPrintLine l;
    l.description = "    AIU " + FixedAmount(5, aiu) + "% de $" + FixedAmount(17, direct);
    l.unit = "--";
    if (r.Line()) SeveralLine(l, RoundMoney(aiu * direct / 100));
  }
}

}  // namespace

bool ListAnalysesSeveral(int from, int to) {
  if (!ListedFileHasRecords(kAreaAnalyses)) return false;
  const GeneralDataRecord g = LoadListingData().general;
  BeginListing("A N A L I S I S   D E   P R E C I O S   U N I T A R I O S", kSeveralHeading,
               Prefs().marginsBudget);
  ChapterWalk walk;
  walk.area = kAreaAnalyses;
  walk.heading = [](ListingRun& r, const std::string& code, const std::string& description) {
    if (r.Heading(3, 7)) ChapterHeading(code, description, 10);
  };
  walk.item = [&](ListingRun& r, const uint8_t* rec) { SeveralAnalysis(r, AsAnalysis(rec), g); };
  ListingRun run{kAreaAnalyses, from, to};
  return RunTwoPasses(run, [&](ListingRun& r) { return WalkChapters(r, walk); });
}

namespace {

// Rows of each section: its lines (at least 1), then the rows left of 15
// spread evenly, the remainder to the first sections.
std::array<int, 4> SectionRows(const std::vector<AnalysisSection>& sections) {
  std::array<int, 4> rows{};
  int used = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    rows[i] = std::max<int>(1, static_cast<int>(sections[i].lines.size()));
    used += rows[i];
  }
  const int left = std::max(0, kRowsPerAnalysis - used);
  for (size_t i = 0; i < rows.size(); ++i)
    rows[i] += left / 4 + (static_cast<int>(i) < left % 4 ? 1 : 0);
  return rows;
}

// Columns of a section line, each ending under its heading's last letter:
// code, dotted description (with the blanks up to "UNIDAD"), unit, price,
// quantity and partial.
constexpr int kOnePageCode = 8, kOnePageDescription = 37, kOnePageUnit = 6;

// Writes one section; the number of lines written.
int OnePageSection(const AnalysisSection& s, int rows) {
  RuleLine(kRuleSingle);
  BoldOn();
  MarginLine(kSectionHeadings[s.group - 1]);
  BoldOff();
  RuleLine(kRuleSingle);
  for (const AnalysisPrintLine& l : s.lines) {
    MarginLine(FieldText(l.code, kOnePageCode) +
               FieldText(DottedText(l.description).substr(0, kOnePageDescription - 1),
                         kOnePageDescription) +
               FieldText(l.unit, kOnePageUnit) + Optional(17, l.price) + Optional(17, l.quantity) +
               Optional(17, l.partial));
  }
  for (int i = static_cast<int>(s.lines.size()); i < rows; ++i) EmptyLine();
  FrameLine(Blanks(86) + std::string(15, kRuleSingle));
  BoldOn();
  MarginLine(Blanks(69) + "S U B T O T A L" + FixedAmount(17, s.subtotal) + "      $" +
             FixedAmount(17, s.subtotal));
  BoldOff();
  return 5 + std::max(rows, static_cast<int>(s.lines.size()));
}

// Writes the page body of one analysis; the number of lines written.
int OnePageAnalysis(const AnalysisRecord& a, const GeneralDataRecord& g,
                    const std::string& chapterCode, const std::string& chapterDescription) {
  const std::string code = Get(a, coded::Code);
  LeftTitleLine("CAPITULO : " + chapterCode + " - " + chapterDescription, 3);
  EmptyLine();
  LeftTitleLine("ITEM     : " + code.substr(0, 2) + " " +
                    code.substr(std::min<size_t>(2, code.size())) + " - " +
                    UpperDescription(Get(a, analysis::Description)),
                3);
  EmptyLine();
  LeftTitleLine("UNIDAD   : " + Get(a, analysis::Unit), 3);
  EmptyLine();
  int lines = 6;
  std::vector<AnalysisSection> sections = AnalysisSections(a, g, true);
  const std::array<int, 4> rows = SectionRows(sections);
  for (size_t i = 0; i < sections.size(); ++i) lines += OnePageSection(sections[i], rows[i]);
  const long double direct = Get(a, analysis::DirectCost);
  const long double aiu = Get(g, general::AiuPerItem);
  BoldOn();
  RightLine("TOTAL DE COSTOS DIRECTOS ............. $" + FixedAmount(17, direct));
  RightLine(FixedAmount(5, aiu) + " % " + "COSTOS INDIRECTOS (AIU)" + " ...... $" +
            FixedAmount(17, RoundMoney(aiu * direct / 100)));
  RightFrameLine(std::string(17, kRuleDouble));
  RightLine("PRECIO UNITARIO TOTAL ................ $" +
            FixedAmount(17, Get(a, analysis::UnitPrice)));
  RightFrameLine(std::string(17, kRuleDouble));
  BoldOff();
  return lines + 5;
}

}  // namespace

bool ListAnalysesOnePerPage(int from, int to) {
  if (!ListedFileHasRecords(kAreaAnalyses)) return false;
  const GeneralDataRecord g = LoadListingData().general;
  BeginListing("A N A L I S I S   D E   P R E C I O S   U N I T A R I O S", std::string(125, ' '),
               Prefs().marginsBudget);
  ListingPage& p = Page();
  p.HasColumnHeading = false;
  p.BlankAfterHeader = true;
  ListingRun run{kAreaAnalyses, from, to};
  return RunTwoPasses(run, [&](ListingRun& r) {
    // Every analysis after the first starts a page of its own.
    bool first = true;
    std::string chapterCode, chapterDescription;
    ChapterWalk walk;
    walk.area = kAreaAnalyses;
    walk.chapter = [&](const uint8_t* rec) {
      chapterCode = ReadStr(rec + coded::Code.offset, 2);
      chapterDescription = ReadStr(rec + coded::kBodyStart, 35);
    };
    walk.heading = [](ListingRun&, const std::string&, const std::string&) {};
    walk.item = [&](ListingRun&, const uint8_t* rec) {
      if (!first) {
        if (p.PageInRange) {
          MarginLine(p.BottomRule);
          EndPage();
        }
        PageHeader(p.ListingTitle, ControlOf(kAreaAnalyses), from, to);
      }
      first = false;
      // The page's lines count, so the last page is filled to its foot
      // and no further.
      if (p.PageInRange)
        p.LineNumber = static_cast<int16_t>(
            p.LineNumber + OnePageAnalysis(AsAnalysis(rec), g, chapterCode, chapterDescription));
    };
    return WalkChapters(r, walk);
  });
}

}  // namespace vantu
