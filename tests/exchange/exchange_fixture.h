#pragma once
// Calculated generated sets opened as the selection leaves them, and the
// records an export must agree with, read straight from the files.

#include <string>
#include <vector>

#include "calc/record_cache.h"
#include "exchange/export_model.h"
#include "records/dataset_fixture.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"

namespace vantu::test {

struct ExportShape {
  const char* name;
  int16_t aiuMode;
  bool roundToPeso;
};

inline constexpr ExportShape kExportShapes[] = {
    {"aiu al final", general::kAiuAtEnd, false},
    {"aiu en cada item", general::kAiuPerItem, false},
    {"ajuste al peso", general::kAiuAtEnd, true},
};

class ExchangeTest : public DatasetTest {
 protected:
  // Generates a calculated set of this shape and opens Rama A, Obra 01.
  void OpenCalculatedSet(const ExportShape& s, bool calculated = true) {
    dataset::DatasetShape shape = SmallShape();
    shape.calculated = calculated;
    shape.aiuMode = s.aiuMode;
    shape.roundToPeso = s.roundToPeso;
    GenerateDataset(shape);
    Prefs().roundToPeso = s.roundToPeso;
    OpenSet("A", "01");
    Selection().RamaCode = "A";
    Selection().ObraCode = "01";
    Shell().obraSelected = true;
  }

  // Records in use of a coded file, chapters included, in record order.
  template <class R>
  std::vector<R> InUse(int area) {
    RecordCache<R> cache(area);
    std::vector<R> out;
    for (int r = 1; r < cache.Count(); ++r)
      if (Get(cache.Get(r), coded::RecordStatus) == 0) out.push_back(cache.Get(r));
    return out;
  }
};

}  // namespace vantu::test
