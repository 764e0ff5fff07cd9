#include "reports/budget_listing_data.h"

#include <vector>

#include "reports/listing_engine.h"
#include "reports/listing_text.h"
#include "session/shell_state.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/field_format.h"

namespace vantu {

SummarySourceFn& SummarySource() {
  static SummarySourceFn source;
  return source;
}

BudgetListingData LoadListingData() {
  BudgetListingData d;
  if (Area(kAreaGeneral).Data.isOpen && UsedRecordCount(Area(kAreaGeneral).Data) > 0)
    GetRec(Area(kAreaGeneral).Data, 1, d.general.data());
  d.obraOpen = Shell().obraSelected && Area(kAreaBudget).Data.isOpen;
  if (d.obraOpen) {
    GetRec(Area(kAreaBudget).Data, 0, d.obra.data());
    if (SummarySource())
      d.summary = SummarySource()(Get(d.obra, obra_header::BudgetItemsTotal), d.general);
  }
  return d;
}

bool WalkInKeyOrder(int area,
                    const std::function<bool(const uint8_t* rec, const std::string& code)>& visit) {
  WorkArea& a = Area(area);
  if (!a.Data.isOpen) return true;
  std::vector<uint8_t> buffer(static_cast<size_t>(a.RecordLength), 0);
  ResetKeyPosition(a.Index);
  for (;;) {
    int16_t r = 0;
    std::string key;
    NextKey(a.Index, r, key);
    if (!LastOpOk()) return true;
    GetRec(a.Data, r, buffer.data());
    if (!visit(buffer.data(), key)) {
      ResetKeyPosition(a.Index);
      return false;
    }
  }
}

std::string ItemCodeText(const std::string& code) {
  return code.substr(0, 2) + " " + (code.size() > 2 ? code.substr(2) : std::string());
}

std::string DottedText(const std::string& description) {
  const int dots = 34 - static_cast<int>(description.size());
  return description + " " + (dots > 0 ? std::string(static_cast<size_t>(dots), '.') : "");
}

std::string FixedAmount(int width, long double x) {
  return FormatNumber(width, 2, x);
}

std::string PercentText(long double pct) {
  return FormatNumber(5, 2, pct) + "%";
}

void ChapterHeading(const std::string& code, const std::string& description, int indent) {
  EmptyLine();
  StartLine();
  BoldOn();
  ListingWrite(Blanks(indent) + "CAPITULO " + code + " - " + description);
  BoldOff();
  LineEnd();
  EmptyLine();
}

}  // namespace vantu
