#pragma once
// The cost window (Insert in the analysis and subcontract screens). The
// analysis and subcontract modules plug in the cost of the record on their
// screen; until they do, Insert has no effect.

#include <functional>

namespace vantu {

struct CostOutcome {
  long double directCost = 0;  // not positive: the cost cannot be computed
  bool circular = false;       // analyses: a circular reference was met
};

struct CostWindowHooks {
  // The record on the screen of area 3 or 4 is a chapter.
  std::function<bool(int area)> isChapter;
  // Direct cost of the record on the screen of area 3 or 4.
  std::function<CostOutcome(int area)> computeCost;
  // The Rama applies the AIU to every item, and its administration percentage.
  std::function<bool()> aiuPerItem;
  std::function<long double()> adminPct;
};

CostWindowHooks& CostHooks();

// The amount the window shows: with the AIU the cost times 1 + the
// administration percentage / 100, rounded as money.
long double ShownCost(long double directCost, bool withAiu, long double adminPct);

// Shows the cost window, or why there is no cost; `unsavedChanges` when
// the field being edited differs from its entry text.
void ShowCostWindow(int area, bool unsavedChanges);

}  // namespace vantu
