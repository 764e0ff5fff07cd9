#include "reports/form_lines.h"

#include "reports/listing_engine.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"

namespace vantu {

namespace {

struct RulePieces {
  char left, fill, junction, right;
};

RulePieces PiecesOf(FormRule rule) {
  auto b = [](int byte) { return static_cast<char>(byte); };
  switch (rule) {
    case FormRule::Top:
      return {b(213), b(205), b(224), b(184)};
    case FormRule::UnderHeading:
      return {b(198), b(205), b(216), b(181)};
    case FormRule::BetweenRows:
      return {b(195), b(196), b(197), b(180)};
    case FormRule::Bottom:
      break;
  }
  return {b(212), b(205), b(207), b(190)};
}

// A row takes two lines of the page: the row and the rule under it.
constexpr int kRowLines = 2;

}  // namespace

int FormWidth(const FormCells& cells) {
  int width = 1;
  for (int w : cells) width += w + 1;
  return width;
}

std::string FormRuleText(const FormCells& cells, FormRule rule) {
  const RulePieces p = PiecesOf(rule);
  std::string text(1, p.left);
  for (size_t i = 0; i < cells.size(); ++i) {
    text.append(static_cast<size_t>(cells[i]), p.fill);
    text.push_back(i + 1 == cells.size() ? p.right : p.junction);
  }
  return text;
}

std::string FormHeadingText(const std::string& withBars) {
  static const std::string kBar = "│";
  std::string text = withBars;
  for (size_t at; (at = text.find(kBar)) != std::string::npos;)
    text.replace(at, kBar.size(), 1, kFormSeparator);
  return text;
}

std::string Cell(const std::string& s, int w) {
  return MarkLetters(FieldText(s.substr(0, static_cast<size_t>(w)), w)) + kFormSeparator;
}

void BeginForm(const std::string& title, const std::string& heading, const FormCells& cells) {
  BeginListing(title, heading, Prefs().marginsBudget);
  ListingPage& p = Page();
  p.TopRule = FormRuleText(cells, FormRule::Top);
  p.BottomRule = FormRuleText(cells, FormRule::UnderHeading);
  p.FormBottomRule = FormRuleText(cells, FormRule::Bottom);
  p.UseFormBottomRule = true;
}

void RowSeparator(const FormCells& cells) {
  FrameLine(FormRuleText(cells, FormRule::BetweenRows));
}

void EmptyRow(const FormCells& cells) {
  std::string row(1, kFormSeparator);
  for (int w : cells) row += Cell("", w);
  FrameLine(row);
}

void CloseLastFormPage(bool listedSomething, const FormCells& cells) {
  ListingPage& p = Page();
  if (!listedSomething || !p.PageInRange) return;
  if (!InViewMode() && p.LineNumber < p.PageLength - Listing().margins.bottom) {
    while (p.LineNumber < p.PageLength && !CheckInterrupt()) {
      EmptyRow(cells);
      RowSeparator(cells);
      p.LineNumber = static_cast<int16_t>(p.LineNumber + kRowLines);
    }
  }
  FrameLine(p.FormBottomRule);
  EndPage();
}

}  // namespace vantu
