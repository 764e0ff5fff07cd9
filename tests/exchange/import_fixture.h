#pragma once
// Exchange files written by hand or by the program's own export, imported
// into new sets of the test's data directory, and what the import left.

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calc/review_and_calc.h"
#include "exchange/import_run.h"
#include "exchange_fixture.h"
#include "toolkit/error_file.h"

namespace vantu::test {

// Records between "~" and "|", one per line after the ~V header; the
// header is line 1.
inline std::string Bc3Of(const std::vector<std::string>& records,
                         const std::string& charset = "ANSI") {
  std::string text = "~V|prueba|FIEBDC-3/2016|prueba|Rama de prueba|" + charset + "||2|\r\n";
  for (const std::string& r : records) text += "~" + r + "|\r\n";
  return text;
}

struct MappingRow {
  std::string original, code, kind, summary;
};

class ImportTest : public ExchangeTest {
 protected:
  fs::path WriteFile(const std::string& text, const std::string& name = "entrada.bc3") {
    std::ofstream(root / name, std::ios::binary) << text;
    return root / name;
  }

  ImportResult Import(const fs::path& file, const std::string& rama, const std::string& obra) {
    ImportRequest r;
    r.file = file.string();
    r.dir = dataDir.string();
    r.rama = rama;
    r.obra = obra;
    r.toPeso = Prefs().roundToPeso;
    return ImportBc3(r);
  }

  // Opens the imported set as the selection leaves it and calculates it.
  RunOutcome OpenAndCalculate(const std::string& rama, const std::string& obra) {
    OpenSet(rama, obra);
    Selection().RamaCode = rama;
    Selection().ObraCode = obra;
    Shell().obraSelected = true;
    CalcObserver none;
    return ExecuteRun(PrepareRun(), none, "ApError");
  }

  // What the last run found, one error a line: file, code, what is missing.
  std::string Errors() {
    std::string text;
    for (const ErrorEntry& e : ReadErrorFile("ApError")) {
      text += std::to_string(e.targetKind) + " " + e.errCode + " " + e.detailsText;
      for (const uint8_t m : e.missing) text += " " + std::to_string(m);
      text += "\n";
    }
    return text;
  }

  // Names in the data directory, work folders included.
  std::set<std::string> Entries() {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dataDir)) names.insert(e.path().filename());
    return names;
  }

  // The mapping file's rows (after its heading), quoted fields unquoted.
  std::vector<MappingRow> Mapping(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::vector<MappingRow> rows;
    std::getline(in, line);
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::vector<std::string> f(1);
      bool quoted = false;
      for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
          f.back() += '"';
          ++i;
        } else if (c == '"') {
          quoted = !quoted;
        } else if (c == ';' && !quoted) {
          f.emplace_back();
        } else {
          f.back() += c;
        }
      }
      f.resize(4);
      rows.push_back({f[0], f[1], f[2], f[3]});
    }
    return rows;
  }

  // Original code -> new code of the rows of one kind.
  static std::map<std::string, std::string> CodesOf(const std::vector<MappingRow>& rows,
                                                    const std::string& kind) {
    std::map<std::string, std::string> codes;
    for (const MappingRow& r : rows)
      if (r.kind == kind) codes[r.original] = r.code;
    return codes;
  }
};

}  // namespace vantu::test
