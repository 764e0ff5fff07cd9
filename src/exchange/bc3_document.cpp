#include "exchange/bc3_document.h"

#include <cmath>

#include "exchange/bc3_numbers.h"

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
// Every tool ends its last record with a line end (or the end-of-file
// mark): a file whose last byte is the '|' was cut there, and what followed
// (the rest of a price, the lines after it) is lost.
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
    if (end == std::string::npos && bytes.back() == '|')
      return LineError(start,
                       "el archivo termina justo tras un '|', sin fin de linea: parece "
                       "cortado");
    out.push_back({body, start});
    if (end == std::string::npos) break;
    i = end;
  }
  return "";
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
      } else if (letter == "M") {
        error = Measurement(f, r.line);
      } else if (letter == "T") {
        texts_[FirstSub(Field(f, 1))] = Field(f, 2);
      } else {
        ++doc_.skipped[letter];
        doc_.skippedCodes[letter].push_back(FirstSub(Field(f, 1)));
      }
      if (!error.empty()) return error;
    }
    ResolveChapterReferences();
    for (const auto& [code, text] : texts_) {
      const std::string c = Resolved(code);
      if (doc_.concepts.count(c)) doc_.concepts[c].text = Trim(text);
    }
    return "";
  }

  Bc3Document& Doc() { return doc_; }

 private:
  // CI\GG\BI\BAJA\IVA: general expenses, profit and IVA are read.
  std::string Percentages(const std::vector<std::string>& f, int line) {
    const std::vector<std::string> p = Split(Field(f, 2), '\\');
    const std::pair<size_t, long double*> read[] = {
        {1, &doc_.generalExpensesPct}, {2, &doc_.profitPct}, {4, &doc_.ivaPct}};
    for (const auto& [at, value] : read) {
      const std::string why = ReadBc3Number(Field(p, at), 0, kBc3MaxPercent, *value);
      if (!why.empty()) return LineError(line, "porcentaje del registro ~K: " + why);
      if (*value < 0) return LineError(line, "porcentaje negativo en el registro ~K");
    }
    return "";
  }

  std::string Concept(const std::vector<std::string>& f, int line) {
    Bc3Concept c;
    c.code = FirstSub(Field(f, 1));
    if (c.code.empty()) return LineError(line, "concepto ~C sin codigo");
    c.unit = Trim(Field(f, 2));
    c.summary = Trim(Field(f, 3));
    const std::string why = ReadBc3Number(FirstSub(Field(f, 4)), 0, kBc3MaxPrice, c.price);
    if (!why.empty()) return LineError(line, "precio del concepto " + c.code + ": " + why);
    c.date = FirstSub(Field(f, 5));
    long double type = 0;
    // Types beyond the four numbers (letters of later versions) count as none.
    if (ReadBc3Number(Field(f, 6), 0, 3, type).empty() && type >= 0 && type == std::floor(type))
      c.type = static_cast<int>(type);
    c.line = line;
    if (!doc_.concepts.count(c.code)) doc_.order.push_back(c.code);
    doc_.concepts[c.code] = c;
    return "";
  }

  // PARENT\CHILD | positions | total | type\comment\units\length\width\height\...
  // A line's amount is the product of the numbers it gives; subtotal lines
  // (types 1 and 2) repeat others and add nothing. The stated total, when
  // there is one, is the measurement.
  std::string Measurement(const std::vector<std::string>& f, int line) {
    Bc3Measurement m;
    m.line = line;
    const std::vector<std::string> codes = Split(Field(f, 1), '\\');
    m.child = Trim(codes.back());
    if (codes.size() > 1) m.parent = Trim(codes[0]);
    if (m.child.empty()) return LineError(line, "medicion ~M sin concepto");
    const std::string which = "medicion de " + m.child + ": ";
    // The positions run from the root to the line: the last is the line's.
    std::vector<std::string> positions = Split(Field(f, 2), '\\');
    while (!positions.empty() && Trim(positions.back()).empty()) positions.pop_back();
    long double position = 0;
    if (!positions.empty() && ReadBc3Number(positions.back(), 0, 99999, position).empty() &&
        position >= 1 && position == std::floor(position))
      m.position = static_cast<int>(position);
    std::vector<std::string> sub = Split(Field(f, 4), '\\');
    long double sum = 0;
    for (size_t i = 0; i < sub.size(); i += 6) {
      bool written = false;
      for (size_t k = 0; k < 6; ++k) written = written || !Trim(Field(sub, i + k)).empty();
      if (!written) continue;
      long double product = 1;
      bool any = false;
      for (size_t k = 2; k < 6; ++k) {
        long double v = 0;
        const std::string why = ReadBc3Number(Field(sub, i + k), 0, kBc3MaxPrice, v);
        if (!why.empty()) return LineError(line, which + why);
        if (Trim(Field(sub, i + k)).empty()) continue;
        product *= v;
        any = true;
      }
      ++m.lines;
      const std::string type = Trim(sub[i]);
      if (any && type != "1" && type != "2") sum += product;
    }
    m.total = sum;
    const std::string stated = Field(f, 3);
    const std::string why = ReadBc3Number(stated, sum, kBc3MaxPrice, m.total);
    if (!why.empty()) return LineError(line, which + why);
    if (std::fabs(m.total) > kBc3MaxPrice)
      return LineError(line, which + "la suma de sus lineas excede lo que admite el campo");
    doc_.measurements.push_back(m);
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
      const std::string which =
          "linea " + std::to_string(i / 3 + 1) + " de la descomposicion de " + parent;
      if (c.code.empty()) return LineError(line, which + " sin codigo");
      std::string why = ReadBc3Number(sub[i + 1], 1, kBc3MaxYield, c.factor);
      if (why.empty()) why = ReadBc3Number(sub[i + 2], 1, kBc3MaxYield, c.yield);
      if (!why.empty()) return LineError(line, which + ": " + why);
      children.push_back(c);
    }
    std::vector<Bc3Child>& lines = doc_.decompositions[parent];
    if (!adds) lines.clear();
    lines.insert(lines.end(), children.begin(), children.end());
    if (!adds || !doc_.decompositionLine.count(parent)) doc_.decompositionLine[parent] = line;
    return "";
  }

  // Several tools name a chapter in a decomposition without its "#" (or
  // the root without "##"): a code not defined whose "#" form is, is that
  // concept.
  std::string Resolved(const std::string& code) const {
    if (doc_.concepts.count(code)) return code;
    for (const char* mark : {"#", "##"})
      if (doc_.concepts.count(code + mark)) return code + mark;
    return code;
  }

  void ResolveChapterReferences() {
    std::map<std::string, std::vector<Bc3Child>> decompositions;
    std::map<std::string, int> lines;
    for (auto& [parent, children] : doc_.decompositions) {
      for (Bc3Child& c : children) c.code = Resolved(c.code);
      const std::string p = Resolved(parent);
      std::vector<Bc3Child>& into = decompositions[p];
      into.insert(into.end(), children.begin(), children.end());
      if (!lines.count(p)) lines[p] = doc_.decompositionLine[parent];
    }
    doc_.decompositions = std::move(decompositions);
    doc_.decompositionLine = std::move(lines);
    for (Bc3Measurement& m : doc_.measurements) {
      if (!m.parent.empty()) m.parent = Resolved(m.parent);
      m.child = Resolved(m.child);
    }
  }

  Bc3Document doc_;
  std::map<std::string, std::string> texts_;
};

