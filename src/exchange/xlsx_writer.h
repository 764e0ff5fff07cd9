#pragma once
// The open set as a workbook (.xlsx), written with libxlsxwriter:
//   "Presupuesto"  chapters and items with quantities, unit prices and
//                  totals; each chapter's total a formula over its items,
//                  the sum of the chapters a formula over the chapters, then
//                  the budget summary with the AIU and the IVA
//   "Insumos"      the basic inputs with their group and prices
//   "Analisis"     each analysis with its costs, and its lines
// Amounts are numbers in a two-decimal money format; every formula carries
// the stored result, so a reader that does not recompute shows the same
// figures. The header row of each sheet is frozen.

#include <string>

#include "exchange/export_model.h"

namespace vantu {

inline constexpr const char* kMoneyFormat = "#,##0.00";
// The reason given where the program was built without workbooks.
inline constexpr const char* kWorkbookUnavailable =
    "exportacion a Excel no disponible en esta version";

// Writes the workbook to path (through a temporary file beside it). Returns
// "" or the reason it failed.
std::string WriteWorkbook(const ExportModel& m, const std::string& path);

}  // namespace vantu
