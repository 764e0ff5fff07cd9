#include "reports/budget_listing_data.h"

#include <vector>

#include "reports/listing_engine.h"
#include "reports/listing_text.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/field_format.h"

namespace vantu {

BudgetListingData LoadListingData() {
  BudgetListingData d;
  if (Area(kAreaGeneral).Data.isOpen && UsedRecordCount(Area(kAreaGeneral).Data) > 0)
    GetRec(Area(kAreaGeneral).Data, 1, d.general.data());
  d.obraOpen = Shell().obraSelected && Area(kAreaBudget).Data.isOpen;
  if (d.obraOpen) {
    GetRec(Area(kAreaBudget).Data, 0, d.obra.data());
    d.summary =
        SummaryOf(Get(d.obra, obra_header::BudgetItemsTotal), d.general, Prefs().roundToPeso);
  }
  return d;
}

bool WalkIndex(IndexFileState& index, DataFileState& data, int recordLength,
               const std::function<bool(const uint8_t* rec, const std::string& key)>& visit) {
  std::vector<uint8_t> buffer(static_cast<size_t>(recordLength), 0);
  ResetKeyPosition(index);
  for (;;) {
    int16_t r = 0;
    std::string key;
    NextKey(index, r, key);
    if (!LastOpOk()) return true;
    GetRec(data, r, buffer.data());
    if (!visit(buffer.data(), key)) {
      ResetKeyPosition(index);
      return false;
    }
  }
}

bool WalkInKeyOrder(int area,
                    const std::function<bool(const uint8_t* rec, const std::string& code)>& visit) {
  WorkArea& a = Area(area);
  if (!a.Data.isOpen) return true;
  return WalkIndex(a.Index, a.Data, a.RecordLength, visit);
}

std::string ItemCodeText(const std::string& code) {
  return code.substr(0, 2) + " " + (code.size() > 2 ? code.substr(2) : std::string());
}

std::string DottedText(const std::string& description) {
  const int dots = 34 - static_cast<int>(description.size());
  return description + " " + (dots > 0 ? std::string(static_cast<size_t>(dots), '.') : "");
}

std::string FixedAmount(int width, long double x) {
  return FittedNumber(width, 2, x);
}

std::string PercentText(long double pct) {
  return FittedNumber(5, 2, pct) + "%";
}

void ChapterHeading(const std::string& code, const std::string& description, int indent) {
  EmptyLine();
  StartLine();
  BoldOn();
  DataText(Blanks(indent) + "CAPITULO " + code + " - " + description);
  BoldOff();
  LineEnd();
  EmptyLine();
}

}  // namespace vantu