// A byte sequence that is valid UTF-8 for a letter of Latin-1 (lead bytes
// C2-C3 and a continuation byte): in a file declared in a one-byte code page
// it is the usual sign of UTF-8 text read as such ("colocaciÃ³n").
bool LooksUtf8(const std::string& bytes, size_t& at) {
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const auto next = static_cast<unsigned char>(bytes[i + 1]);
    if ((lead == 0xC2 || lead == 0xC3) && (next & 0xC0) == 0x80) {
      at = i;
      return true;
    }
  }
  return false;
}

int LineAt(const std::string& bytes, size_t at) {
  int line = 1;
  for (size_t i = 0; i < at && i < bytes.size(); ++i) line += bytes[i] == '\n';
  return line;
}

// The words around `at`, as far as the nearest separator.
std::string WordAt(const std::string& bytes, size_t at) {
  const char* stops = "|\\~\r\n";
  size_t from = bytes.find_last_of(stops, at);
  from = from == std::string::npos ? 0 : from + 1;
  const size_t to = bytes.find_first_of(stops, at);
  return bytes.substr(
      from, std::min<size_t>(to == std::string::npos ? bytes.size() - from : to - from, 60));
}

}  // namespace

bool IsBc3Root(const std::string& code) {
  return code.size() > 2 && code.compare(code.size() - 2, 2, "##") == 0;
}

bool IsBc3Chapter(const std::string& code) {
  return code.size() > 1 && code.back() == '#' && !IsBc3Root(code);
}

bool IsBc3Percentage(const std::string& code) {
  return code.find('%') != std::string::npos;
}

Bc3ReadResult ReadBc3(const std::string& file) {
  Bc3ReadResult result;
  // A byte-order mark says UTF-8 whatever the file declares.
  const bool bom = file.compare(0, 3, "\xEF\xBB\xBF") == 0;
  const std::string bytes = bom ? file.substr(3) : file;
  // The declaration is plain ASCII in every set, so it is read before the
  // texts are turned into 1252.
  std::vector<RawRecord> raw;
  result.error = SplitRecords(bytes, raw);
  if (!result.error.empty()) return result;
  TextCharset charset = TextCharset::kCp850;
  std::string declared;
  if (!raw.empty() && Trim(Split(raw[0].body, '|')[0]) == "V") {
    declared = Trim(Field(Split(raw[0].body, '|'), 5));
    const std::optional<TextCharset> named = CharsetNamed(declared);
    if (!named) {
      result.error = LineError(raw[0].line, "juego de caracteres desconocido: " + declared);
      return result;
    }
    charset = *named;
  }
  std::vector<std::string> warnings;
  const std::string shownName = declared.empty() ? "(vacio: 850)" : declared;
  size_t at = 0;
  if (bom && charset != TextCharset::kUtf8) {
    warnings.push_back("el archivo empieza con la marca de UTF-8 y declara el juego " + shownName +
                       ": se lee como UTF-8");
    charset = TextCharset::kUtf8;
  } else if (charset != TextCharset::kUtf8 && LooksUtf8(bytes, at)) {
    warnings.push_back("linea " + std::to_string(LineAt(bytes, at)) + ": el archivo declara el " +
                       "juego " + shownName + " pero su texto parece UTF-8 (\"" +
                       ToCp1252(WordAt(bytes, at), TextCharset::kUtf8) +
                       "\"): revise los textos importados");
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
  result.doc.warnings = std::move(warnings);
  return result;
}

}  // namespace vantu
