#pragma once
// Reading an exchange (.bc3) file: records from '~' to the next '~', fields
// split at '|' and sub-fields at '\'. Texts come out as Windows-1252 from
// the character set the ~V record declares (850 when it declares none, as
// the format says; UTF-8 whatever it declares when the file starts with a
// byte-order mark). Of the record types, ~V, ~K,
// ~C, ~D (with ~Y, lines added to a decomposition) and ~T are read; the
// others are counted and left aside.
//
// A record that does not end with its '|' (a cut file, a lost separator),
// a concept without code, a number that does not read as one or a
// decomposition whose lines are not code\factor\yield triples stops the
// reading with the line where the record starts.

#include <map>
#include <string>
#include <vector>

#include "exchange/text_charsets.h"

namespace vantu {

struct Bc3Concept {
  std::string code, unit, summary, text, date;  // date "ddmmaa" or "ddmmaaaa"
  long double price = 0;
  int type = 0;  // 0 none, 1 labour, 2 machinery, 3 materials
  int line = 0;  // where the concept was defined
};

struct Bc3Child {
  std::string code;
  long double factor = 1, yield = 1;
  int line = 0;  // of the ~D record
};

// A ~M record: the measurement of `child` inside `parent` ("" when the
// record names the child alone), its stated total or the sum of its lines.
struct Bc3Measurement {
  std::string parent, child;
  long double total = 0;
  int position = 0;  // of the line in its parent's decomposition, 1-based; 0 unknown
  int lines = 0;     // measurement lines read
  int line = 0;      // of the ~M record
};

struct Bc3Document {
  TextCharset charset = TextCharset::kAnsi;
  std::string heading;
  long double generalExpensesPct = 0, profitPct = 0, ivaPct = 0;  // ~K GG, BI, IVA
  std::map<std::string, Bc3Concept> concepts;
  std::vector<std::string> order;  // concept codes as first defined
  std::map<std::string, std::vector<Bc3Child>> decompositions;
  std::map<std::string, int> decompositionLine;
  std::vector<Bc3Measurement> measurements;
  std::map<std::string, int> skipped;  // record letter -> records left aside
  std::map<std::string, std::vector<std::string>> skippedCodes;  // and the codes they name
  std::vector<std::string> warnings;  // what the text may have lost (charset)
};

struct Bc3ReadResult {
  Bc3Document doc;
  std::string error;  // "" when the file read; otherwise why, naming the line
};

Bc3ReadResult ReadBc3(const std::string& bytes);

// A concept code's kind by its suffix: "##" the root, "#" a chapter.
bool IsBc3Root(const std::string& code);
bool IsBc3Chapter(const std::string& code);
// A percentage: a code with a '%' anywhere ("%CI", "A%NAAE"). A concept
// measured in "%" without one is an ordinary concept, as the format says.
bool IsBc3Percentage(const std::string& code);

}  // namespace vantu
