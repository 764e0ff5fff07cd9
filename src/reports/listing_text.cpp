#include "reports/listing_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "reports/listing_engine.h"
#include "toolkit/field_format.h"

namespace vantu {

namespace {

int Margin() {
  return Page().LeftMargin;
}
int Width() {
  return Page().PageWidth;
}
int Length(const std::string& s) {
  return Columns(s);
}

bool ReadAsPiece(unsigned char b) {
  return b >= 129 && b != 209 && b != 241;
}

void Code(char c) {
  if (!InViewMode()) ListingWrite(c);
}
void EscCode(char letter) {
  if (!InViewMode()) ListingWrite(std::string{kCodeEsc, letter});
}

// The ratio the dot-matrix printer's normal and condensed pitches have.
constexpr double kDotMatrixRatio = 1.67;

bool DotMatrixPrinterRoute() {
  return DotMatrix() && !InViewMode();
}

// Blanks before a title that is centred over the condensed body.
int TitleIndent(const std::string& s, double ratio) {
  return static_cast<int>(std::trunc(Margin() / ratio + (Width() / ratio - Length(s)) / 2));
}

}  // namespace

std::string MarkLetters(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == kLetterMark && i + 1 < s.size()) {
      out += s[i];
      out += s[++i];
      continue;
    }
    if (ReadAsPiece(static_cast<unsigned char>(s[i]))) out += kLetterMark;
    out += s[i];
  }
  return out;
}

int Columns(const std::string& s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] != kLetterMark || i + 1 == s.size()) ++n;
  return n;
}

std::string Blanks(int n) {
  return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string();
}

std::string FieldText(const std::string& s, int w) {
  return s + Blanks(w - Length(s));
}

std::string CentredFieldText(const std::string& s, int w) {
  const int before = (w - Length(s)) / 2;
  return Blanks(before) + s + Blanks(w - Length(s) - before);
}

int AmountDecimals(long double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6Lf", x);
  const std::string fixed = buffer;
  int zeros = 0;
  for (size_t i = fixed.size(); i-- > 0 && zeros < 5 && fixed[i] == '0';) ++zeros;
  if (zeros % 2 != 0) --zeros;
  return 6 - zeros;
}

std::string FittedNumber(int width, int decimals, long double x) {
  for (int d = std::max(decimals, 0);; d = std::max(d - 2, 0)) {
    const std::string text = FormatNumber(width, d, x);
    if (Length(text) <= width) return text;
    if (d == 0) break;
  }
  const std::string plain = PlainNumber(x, 0);
  if (Length(plain) <= width) return Blanks(width - Length(plain)) + plain;
  return std::string(static_cast<size_t>(std::max(width, 0)), '*');
}

std::string AmountText(int w, long double x) {
  if (x == 0) return Blanks(w - 5) + "---- ";
  return FittedNumber(w - 1, AmountDecimals(x), x) + " ";
}

void StartLine(char c) {
  ListingWrite(Blanks(Margin()));
  if (c != ' ') ListingWrite(c);
}

void LineEnd() {
  ListingWrite(kLineEnd);
}

void EmptyLine() {
  LineEnd();
}

void DataText(const std::string& s) {
  ListingWrite(MarkLetters(s));
}

void FrameLine(const std::string& s) {
  ListingWrite(Blanks(Margin()) + s + kLineEnd);
}

void RightFrameLine(const std::string& s) {
  ListingWrite(Blanks(Margin() + Width() - Length(s)) + s + kLineEnd);
}

void MarginLine(const std::string& s) {
  FrameLine(MarkLetters(s));
}

void CentredLine(const std::string& s) {
  ListingWrite(Blanks((Width() - Length(s)) / 2 + Margin()) + MarkLetters(s) + kLineEnd);
}

void RightLine(const std::string& s) {
  RightFrameLine(MarkLetters(s));
}

void LeftRightLine(const std::string& a, const std::string& b) {
  FrameLine(MarkLetters(a + Blanks(Width() - Length(a) - Length(b)) + b));
}

void ThreePartLine(const std::string& a, const std::string& b, const std::string& c) {
  const int bStart = (Width() - Length(b)) / 2;
  const int afterA = std::max(bStart, Length(a));
  std::string line = Blanks(Margin()) + a + Blanks(afterA - Length(a)) + b;
  line += Blanks(Width() - afterA - Length(b) - Length(c)) + c;
  ListingWrite(MarkLetters(line) + kLineEnd);
}

void RuleLine(char c) {
  ListingWrite(Blanks(Margin()) + std::string(static_cast<size_t>(std::max(Width(), 0)), c) +
               kLineEnd);
}

void Field(const std::string& s, int w) {
  DataText(FieldText(s, w));
}

void CentredField(const std::string& s, int w) {
  DataText(CentredFieldText(s, w));
}

void WriteAmount(int w, long double x) {
  ListingWrite(AmountText(w, x));
}

void EndPage() {
  Code(kCodeFF);
  LineEnd();
}

void BoldOn() {
  EscCode(kBoldOnLetter);
}
void BoldOff() {
  EscCode(kBoldOffLetter);
}
void CondensedOn() {
  Code(kCodeSI);
}
void CondensedOff() {
  Code(kCodeDC2);
}

// The printer face (Liberation Mono, metric-compatible with Courier New)
// advances 0.6 em at every size, so the blank widths are in the ratio of
// the point sizes.
double FontRatio(int pointsA, int pointsB) {
  if (InViewMode() || pointsB == 0) return 1;
  return static_cast<double>(pointsA) / pointsB;
}

void CentredTitleLine(const std::string& s) {
  if (DotMatrixPrinterRoute()) {
    Code(kCodeDC2);
    EscCode(kBoldOnLetter);
    ListingWrite(Blanks(TitleIndent(s, kDotMatrixRatio)) + MarkLetters(s));
    EscCode(kBoldOffLetter);
    Code(kCodeSI);
    LineEnd();
    return;
  }
  BoldOn();
  CondensedOff();
  ListingWrite(Blanks(TitleIndent(s, FontRatio(9, 7))) + MarkLetters(s) + kLineEnd);
  CondensedOn();
  BoldOff();
}

void LeftTitleLine(const std::string& s, int indent) {
  if (DotMatrixPrinterRoute()) {
    ListingWrite(Blanks(Margin()));
    Code(kCodeDC2);
    EscCode(kBoldOnLetter);
    DataText(s);
    EscCode(kBoldOffLetter);
    Code(kCodeSI);
    LineEnd();
    return;
  }
  BoldOn();
  CondensedOff();
  const int before = static_cast<int>(std::trunc(Margin() / FontRatio(9, 7))) + indent;
  ListingWrite(Blanks(before) + MarkLetters(s) + kLineEnd);
  CondensedOn();
  BoldOff();
}

}  // namespace vantu
