#pragma once
// Command Q, "Exportar...": the open set written as an exchange file, a
// workbook or CSV tables, the format chosen by the type of the file named
// in the save dialog. A set changed since its last calculation is offered
// the calculation first; without it nothing is written.

#include <string>

namespace vantu {

// The dialog's file types, in the "label|pattern|..." form of ChooseFile.
inline constexpr const char* kExportFilter =
    "Presupuesto FIEBDC-3 (.bc3)|*.bc3|Libro de Excel (.xlsx)|*.xlsx|Tablas CSV (.csv)|*.csv";

void RunExport();

}  // namespace vantu
