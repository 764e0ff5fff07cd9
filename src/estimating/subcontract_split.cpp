#include "estimating/subcontract_split.h"

#include <cmath>

namespace vantu {

namespace {
constexpr long double kLowestSum = 99.99L;
constexpr long double kHighestSum = 100.01L;
// Sums of percentages typed with 2 decimals are compared to the cent.
constexpr long double kSlack = 1e-9L;
}  // namespace

bool PercentagesBalanced(const GroupAmounts& percentages, long double directCost) {
  long double sum = 0;
  bool allZero = directCost == 0;
  for (long double p : percentages) {
    sum += p;
    allZero = allZero && p == 0;
  }
  if (allZero) return true;
  return sum >= kLowestSum - kSlack && sum <= kHighestSum + kSlack;
}

GroupAmounts SplitDirectCost(const GroupAmounts& percentages, long double directCost) {
  GroupAmounts values{};
  long double sum = 0;
  size_t largest = 0;
  for (size_t g = 0; g < values.size(); ++g) {
    values[g] = std::trunc(percentages[g] * directCost + 0.5L) / 100;
    sum += values[g];
    if (values[g] > values[largest]) largest = g;
  }
  values[largest] = values[largest] + directCost - sum;
  return values;
}

GroupAmounts SharesOf(const GroupAmounts& values) {
  GroupAmounts shares{};
  long double total = 0;
  for (long double v : values) total += v;
  if (total <= 0) return shares;
  long double sum = 0;
  size_t largest = 0;
  for (size_t g = 0; g < values.size(); ++g) {
    shares[g] = std::round(values[g] / total * 10000) / 100;
    sum += shares[g];
    if (shares[g] > shares[largest]) largest = g;
  }
  shares[largest] = std::round((shares[largest] + 100 - sum) * 100) / 100;
  return shares;
}

}  // namespace vantu
