#include "schedule/activities.h"

#include <cstdio>

#include "calc/cost_rules.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "session/preferences.h"
#include "session/work_area_ids.h"
#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/numbers.h"

namespace vantu {

using namespace schedule_file;

namespace {

constexpr int kLabelWidth = 35;

std::string Padded(std::string s) {
  if (s.size() < kLabelWidth) s.append(kLabelWidth - s.size(), ' ');
  return s.substr(0, kLabelWidth);
}

Activity ChapterActivity(const BudgetRecord& r, bool heading) {
  Activity a;
  a.Code = Get(r, coded::Code);
  a.Label = Padded(Get(r, budget_chapter::Description));
  a.Cost = heading ? 0 : Get(r, budget_chapter::ChapterTotal);
  a.chapter = heading;
  return a;
}

// Scope 'A': chapters with a total as headings, items with a quantity.
std::vector<Activity> ItemActivities(WorkArea& area) {
  std::vector<Activity> list;
  ResetKeyPosition(area.Index);
  for (;;) {
    int16_t r = 0;
    std::string key;
    NextKey(area.Index, r, key);
    if (!LastOpOk()) break;
    BudgetRecord rec;
    GetRec(area.Data, r, rec.data());
    const std::string code = Get(rec, coded::Code);
    if (code.size() == 2) {
      if (Get(rec, budget_chapter::ChapterTotal) > 0) list.push_back(ChapterActivity(rec, true));
    } else if (code.size() == 5 && Get(rec, budget_item::PorDefinir) == 0) {
      Activity a;
      a.Code = code.substr(2);
      a.Label = Padded(Get(rec, budget_item::Description));
      a.Cost = Get(rec, budget_item::ItemTotal);
      list.push_back(a);
    }
    if (static_cast<int>(list.size()) > kMaxActivityRows) break;
  }
  ResetKeyPosition(area.Index);
  return list;
}

// Scope 'C': the chapters "01" to "99" with a total.
std::vector<Activity> ChapterActivities(WorkArea& area) {
  std::vector<Activity> list;
  for (int n = 1; n <= 99; ++n) {
    char code[3];
    std::snprintf(code, sizeof code, "%02d", n);
    std::string key = code;
    int16_t r = 0;
    FindKey(area.Index, r, key);
    if (!LastOpOk()) continue;
    BudgetRecord rec;
    GetRec(area.Data, r, rec.data());
    if (Get(rec, budget_chapter::ChapterTotal) > 0) list.push_back(ChapterActivity(rec, false));
  }
  ResetKeyPosition(area.Index);
  return list;
}

// Chapter rows show 176 in every period; a row that is no longer a chapter
// row loses its 176 cells.
void MarkChapterRows(ScheduleBlock& b, const std::vector<Activity>& list) {
  for (int row = 1; row <= static_cast<int>(list.size()); ++row) {
    for (int p = 1; p <= kMaxPeriods; ++p) {
      uint8_t& c = b.Cell(row, p);
      if (list[row - 1].chapter)
        c = kCellChapter;
      else if (c == kCellChapter)
        c = kCellFree;
    }
  }
}

}  // namespace

void ScaleCosts(std::vector<Activity>& activities, long double total, long double itemsTotal,
                bool toPeso) {
  if (itemsTotal == 0) return;
  const long double r = total / itemsTotal;
  long double sum = 0;
  Activity* last = nullptr;
  for (Activity& a : activities) {
    a.Cost = RoundMoneyAs(r * a.Cost, toPeso);
    sum += a.Cost;
    if (!a.chapter) last = &a;
  }
  if (last != nullptr && sum != total) last->Cost += total - sum;
}

long double ScheduleBudgetTotal() {
  ObraHeader obra;
  GetRec(Area(kAreaBudget).Data, 0, obra.data());
  GeneralDataRecord general;
  if (FileRecordCount(Area(kAreaGeneral).Data) > 1)
    GetRec(Area(kAreaGeneral).Data, 1, general.data());
  const long double items = Get(obra, obra_header::BudgetItemsTotal);
  return SummaryOf(items, general, Prefs().roundToPeso).budgetTotal;
}

bool BuildActivities() {
  ScheduleState& s = Schedule();
  WorkArea& area = Area(kAreaBudget);
  s.Activities.clear();
  std::vector<Activity> list =
      s.block.Scope() == kScopeChapters ? ChapterActivities(area) : ItemActivities(area);
  if (static_cast<int>(list.size()) > kMaxActivities) {
    s.block.SetActivityCount(0);
    return false;
  }
  ObraHeader obra;
  GetRec(area.Data, 0, obra.data());
  s.budgetTotal = ScheduleBudgetTotal();
  ScaleCosts(list, s.budgetTotal, Get(obra, obra_header::BudgetItemsTotal), Prefs().roundToPeso);
  MarkChapterRows(s.block, list);
  s.Activities = std::move(list);
  s.block.SetActivityCount(static_cast<uint8_t>(s.Activities.size()));
  return true;
}

}  // namespace vantu
