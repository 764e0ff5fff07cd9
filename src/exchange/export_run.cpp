#include "exchange/export_run.h"

#include <algorithm>
#include <filesystem>

#include "exchange/bc3_writer.h"
#include "exchange/export_model.h"
#include "exchange/export_text.h"
#include "exchange/xlsx_writer.h"

namespace vantu {

std::optional<ExportFormat> ExportFormatNamed(const std::string& name) {
  if (name == "bc3") return ExportFormat::kBc3;
  if (name == "xlsx") return ExportFormat::kXlsx;
  if (name == "csv") return ExportFormat::kCsv;
  return std::nullopt;
}

std::optional<ExportFormat> ExportFormatOfPath(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext.empty() ? std::nullopt : ExportFormatNamed(ext.substr(1));
}

ExportResult ExportOpenSet(ExportFormat format, const std::string& path, const CsvOptions& csv) {
  ExportResult r;
  if (SetNeedsCalculation()) {
    r.needsCalculation = true;
    return r;
  }
  const ExportModel m = ReadExportModel();
  r.writtenTo = path;
  switch (format) {
    case ExportFormat::kBc3:
      r.error = WriteFileReplacing(path, Bc3Text(m));
      break;
    case ExportFormat::kXlsx:
      r.error = WriteWorkbook(m, path);
      break;
    case ExportFormat::kCsv: {
      // A file name chosen in a dialog ("obra.csv") names the tables' folder.
      std::filesystem::path dir(path);
      if (ExportFormatOfPath(path) == ExportFormat::kCsv) dir.replace_extension();
      r.writtenTo = dir.string();
      r.error = WriteCsvTables(m, csv, r.writtenTo);
      break;
    }
  }
  return r;
}

}  // namespace vantu
