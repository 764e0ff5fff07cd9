#pragma once
// The line writers of the listings. Every writer appends to the listing
// file; "margin" is Page().LeftMargin blanks; widths are in characters.
// Control codes, margins' printer-only parts and form feeds are left out
// while the listing goes to the viewer.
//
// The text writers take their text as data: its letters are written as
// letters, never as frame pieces (see MarkLetters). Frames and rules go
// through StartLine, RuleLine, FrameLine and RightFrameLine, which write
// their bytes as they are.

#include <string>

namespace vantu {

// Text as the listing file holds it: every byte a reader would take for a
// frame or shade piece (129 and up, other than Ñ and ñ) follows the letter
// mark. Pairs already marked are kept, so marking twice changes nothing.
std::string MarkLetters(const std::string& s);
// Columns s takes on the page: letter marks take none.
int Columns(const std::string& s);

// Text pieces, returned rather than written, for lines built in parts.
std::string Blanks(int n);  // empty for n <= 0
// s followed by blanks up to w (none when s is longer).
std::string FieldText(const std::string& s, int w);
// s centred in w: (w - length) div 2 blanks, s, then the remaining blanks.
std::string CentredFieldText(const std::string& s, int w);
// x with `decimals` decimals and the number display's separators, right-
// aligned in exactly `width` characters. A number too wide for its column
// loses decimals two at a time, then its separators, and past that fills
// the column with '*': a column never pushes the next one or a frame.
std::string FittedNumber(int width, int decimals, long double x);
// The number shown with the fewest of 2, 4 or 6 decimals that loses nothing
// up to 6 decimals, fitted in w - 1 characters, then a blank; zero is w - 5
// blanks and "---- ".
std::string AmountText(int w, long double x);
// Decimals AmountText uses for x: 2, 4 or 6.
int AmountDecimals(long double x);

// Margin, then the piece c unless it is a blank; no line end.
void StartLine(char c = ' ');
// Text of the data, with no margin and no line end.
void DataText(const std::string& s);
// Margin and s as it is: a rule, a frame, or a line whose data pieces are
// already marked.
void FrameLine(const std::string& s);
// s as it is, ending at the page width.
void RightFrameLine(const std::string& s);
void LineEnd();
void EmptyLine();
void MarginLine(const std::string& s);
void CentredLine(const std::string& s);
void RightLine(const std::string& s);
void LeftRightLine(const std::string& a, const std::string& b);
// a at the margin, b centred in the page width, c ending at the width.
void ThreePartLine(const std::string& a, const std::string& b, const std::string& c);
void RuleLine(char c);
void Field(const std::string& s, int w);
void CentredField(const std::string& s, int w);
void WriteAmount(int w, long double x);
// FF and a line end; only the line end in the viewer.
void EndPage();
void BoldOn();
void BoldOff();
void CondensedOn();
void CondensedOff();

// Width of a blank at 9 points over one at 7 points on the printer; 1 in the
// viewer.
double FontRatio(int pointsA, int pointsB);
// A title in normal size and bold over the condensed body: centred in the
// page, or at the margin plus `indent`.
void CentredTitleLine(const std::string& s);
void LeftTitleLine(const std::string& s, int indent);

}  // namespace vantu
