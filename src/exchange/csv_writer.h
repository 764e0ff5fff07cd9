#pragma once
// The open set as CSV tables, one file per table, in UTF-8 with a header
// row: "presupuesto.csv" (chapters, items and the budget summary),
// "insumos.csv", "analisis.csv" (each analysis and its lines) and
// "subcontratos.csv". Spanish-locale spreadsheets expect ";" between fields
// and "," as the decimal mark; the other convention is "," and ".".
// A field holding the separator, a quote or a line break is quoted.

#include <map>
#include <string>

#include "exchange/export_model.h"

namespace vantu {

struct CsvOptions {
  char separator = ';';
  char decimalMark = ',';
};

// File name -> contents.
std::map<std::string, std::string> CsvTables(const ExportModel& m, const CsvOptions& o);

// Writes the tables into `directory` (created when missing). Returns "" or
// the reason it failed.
std::string WriteCsvTables(const ExportModel& m, const CsvOptions& o, const std::string& directory);

}  // namespace vantu
