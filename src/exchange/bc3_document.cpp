#include "exchange/bc3_document.h"

#include <cstdlib>

namespace vantu {

namespace {

struct RawRecord {
  std::string body;  // between '~' and the final '|'
  int line = 0;
};

std::string LineError(int line, const std::string& what) {
  return "linea " + std::to_string(line) + ": " + what;
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t at = s.find(sep, start);
    parts.push_back(s.substr(start, at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\n";
  const size_t first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// Blanks, line ends and the end-of-file mark some editors leave.
bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x1A';
}

// The records of the file. Text before the first '~' may only be blanks.
std::string SplitRecords(const std::string& bytes, std::vector<RawRecord>& out) {
  int line = 1;
  size_t i = 0;
  for (; i < bytes.size() && bytes[i] != '~'; ++i) {
    if (bytes[i] == '\n') ++line;
    if (!Blank(bytes[i]))
      return LineError(line, "texto fuera de un registro (los registros empiezan con '~')");
  }
  while (i < bytes.size()) {
    const size_t end = bytes.find('~', i + 1);
    std::string body = bytes.substr(i + 1, end == std::string::npos ? end : end - i - 1);
    const int start = line;
    for (const char c : body) line += c == '\n';
    while (!body.empty() && Blank(body.back())) body.pop_back();
    if (body.empty() || body.back() != '|')
      return LineError(start, "registro sin terminar (falta el separador final '|')");
    body.pop_back();
    out.push_back({body, start});
    if (end == std::string::npos) break;
    i = end;
  }
  return "";
}

// A number field; empty is `empty`. False when it does not read whole.
bool ReadNumber(const std::string& text, long double empty, long double& value) {
  const std::string t = Trim(text);
  if (t.empty()) {
    value = empty;
    return true;
  }
  char* end = nullptr;
  value = std::strtold(t.c_str(), &end);
  return end == t.c_str() + t.size();
}

std::string Field(const std::vector<std::string>& f, size_t i) {
  return i < f.size() ? f[i] : std::string();
}

std::string FirstSub(const std::string& field) {
  return Trim(Split(field, '\\')[0]);
}

class Reader {
 public:
  std::string Read(const std::vector<RawRecord>& records) {
    for (const RawRecord& r : records) {
      const std::vector<std::string> f = Split(r.body, '|');
      const std::string letter = Trim(f[0]);
      std::string error;
      if (letter == "V") {
        doc_.heading = Trim(Field(f, 4));
      } else if (letter == "K") {
        error = Percentages(f, r.line);
      } else if (letter == "C") {
        error = Concept(f, r.line);
      } else if (letter == "D" || letter == "Y") {
        error = Decomposition(f, r.line, letter == "Y");
      } else if (letter == "T") {
        texts_[FirstSub(Field(f, 1))] = Field(f, 2);
      } else {
        ++doc_.skipped[letter];
      }
      if (!error.empty()) return error;
    }
    for (const auto& [code, text] : texts_)
      if (doc_.concepts.count(code)) doc_.concepts[code].text = Trim(text);
    return "";
  }

  Bc3Document& Doc() { return doc_; }

 private:
  std::string Percentages(const std::vector<std::string>& f, int line) {
    const std::vector<std::string> p = Split(Field(f, 2), '\\');
    if (!ReadNumber(Field(p, 1), 0, doc_.generalExpensesPct) ||
        !ReadNumber(Field(p, 2), 0, doc_.profitPct) || !ReadNumber(Field(p, 4), 0, doc_.ivaPct))
      return LineError(line, "porcentaje no numerico en el registro ~K");
    return "";
  }

  std::string Concept(const std::vector<std::string>& f, int line) {
    Bc3Concept c;
    c.code = FirstSub(Field(f, 1));
    if (c.code.empty()) return LineError(line, "concepto ~C sin codigo");
    c.unit = Trim(Field(f, 2));
    c.summary = Trim(Field(f, 3));
    if (!ReadNumber(FirstSub(Field(f, 4)), 0, c.price))
      return LineError(line, "precio no numerico del concepto " + c.code);
    c.date = FirstSub(Field(f, 5));
    long double type = 0;
    // Types beyond the four numbers (letters of later versions) count as none.
    if (ReadNumber(Field(f, 6), 0, type) && type >= 0 && type <= 3) c.type = static_cast<int>(type);
    c.line = line;
    if (!doc_.concepts.count(c.code)) doc_.order.push_back(c.code);
    doc_.concepts[c.code] = c;
    return "";
  }

  // ~D gives a concept's lines; ~Y adds lines to the ones it has.
  std::string Decomposition(const std::vector<std::string>& f, int line, bool adds) {
    const std::string parent = FirstSub(Field(f, 1));
    if (parent.empty()) return LineError(line, "descomposicion ~D sin concepto padre");
    std::vector<std::string> sub = Split(Field(f, 2), '\\');
    if (!sub.empty() && Trim(sub.back()).empty()) sub.pop_back();
    if (sub.size() % 3 != 0)
      return LineError(line, "descomposicion de " + parent +
                                 " mal formada (cada linea lleva codigo\\factor\\rendimiento)");
    std::vector<Bc3Child> children;
    for (size_t i = 0; i < sub.size(); i += 3) {
      Bc3Child c;
      c.code = Trim(sub[i]);
      c.line = line;
      if (c.code.empty() || !ReadNumber(sub[i + 1], 1, c.factor) ||
          !ReadNumber(sub[i + 2], 1, c.yield))
        return LineError(line, "linea " + std::to_string(i / 3 + 1) + " de la descomposicion de " +
                                   parent + " mal formada");
      children.push_back(c);
    }
    std::vector<Bc3Child>& lines = doc_.decompositions[parent];
    if (!adds) lines.clear();
    lines.insert(lines.end(), children.begin(), children.end());
    if (!adds || !doc_.decompositionLine.count(parent)) doc_.decompositionLine[parent] = line;
    return "";
  }

  Bc3Document doc_;
  std::map<std::string, std::string> texts_;
};

}  // namespace

bool IsBc3Root(const std::string& code) {
  return code.size() > 2 && code.compare(code.size() - 2, 2, "##") == 0;
}

bool IsBc3Chapter(const std::string& code) {
  return code.size() > 1 && code.back() == '#' && !IsBc3Root(code);
}

bool IsBc3Percentage(const Bc3Concept& c) {
  return (!c.code.empty() && c.code[0] == '%') || c.unit == "%";
}

Bc3ReadResult ReadBc3(const std::string& bytes) {
  Bc3ReadResult result;
  // The declaration is plain ASCII in every set, so it is read before the
  // texts are turned into 1252.
  std::vector<RawRecord> raw;
  result.error = SplitRecords(bytes, raw);
  if (!result.error.empty()) return result;
  TextCharset charset = TextCharset::kAnsi;
  if (!raw.empty() && Trim(Split(raw[0].body, '|')[0]) == "V") {
    const std::string name = Field(Split(raw[0].body, '|'), 5);
    const std::optional<TextCharset> named = CharsetNamed(name);
    if (!named) {
      result.error = LineError(raw[0].line, "juego de caracteres desconocido: " + Trim(name));
      return result;
    }
    charset = *named;
  }
  if (charset != TextCharset::kAnsi) {
    raw.clear();
    result.error = SplitRecords(ToCp1252(bytes, charset), raw);
    if (!result.error.empty()) return result;
  }
  Reader reader;
  result.error = reader.Read(raw);
  result.doc = std::move(reader.Doc());
  result.doc.charset = charset;
  return result;
}

}  // namespace vantu
