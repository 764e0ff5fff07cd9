#pragma once
// A minimal reader of exchange (.bc3) files for the tests: records split at
// '~', fields at '|', sub-fields at '\', and the recomputation a reader
// that follows the format does: a concept with a decomposition costs the
// sum of its lines, each the child's price times the yield rounded to the
// money decimals; a percentage line (a code with '%') costs its rate times
// the lines above it.

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace vantu::test {

struct Bc3Concept {
  std::string unit, summary, date;
  std::string priceText;
  int type = 0;
};

struct Bc3Line {
  std::string code;
  long double factor = 1, yield = 0;
};

struct Bc3Measure {
  std::string position;
  long double total = 0;
};

struct Bc3File {
  std::vector<std::vector<std::string>> records;  // fields, the letter first
  std::vector<std::string> malformed;             // what did not parse, and why
  std::map<std::string, Bc3Concept> concepts;
  std::map<std::string, std::vector<Bc3Line>> decompositions;
  std::map<std::string, Bc3Measure> measures;  // "parent\child" -> measure
  std::map<std::string, std::string> texts;
  int moneyDecimals = 2;  // of amounts: a line's price times its yield
};

inline std::vector<std::string> SplitOn(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t at = s.find(sep, start);
    parts.push_back(s.substr(start, at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

inline long double Number(const std::string& s) {
  return std::strtold(s.c_str(), nullptr);
}

inline void ReadDecomposition(Bc3File& f, const std::vector<std::string>& fields) {
  std::vector<std::string> sub = SplitOn(fields[2], '\\');
  if (sub.size() % 3 != 1 || !sub.back().empty()) {
    f.malformed.push_back("D " + fields[1] + ": lines not in threes");
    return;
  }
  std::vector<Bc3Line>& lines = f.decompositions[fields[1]];
  for (size_t i = 0; i + 2 < sub.size(); i += 3)
    lines.push_back({sub[i], Number(sub[i + 1]), Number(sub[i + 2])});
}

inline Bc3File ParseBc3(const std::string& text) {
  Bc3File f;
  for (const std::string& chunk : SplitOn(text, '~')) {
    if (chunk.empty()) continue;
    if (chunk.size() < 4 || chunk.substr(chunk.size() - 3) != "|\r\n") {
      f.malformed.push_back("record not ended by |CRLF: " + chunk.substr(0, 20));
      continue;
    }
    std::vector<std::string> fields = SplitOn(chunk.substr(0, chunk.size() - 3), '|');
    f.records.push_back(fields);
    const std::string& kind = fields[0];
    const size_t want = kind == "C" ? 7 : kind == "D" || kind == "T" ? 3 : kind == "M" ? 5 : 0;
    if (want != 0 && fields.size() != want) {
      f.malformed.push_back(kind + " with " + std::to_string(fields.size()) + " fields");
      continue;
    }
    if (kind == "C") {
      if (f.concepts.count(fields[1])) f.malformed.push_back("concept twice: " + fields[1]);
      f.concepts[fields[1]] = {fields[2], fields[3], fields[5], fields[4],
                               std::atoi(fields[6].c_str())};
    } else if (kind == "D") {
      ReadDecomposition(f, fields);
    } else if (kind == "M") {
      f.measures[fields[1]] = {fields[2], Number(fields[3])};
    } else if (kind == "T") {
      f.texts[fields[1]] = fields[2];
    } else if (kind == "K") {
      const std::vector<std::string> dec = SplitOn(fields.at(3), '\\');
      f.moneyDecimals = std::atoi(dec.at(7).c_str());  // DI, decimals of amounts
    } else if (kind != "V") {
      f.malformed.push_back("unknown record " + kind);
    }
  }
  return f;
}

inline long double RoundTo(long double x, int decimals) {
  const long double scale = std::pow(10.0L, decimals);
  return std::trunc(x * scale + (x < 0 ? -0.5L : 0.5L)) / scale;
}

// The price of code as a reader recomputes it from the leaves' prices.
inline long double Recomputed(const Bc3File& f, const std::string& code) {
  const auto d = f.decompositions.find(code);
  if (d == f.decompositions.end()) return Number(f.concepts.at(code).priceText);
  long double sum = 0;
  for (const Bc3Line& l : d->second) {
    if (l.code.find('%') != std::string::npos)
      sum += RoundTo(sum * l.factor * l.yield, f.moneyDecimals);
    else
      sum += RoundTo(Recomputed(f, l.code) * l.factor * l.yield, f.moneyDecimals);
  }
  return sum;
}

}  // namespace vantu::test
