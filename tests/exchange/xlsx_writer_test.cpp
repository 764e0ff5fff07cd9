// The workbook read back by another reader (openpyxl): sheets, frozen
// headers, money formats, and chapter totals as formulas that recompute to
// the stored totals.
#include "exchange/xlsx_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "bc3_reader.h"
#include "exchange_fixture.h"

namespace vantu::test {
namespace {

// Dumps every cell as "sheet|row|column|value|cached|format" and every
// sheet's frozen cell as "sheet|freeze|cell".
constexpr const char* kDumpScript = R"(import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
cached = openpyxl.load_workbook(sys.argv[1], data_only=True)
for ws in wb.worksheets:
    print(ws.title + "|freeze|" + str(ws.freeze_panes))
    for row in ws.iter_rows():
        for c in row:
            if c.value is None:
                continue
            v = cached[ws.title].cell(row=c.row, column=c.column).value
            print("|".join([ws.title, str(c.row), c.column_letter, str(c.value), repr(v), c.number_format]))
)";

struct CellDump {
  std::string value, cached, format;
};

class XlsxWriterTest : public ExchangeTest {
 protected:
  // sheet -> "H12" -> cell; false when python3 is not there.
  bool ReadBack(const std::string& path,
                std::map<std::string, std::map<std::string, CellDump>>& cells,
                std::map<std::string, std::string>& frozen) {
    // Debian's interpreter, where its openpyxl is, before any other.
    const std::string python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    if (std::system((python + " -c '' >/dev/null 2>&1").c_str()) != 0) return false;
    const std::string script = (root / "dump.py").string();
    std::ofstream(script) << kDumpScript;
    FILE* p = popen((python + " '" + script + "' '" + path + "' 2>&1").c_str(), "r");
    std::string out;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0) << out;
    for (const std::string& line : SplitOn(out, '\n')) {
      const auto f = SplitOn(line, '|');
      if (f.size() == 3 && f[1] == "freeze") frozen[f[0]] = f[2];
      if (f.size() == 6) cells[f[0]][f[2] + f[1]] = {f[3], f[4], f[5]};
    }
    return true;
  }
};

TEST_F(XlsxWriterTest, ChapterTotalsAreFormulasOverTheirItemsAndAmountsAreMoney) {
  OpenCalculatedSet(kExportShapes[0]);
  const ExportModel m = ReadExportModel();
  const std::string path = (root / "obra.xlsx").string();
  ASSERT_EQ(WriteWorkbook(m, path), "");
  std::map<std::string, std::map<std::string, CellDump>> cells;
  std::map<std::string, std::string> frozen;
  if (!ReadBack(path, cells, frozen)) GTEST_SKIP() << "python3 is not installed";
  for (const char* sheet : {"Presupuesto", "Insumos", "Analisis"})
    EXPECT_EQ(frozen[sheet], "A2") << sheet;
  auto& budget = cells["Presupuesto"];
  int row = 2;
  std::string chapterRefs;
  for (const ExportChapter& c : m.chapters) {
    SCOPED_TRACE(c.code);
    const CellDump head = budget["H" + std::to_string(row)];
    const int first = row + 1, last = row + static_cast<int>(c.items.size());
    EXPECT_EQ(head.value, "=SUM(H" + std::to_string(first) + ":H" + std::to_string(last) + ")");
    EXPECT_NEAR(std::stod(head.cached), static_cast<double>(c.total), 1e-6);
    double recomputed = 0;
    for (int r = first; r <= last; ++r) {
      const CellDump item = budget["H" + std::to_string(r)];
      EXPECT_EQ(item.format, kMoneyFormat) << "row " << r;
      recomputed += std::stod(item.value);
    }
    EXPECT_NEAR(recomputed, static_cast<double>(c.total), 0.005) << "the formula recomputes";
    chapterRefs += (chapterRefs.empty() ? "=H" : "+H") + std::to_string(row);
    row = last + 1;
  }
  const CellDump total = budget["H" + std::to_string(row + 1)];
  EXPECT_EQ(total.value, chapterRefs);
  EXPECT_NEAR(std::stod(total.cached), static_cast<double>(m.budgetTotal), 1e-6);
  EXPECT_EQ(budget["D" + std::to_string(row + 9)].value, "VALOR TOTAL DEL PRESUPUESTO");
  EXPECT_NEAR(std::stod(budget["H" + std::to_string(row + 9)].value),
              static_cast<double>(m.summary.budgetTotal), 1e-6);
  auto& inputs = cells["Insumos"];
  ASSERT_FALSE(m.inputs.empty());
  EXPECT_EQ(inputs["A2"].value, m.inputs[0].code);
  EXPECT_NEAR(std::stod(inputs["F2"].value), static_cast<double>(m.inputs[0].priceUsed), 1e-6);
  EXPECT_EQ(inputs["F2"].format, kMoneyFormat);
}

TEST_F(XlsxWriterTest, AFailedWriteNamesTheFileAndLeavesNothing) {
  OpenCalculatedSet(kExportShapes[0]);
  const std::string path = (root / "missing" / "obra.xlsx").string();
  const std::string why = WriteWorkbook(ReadExportModel(), path);
  EXPECT_NE(why.find(path), std::string::npos) << why;
  EXPECT_FALSE(fs::exists(root / "missing"));
}

}  // namespace
}  // namespace vantu::test
