#pragma once
// One export of the open set: the format, where it goes, and the check
// that the stored prices are the calculated ones.

#include <optional>
#include <string>

#include "exchange/csv_writer.h"

namespace vantu {

enum class ExportFormat { kBc3, kXlsx, kCsv };

// "bc3", "xlsx", "csv".
std::optional<ExportFormat> ExportFormatNamed(const std::string& name);
// By the file's type: ".bc3", ".xlsx", ".csv" (any letter case). A ".csv"
// path names the directory of the tables by its stem.
std::optional<ExportFormat> ExportFormatOfPath(const std::string& path);

struct ExportResult {
  bool needsCalculation = false;  // nothing written: the set must be calculated first
  std::string error;              // nothing usable written: why
  std::string writtenTo;          // the file, or the folder of the CSV tables
  bool Ok() const { return !needsCalculation && error.empty(); }
};

// Writes the open set. A set changed since its last calculation is not
// exported.
ExportResult ExportOpenSet(ExportFormat format, const std::string& path,
                           const CsvOptions& csv = {});

}  // namespace vantu
