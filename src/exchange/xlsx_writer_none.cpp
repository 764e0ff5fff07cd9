// The workbook export where the program is built without libxlsxwriter
// (the Windows build): the format is refused with a reason, and the other
// formats are unchanged.
#include "exchange/xlsx_writer.h"

namespace vantu {

std::string WriteWorkbook(const ExportModel&, const std::string&) {
  return kWorkbookUnavailable;
}

}  // namespace vantu
