#include "exchange/xlsx_writer.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <utility>
#include <vector>

#include "exchange/export_text.h"

namespace vantu {

namespace {

struct Formats {
  lxw_format* header = nullptr;
  lxw_format* money = nullptr;
  lxw_format* quantity = nullptr;
  lxw_format* bold = nullptr;
  lxw_format* boldMoney = nullptr;
};

// One worksheet written row by row: `row` is the row being filled.
class Sheet {
 public:
  Sheet(lxw_workbook* wb, const Formats& f, const char* name)
      : ws_(workbook_add_worksheet(wb, name)), f_(f) {}

  void Headers(std::initializer_list<std::pair<const char*, double>> columns) {
    lxw_col_t c = 0;
    for (const auto& [title, width] : columns) {
      worksheet_write_string(ws_, 0, c, title, f_.header);
      worksheet_set_column(ws_, c, c, width, nullptr);
      ++c;
    }
    worksheet_freeze_panes(ws_, 1, 0);
    row = 1;
  }
  void Text(lxw_col_t c, const std::string& cp1252, lxw_format* f = nullptr) {
    const std::string s = Cp1252ToUtf8(Trimmed(cp1252));
    if (!s.empty()) worksheet_write_string(ws_, row, c, s.c_str(), f);
  }
  void Amount(lxw_col_t c, long double x, lxw_format* f = nullptr) {
    worksheet_write_number(ws_, row, c, static_cast<double>(x), f ? f : f_.money);
  }
  void Quantity(lxw_col_t c, long double x) {
    worksheet_write_number(ws_, row, c, static_cast<double>(x), f_.quantity);
  }
  // A formula at (r, c) that carries its stored result.
  void Formula(lxw_row_t r, lxw_col_t c, const std::string& formula, long double stored) {
    worksheet_write_formula_num(ws_, r, c, formula.c_str(), f_.boldMoney,
                                static_cast<double>(stored));
  }

  lxw_row_t row = 0;

