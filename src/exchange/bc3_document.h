#pragma once
// Reading an exchange (.bc3) file: records from '~' to the next '~', fields
// split at '|' and sub-fields at '\'. Texts come out as Windows-1252 from
// the character set the ~V record declares. Of the record types, ~V, ~K,
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

struct Bc3Document {
  TextCharset charset = TextCharset::kAnsi;
  std::string heading;
  long double generalExpensesPct = 0, profitPct = 0, ivaPct = 0;  // ~K GG, BI, IVA
  std::map<std::string, Bc3Concept> concepts;
  std::vector<std::string> order;  // concept codes as first defined
  std::map<std::string, std::vector<Bc3Child>> decompositions;
  std::map<std::string, int> decompositionLine;
  std::map<std::string, int> skipped;  // record letter -> records left aside
};

struct Bc3ReadResult {
  Bc3Document doc;
  std::string error;  // "" when the file read; otherwise why, naming the line
};

Bc3ReadResult ReadBc3(const std::string& bytes);

// A concept code's kind by its suffix: "##" the root, "#" a chapter.
bool IsBc3Root(const std::string& code);
bool IsBc3Chapter(const std::string& code);
// A percentage line: a code starting with '%', or a concept measured in "%".
bool IsBc3Percentage(const Bc3Concept& c);

}  // namespace vantu
