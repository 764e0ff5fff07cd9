#include "exchange/csv_writer.h"

#include <filesystem>
#include <vector>

#include "exchange/export_text.h"

namespace vantu {

namespace {

class CsvTable {
 public:
  explicit CsvTable(const CsvOptions& o) : o_(o) {}

  CsvTable& Text(const std::string& cp1252) { return Cell(Cp1252ToUtf8(Trimmed(cp1252))); }
  CsvTable& Amount(long double x) { return Cell(Number(DecimalText(x, 2))); }
  CsvTable& Quantity(long double x) { return Cell(Number(DecimalText(x, 6, true))); }
  CsvTable& Empty() { return Cell(""); }
  void EndRow() {
    out_ += "\r\n";
    first_ = true;
  }
  void Row(std::initializer_list<const char*> headers) {
    for (const char* h : headers) Cell(h);
    EndRow();
  }
  const std::string& Contents() const { return out_; }

 private:
  std::string Number(std::string s) const {
    for (char& c : s)
      if (c == '.') c = o_.decimalMark;
    return s;
  }
  CsvTable& Cell(const std::string& value) {
    if (!first_) out_ += o_.separator;
    first_ = false;
    if (value.find_first_of(std::string(1, o_.separator) + "\"\r\n") == std::string::npos) {
      out_ += value;
      return *this;
    }
    out_ += '"';
    for (const char c : value) out_ += c == '"' ? std::string("\"\"") : std::string(1, c);
    out_ += '"';
    return *this;
  }

  const CsvOptions& o_;
  std::string out_;
  bool first_ = true;
};

std::string BudgetTable(const ExportModel& m, const CsvOptions& o) {
  CsvTable t(o);
  t.Row({"Capitulo", "Item", "Codigo pliegos", "Descripcion", "Unidad", "Cantidad",
         "Valor unitario", "Valor total"});
  for (const ExportChapter& c : m.chapters) {
    t.Text(c.code).Empty().Empty().Text(c.description).Empty().Empty().Empty().Amount(c.total);
    t.EndRow();
    for (const ExportBudgetItem& it : c.items) {
      t.Text(c.code).Text(it.code).Text(it.pliegosCode).Text(it.description).Text(it.unit);
      t.Quantity(ListedQuantity(it)).Amount(ListedUnitPrice(it)).Amount(it.total);
      t.EndRow();
    }
  }
  const BudgetSummary& s = m.summary;
  const std::pair<const char*, long double> rows[] = {
      {"SUBTOTAL COSTO DIRECTO", s.directCostTotal},
      {"AIU", s.aiuAmount},
      {"Administracion", s.adminAmount},
      {"Imprevistos", s.imprevistosAmount},
      {"Utilidad", s.utilidadAmount},
      {"SUBTOTAL", s.subtotalWithAiu},
      {"IVA", s.ivaAmount},
      {"VALOR TOTAL DEL PRESUPUESTO", s.budgetTotal}};
  for (const auto& [label, value] : rows) {
    t.Empty().Empty().Empty().Text(label).Empty().Empty().Empty().Amount(value);
    t.EndRow();
  }
  return t.Contents();
}

std::string InputsTable(const ExportModel& m, const CsvOptions& o) {
  CsvTable t(o);
  t.Row({"Codigo", "Descripcion", "Unidad", "Grupo", "Precio", "Precio con factor", "Fecha"});
  for (const ExportInput& in : m.inputs) {
    t.Text(in.code).Text(in.description).Text(in.unit).Text(std::string(GroupName(in.group)));
    t.Amount(in.price).Amount(in.priceUsed).Text(in.date);
    t.EndRow();
  }
  return t.Contents();
}

// Every row has the heading's nine cells. Under each analysis its lines,
// then the waste over the materials and the minor tools over the labour
// (which the cost rules add to the equipment) as lines of their own, so
// that the values add up to the direct cost.
std::string AnalysesTable(const ExportModel& m, const CsvOptions& o) {
  CsvTable t(o);
  t.Row({"Analisis", "Descripcion", "Unidad", "Grupo", "Linea", "Cantidad", "Valor",
         "Costo directo", "Precio unitario"});
  for (const ExportAnalysis& a : m.analyses) {
    t.Text(a.code).Text(a.description).Text(a.unit).Empty().Empty().Empty().Empty();
    t.Amount(a.stored.directCost).Amount(a.stored.unitPrice);
    t.EndRow();
    long double equipos = 0;
    for (int g = 1; g <= 4; ++g)
      for (const ExportLine& l : a.sections[g]) {
        const bool global = l.type == LineType::kGlobal;
        const std::string description = global && m.globals.count(l.globalRecNo)
                                            ? m.globals.at(l.globalRecNo).description
                                            : std::string();
        t.Text(a.code).Text(description).Empty().Text(std::string(GroupName(g)));
        t.Text(global ? std::string("Global") : l.code).Quantity(l.quantity).Amount(l.cost);
        t.Empty().Empty().EndRow();
        if (g == 1) equipos += l.cost;
      }
    const long double waste = a.stored.materialesWithWaste - a.stored.materiales;
    if (a.desperdicioPct != 0 || waste != 0) {
      t.Text(a.code).Text("Desperdicio").Text("%").Text(std::string(GroupName(2)));
      t.Text("Desperdicio").Quantity(a.desperdicioPct).Amount(waste).Empty().Empty().EndRow();
    }
    const long double tools = a.stored.equipos - equipos;
    if (a.herramientaMenorPct != 0 || tools != 0) {
      t.Text(a.code).Text("Herramienta menor").Text("%").Text(std::string(GroupName(1)));
      t.Text("Herramienta menor").Quantity(a.herramientaMenorPct).Amount(tools);
      t.Empty().Empty().EndRow();
    }
  }
  return t.Contents();
}

std::string SubcontractsTable(const ExportModel& m, const CsvOptions& o) {
  CsvTable t(o);
  t.Row({"Codigo", "Descripcion", "Unidad", "Costo directo", "Precio unitario"});
  for (const ExportSubcontract& s : m.subcontracts) {
    t.Text(s.code).Text(s.description).Text(s.unit).Amount(s.directCost).Amount(s.unitPrice);
    t.EndRow();
  }
  return t.Contents();
}

}  // namespace

std::map<std::string, std::string> CsvTables(const ExportModel& m, const CsvOptions& o) {
  std::map<std::string, std::string> tables = {
      {"insumos.csv", InputsTable(m, o)},
      {"analisis.csv", AnalysesTable(m, o)},
      {"subcontratos.csv", SubcontractsTable(m, o)},
  };
  if (m.hasObra) tables["presupuesto.csv"] = BudgetTable(m, o);
  return tables;
}

std::string WriteCsvTables(const ExportModel& m, const CsvOptions& o,
                           const std::string& directory) {
  std::error_code ec;
  std::filesystem::create_directories(directory, ec);
  if (ec) return "no se puede crear el directorio " + directory + ": " + ec.message();
  for (const auto& [name, contents] : CsvTables(m, o)) {
    const std::string why =
        WriteFileReplacing((std::filesystem::path(directory) / name).string(), contents);
    if (!why.empty()) return why;
  }
  return "";
}

}  // namespace vantu
