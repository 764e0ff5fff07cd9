#pragma once
// Fixture for the selection screen: the file-set fixture with the toolkit
// state reset, a consultant, and helpers that write named Ramas and Obras.

#include <string>
#include <vector>

#include "console/keys.h"
#include "platform/halt.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "selection/selection.h"
#include "selection/set_list.h"
#include "storage/file_sets_fixture.h"
#include "toolkit/error_review.h"
#include "toolkit/field_hooks.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/window_stack.h"

namespace vantu::test {

class SelectionTest : public FileSetsTest {
 protected:
  void SetUp() override {
    FileSetsTest::SetUp();
    ResetSchemes();
    ResetWindowStack();
    ResetStatusLine();
    ResetFieldEditor();
    ResetReview();
    ResetSetList();
    Shell().consultantName = "Ana Rojas";
    Shell().dataDir = dataDir.string();
    Shell().startDir = dataDir.string();
    Shell().openingWork = true;
    Selection().DataDirectory.clear();
  }

  // A Rama with its five files, a name and the set serial; Obras with names.
  void MakeRama(const std::string& rama, const std::string& name,
                const std::vector<std::pair<std::string, std::string>>& obras = {},
                int16_t serial = 0) {
    OpenSet(rama);
    GeneralDataRecord g;
    Set(g, general::RamaName, name);
    PutRec(Area(1).Data, 1, g.data());
    for (int n = 1; n <= 5; ++n) Area(n).SavedSetSerial = serial;
    CloseSet();
    for (const auto& [obra, obraName] : obras) {
      std::vector<uint8_t> buf(1024);
      OpenWorkArea(6, false, buf.data(), rama + obra, kSetRecordLength[6]);
      ObraHeader h;
      GetRec(Area(6).Data, 0, h.data());
      Set(h, obra_header::ObraName, obraName);
      PutRec(Area(6).Data, 0, h.data());
      CloseWorkArea(6);
    }
  }

  // Runs the screen; the exit code when the program stopped, else -1.
  int RunSelection() {
    try {
      SelectRamaObra();
    } catch (const Halt& h) {
      return h.exitCode;
    }
    return -1;
  }

  // The 45 cells of list row i (0..10).
  static std::string ListRow(int i) { return ScreenRow(kSetListTop + 1 + i).substr(17, 45); }
  bool Exists(const std::string& name) { return fs::exists(dataDir / name); }
};

}  // namespace vantu::test