 private:
  lxw_worksheet* ws_;
  const Formats& f_;
};

// "H12": column letter and 0-based row.
std::string Ref(char col, lxw_row_t r) {
  return col + std::to_string(r + 1);
}

void BudgetSheet(Sheet& s, const Formats& f, const ExportModel& m) {
  s.Headers({{"Capitulo", 9},
             {"Item", 8},
             {"Codigo pliegos", 14},
             {"Descripcion", 40},
             {"Unidad", 8},
             {"Cantidad", 12},
             {"Valor unitario", 16},
             {"Valor total", 18}});
  std::string chapterRefs;
  for (const ExportChapter& c : m.chapters) {
    const lxw_row_t head = s.row;
    s.Text(0, c.code, f.bold);
    s.Text(3, c.description, f.bold);
    ++s.row;
    for (const ExportBudgetItem& it : c.items) {
      s.Text(0, c.code);
      s.Text(1, it.code);
      s.Text(2, it.pliegosCode);
      s.Text(3, it.description);
      s.Text(4, it.unit);
      s.Quantity(5, ListedQuantity(it));
      s.Amount(6, ListedUnitPrice(it));
      s.Amount(7, it.total);
      ++s.row;
    }
    const std::string sum =
        c.items.empty() ? "=0" : "=SUM(" + Ref('H', head + 1) + ":" + Ref('H', s.row - 1) + ")";
    s.Formula(head, 7, sum, c.total);
    chapterRefs += (chapterRefs.empty() ? "" : "+") + Ref('H', head);
  }
  ++s.row;
  s.Text(3, "TOTAL CAPITULOS", f.bold);
  s.Formula(s.row, 7, chapterRefs.empty() ? "=0" : "=" + chapterRefs, m.budgetTotal);
  ++s.row;
  const BudgetSummary& b = m.summary;
  const std::pair<const char*, long double> rows[] = {
      {"SUBTOTAL COSTO DIRECTO", b.directCostTotal},
      {"AIU", b.aiuAmount},
      {"  Administracion", b.adminAmount},
      {"  Imprevistos", b.imprevistosAmount},
      {"  Utilidad", b.utilidadAmount},
      {"SUBTOTAL", b.subtotalWithAiu},
      {"IVA", b.ivaAmount},
      {"VALOR TOTAL DEL PRESUPUESTO", b.budgetTotal}};
  for (const auto& [label, value] : rows) {
    s.Text(3, label, f.bold);
    s.Amount(7, value, f.boldMoney);
    ++s.row;
  }
}

void InputsSheet(Sheet& s, const ExportModel& m) {
  s.Headers({{"Codigo", 9},
             {"Descripcion", 40},
             {"Unidad", 8},
             {"Grupo", 14},
             {"Precio", 16},
             {"Precio con factor", 18}});
  for (const ExportInput& in : m.inputs) {
    s.Text(0, in.code);
    s.Text(1, in.description);
    s.Text(2, in.unit);
    s.Text(3, std::string(GroupName(in.group)));
    s.Amount(4, in.price);
    s.Amount(5, in.priceUsed);
    ++s.row;
  }
}

void AnalysesSheet(Sheet& s, const Formats& f, const ExportModel& m) {
  s.Headers({{"Analisis", 9},
             {"Descripcion", 40},
             {"Unidad", 8},
             {"Grupo", 14},
             {"Linea", 9},
             {"Cantidad", 12},
             {"Valor", 16},
             {"Costo directo", 16},
             {"Precio unitario", 16}});
  for (const ExportAnalysis& a : m.analyses) {
    s.Text(0, a.code, f.bold);
    s.Text(1, a.description, f.bold);
    s.Text(2, a.unit);
    s.Amount(7, a.stored.directCost, f.boldMoney);
    s.Amount(8, a.stored.unitPrice, f.boldMoney);
    ++s.row;
    for (int g = 1; g <= 4; ++g)
      for (const ExportLine& l : a.sections[g]) {
        const bool global = l.type == LineType::kGlobal;
        s.Text(0, a.code);
        if (global && m.globals.count(l.globalRecNo))
          s.Text(1, m.globals.at(l.globalRecNo).description);
        s.Text(3, std::string(GroupName(g)));
        s.Text(4, global ? std::string("Global") : l.code);
        s.Quantity(5, l.quantity);
        s.Amount(6, l.cost);
        ++s.row;
      }
  }
}

Formats MakeFormats(lxw_workbook* wb) {
  Formats f;
  f.header = workbook_add_format(wb);
  format_set_bold(f.header);
  format_set_bottom(f.header, LXW_BORDER_THIN);
  f.money = workbook_add_format(wb);
  format_set_num_format(f.money, kMoneyFormat);
  f.quantity = workbook_add_format(wb);
  format_set_num_format(f.quantity, "#,##0.00####");
  f.bold = workbook_add_format(wb);
  format_set_bold(f.bold);
  f.boldMoney = workbook_add_format(wb);
  format_set_bold(f.boldMoney);
  format_set_num_format(f.boldMoney, kMoneyFormat);
  return f;
}

}  // namespace

std::string WriteWorkbook(const ExportModel& m, const std::string& path) {
  const std::string temp = path + ".tmp";
  lxw_workbook* wb = workbook_new(temp.c_str());
  if (!wb) return "no se puede crear " + path;
  const Formats f = MakeFormats(wb);
  if (m.hasObra) {
    Sheet budget(wb, f, "Presupuesto");
    BudgetSheet(budget, f, m);
  }
  Sheet inputs(wb, f, "Insumos");
  InputsSheet(inputs, m);
  Sheet analyses(wb, f, "Analisis");
  AnalysesSheet(analyses, f, m);
  const lxw_error err = workbook_close(wb);
  if (err != LXW_NO_ERROR) {
    std::remove(temp.c_str());
    return "no se puede escribir " + path + ": " + lxw_strerror(err);
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::remove(temp.c_str());
    return "no se puede escribir " + path + ": " + ec.message();
  }
  return "";
}

}  // namespace vantu
