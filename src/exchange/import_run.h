#pragma once
// One import of an exchange (.bc3) file into a new Rama and Obra. The set
// is written in a folder of its own inside the data directory and its
// files are moved into place only when all of them are complete, so a
// stop leaves no half set behind; a file that does not read, or whose
// codes would not fit, writes nothing. The original codes and the
// program's codes given to them go to a mapping file (CSV, UTF-8, ';'):
// "codigo original;codigo nuevo;tipo;resumen".

#include <string>
#include <vector>

#include "exchange/import_plan.h"

namespace vantu {

struct ImportRequest {
  std::string file;     // the .bc3 file
  std::string dir;      // data directory
  std::string rama;     // one character
  std::string obra;     // two characters
  std::string mapPath;  // "" for "importacion-<Rama><Obra>.csv" in dir
  bool toPeso = false;  // "Ajuste al peso", for the amounts of percentage lines
};

struct ImportResult {
  std::string refused;  // the data cannot be imported: why (nothing written)
  std::string failure;  // the import could not be carried out: why (nothing written)
  std::string mapWritten;
  std::vector<std::string> notes;  // what was carried differently or left aside
  int concepts = 0;
  bool Ok() const { return refused.empty() && failure.empty(); }
};

// The storage engine must be started and no set open in the work areas;
// areas 1-6 are used and left closed, and the selection's data directory
// is put back.
ImportResult ImportBc3(const ImportRequest& request);

// The mapping file's text.
std::string MappingCsv(const std::vector<CodeMapping>& rows);

}  // namespace vantu
