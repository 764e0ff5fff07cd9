// CSV tables: UTF-8 texts, the decimal mark and the separator of each
// convention, and quoting of fields that hold them.
#include "exchange/csv_writer.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "bc3_reader.h"
#include "exchange/export_text.h"
#include "exchange_fixture.h"

namespace vantu::test {
namespace {

// The fields of a CSV row, quotes undone.
std::vector<std::string> CsvFields(const std::string& row, char sep) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (size_t i = 0; i < row.size(); ++i) {
    const char c = row[i];
    if (quoted && c == '"' && i + 1 < row.size() && row[i + 1] == '"') {
      out.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == sep && !quoted) {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text, char sep) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : SplitOn(text, '\n'))
    if (!line.empty()) rows.push_back(CsvFields(line.substr(0, line.size() - 1), sep));
  return rows;
}

TEST(Cp1252ToUtf8Test, MapsLettersAndTheCodePagesOwnSigns) {
  const struct {
    const char* name;
    std::string in, out;
  } cases[] = {
      {"enye", "A\xD1O a\xF1o", "A\xC3\x91O a\xC3\xB1o"},
      {"accents", "Excavaci\xF3n m\xE1quina", "Excavaci\xC3\xB3n m\xC3\xA1quina"},
      {"euro and dash", "\x80 \x96", "\xE2\x82\xAC \xE2\x80\x93"},
      {"undefined byte", "\x81", "?"},
      {"ascii", "Hormigon 3000 psi", "Hormigon 3000 psi"},
  };
  for (const auto& c : cases) EXPECT_EQ(Cp1252ToUtf8(c.in), c.out) << c.name;
}

class CsvWriterTest : public ExchangeTest {};

TEST_F(CsvWriterTest, BudgetRowsCarryTheStoredFiguresInEitherConvention) {
  OpenCalculatedSet(kExportShapes[0]);
  ExportModel m = ReadExportModel();
  // A description with the letters and signs that must survive.
  m.chapters.at(0).description = "CIMENTACI\xD3N; \"A\xD1O\" \xBA";
  const struct {
    const char* name;
    CsvOptions options;
  } conventions[] = {{"coma", {';', ','}}, {"punto", {',', '.'}}};
  for (const auto& conv : conventions) {
    SCOPED_TRACE(conv.name);
    const auto tables = CsvTables(m, conv.options);
    const auto rows = CsvRows(tables.at("presupuesto.csv"), conv.options.separator);
    ASSERT_GT(rows.size(), 2u);
    EXPECT_EQ(rows[1][3], "CIMENTACI\xC3\x93N; \"A\xC3\x91O\" \xC2\xBA");
    size_t r = 1;
    for (const ExportChapter& c : m.chapters) {
      ASSERT_EQ(rows.at(r).size(), 8u);
      EXPECT_EQ(rows[r][0], c.code);
      std::string total = rows[r][7];
      if (conv.options.decimalMark == ',') {
        EXPECT_EQ(total.find('.'), std::string::npos) << total;
        std::replace(total.begin(), total.end(), ',', '.');
      }
      EXPECT_EQ(total, DecimalText(c.total, 2)) << c.code;
      for (const ExportBudgetItem& it : c.items) {
        ++r;
        ASSERT_EQ(rows.at(r).size(), 8u);
        EXPECT_EQ(rows.at(r)[1], it.code);
        std::string q = rows[r][5], price = rows[r][6];
        std::replace(q.begin(), q.end(), conv.options.decimalMark, '.');
        std::replace(price.begin(), price.end(), conv.options.decimalMark, '.');
        // A global item is one unit at its amount, as the listings show it.
        const bool global = it.refType == budget_item::kRefGlobal;
        EXPECT_NEAR(std::stod(q), global ? 1.0 : static_cast<double>(it.quantity), 1e-6) << it.code;
        EXPECT_EQ(price, DecimalText(global ? it.total : it.unitPrice, 2)) << it.code;
      }
      ++r;
    }
    EXPECT_EQ(rows.at(r)[3], "SUBTOTAL COSTO DIRECTO");
    EXPECT_EQ(rows.back()[3], "VALOR TOTAL DEL PRESUPUESTO");
  }
}

TEST_F(CsvWriterTest, EveryTableIsWrittenAndTheRowsMatchTheModel) {
  OpenCalculatedSet(kExportShapes[1]);
  const ExportModel m = ReadExportModel();
  const std::string dir = (root / "csv").string();
  ASSERT_EQ(WriteCsvTables(m, {}, dir), "");
  size_t lines = 0;
  for (const ExportAnalysis& a : m.analyses) {
    for (int g = 1; g <= 4; ++g) lines += a.sections[g].size();
    lines += a.desperdicioPct != 0 || a.stored.materialesWithWaste != a.stored.materiales;
    long double equipos = 0;
    for (const ExportLine& l : a.sections[1]) equipos += l.cost;
    lines += a.herramientaMenorPct != 0 || a.stored.equipos != equipos;
  }
  const struct {
    const char* file;
    size_t rows;
  } tables[] = {{"insumos.csv", m.inputs.size() + 1},
                {"subcontratos.csv", m.subcontracts.size() + 1},
                {"analisis.csv", m.analyses.size() + lines + 1}};
  for (const auto& t : tables) {
    std::ifstream in(root / "csv" / t.file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(CsvRows(text, ';').size(), t.rows) << t.file;
  }
  EXPECT_TRUE(fs::exists(root / "csv" / "presupuesto.csv"));
  EXPECT_FALSE(fs::exists(root / "csv" / "insumos.csv.tmp"));
}

TEST_F(CsvWriterTest, AnalysisRowsAreOfOneWidthAndTheirLinesAddToTheDirectCost) {
  for (const ExportShape& shape : kExportShapes) {
    SCOPED_TRACE(shape.name);
    OpenCalculatedSet(shape);
    const ExportModel m = ReadExportModel();
    const CsvOptions point{',', '.'};
    const auto rows = CsvRows(CsvTables(m, point).at("analisis.csv"), ',');
    std::map<std::string, long double> direct, lines;
    std::set<std::string> waste, tools;
    for (size_t r = 1; r < rows.size(); ++r) {
      ASSERT_EQ(rows[r].size(), 9u) << "row " << r;
      if (rows[r][4].empty()) {
        direct[rows[r][0]] = std::stold(rows[r][7]);
        continue;
      }
      lines[rows[r][0]] += std::stold(rows[r][6]);
      if (rows[r][4] == "Desperdicio") waste.insert(rows[r][0]);
      if (rows[r][4] == "Herramienta menor") tools.insert(rows[r][0]);
    }
    ASSERT_EQ(direct.size(), m.analyses.size());
    for (const ExportAnalysis& a : m.analyses) {
      // The direct cost is rounded to the peso as a whole in that mode.
      EXPECT_NEAR(static_cast<double>(lines[a.code]), static_cast<double>(direct[a.code]),
                  shape.roundToPeso ? 0.5 : 0.005)
          << a.code;
      if (a.desperdicioPct != 0 && !a.sections[2].empty()) {
        EXPECT_TRUE(waste.count(a.code)) << a.code;
      }
      if (a.herramientaMenorPct != 0 && !a.sections[4].empty()) {
        EXPECT_TRUE(tools.count(a.code)) << a.code;
      }
    }
    EXPECT_FALSE(waste.empty());
    EXPECT_FALSE(tools.empty());
    CloseSet();
  }
}

}  // namespace
}  // namespace vantu::test
