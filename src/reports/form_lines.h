#pragma once
// The ruled lines of the price-update forms. A form is a table of cells
// between vertical separators (byte 179); its rules use the code page 437
// pieces of each kind of line:
//
//   line            left  fill  junction  right
//   top             213   205   224       184
//   under heading   198   205   216       181
//   between rows    195   196   197       180
//   bottom          212   205   207       190

#include <string>
#include <vector>

namespace vantu {

inline constexpr char kFormSeparator = static_cast<char>(179);

// The widths of a form's cells, left to right, without the separators.
using FormCells = std::vector<int>;

// Width of the whole form: the cells and a separator on each side of each.
int FormWidth(const FormCells& cells);

enum class FormRule { Top, UnderHeading, BetweenRows, Bottom };
std::string FormRuleText(const FormCells& cells, FormRule rule);

// A heading written with "│" for the separator, in the listing file's bytes.
std::string FormHeadingText(const std::string& withBars);

// s cut or padded with blanks to w, then the separator.
std::string Cell(const std::string& s, int w);

// Sets up the page of a form: the listing's page with the form's top line,
// the rule under the heading and the bottom line that closes every page.
void BeginForm(const std::string& title, const std::string& heading, const FormCells& cells);

// The rule between rows, as a line.
void RowSeparator(const FormCells& cells);
// A row with empty cells, as a line.
void EmptyRow(const FormCells& cells);

// After the walk, on a written page: outside the viewer the page is filled
// with empty rows ready for handwriting (the fill stops at an interruption);
// then the bottom line and the end of the page.
void CloseLastFormPage(bool listedSomething, const FormCells& cells);

}  // namespace vantu
