// The split of a subcontract's direct cost by percentages.
#include "estimating/subcontract_split.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vantu {
namespace {

TEST(SubcontractSplitTest, WhichPercentagesAreTaken) {
  struct Case {
    const char* name;
    GroupAmounts pct;
    long double direct;
    bool balanced;
  };
  const Case cases[] = {
      {"a third each", {33.33L, 33.33L, 33.33L, 0}, 1000, true},
      {"sum 99 refused", {50, 40, 5, 4}, 1000, false},
      {"all zero", {0, 0, 0, 0}, 0, true},
      {"zero percentages of a cost", {0, 0, 0, 0}, 500, false},
      {"exactly 100", {25, 25, 25, 25}, 80, true},
      {"100.01 taken", {50.01L, 50, 0, 0}, 10, true},
      {"100.02 refused", {50.02L, 50, 0, 0}, 10, false},
      {"99.98 refused", {49.98L, 50, 0, 0}, 10, false},
  };
  for (const Case& c : cases) EXPECT_EQ(PercentagesBalanced(c.pct, c.direct), c.balanced) << c.name;
}

TEST(SubcontractSplitTest, ValuesAddUpToTheDirectCost) {
  struct Case {
    const char* name;
    GroupAmounts pct;
    long double direct;
    GroupAmounts values;
  };
  const Case cases[] = {
      {"first largest takes the cents",
       {33.33L, 33.33L, 33.33L, 0},
       1000,
       {333.40L, 333.30L, 333.30L, 0}},
      {"half cents round up, the first takes the excess", {50, 50, 0, 0}, 0.01L, {0, 0.01L, 0, 0}},
      {"largest is not the first", {10, 60, 30, 0}, 99.99L, {10.0L, 59.99L, 30.0L, 0}},
      {"all zero", {0, 0, 0, 0}, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const GroupAmounts v = SplitDirectCost(c.pct, c.direct);
    long double sum = 0;
    for (int g = 0; g < 4; ++g) {
      EXPECT_NEAR(static_cast<double>(v[g]), static_cast<double>(c.values[g]), 1e-9)
          << c.name << " group " << g + 1;
      sum += v[g];
    }
    EXPECT_NEAR(static_cast<double>(sum), static_cast<double>(c.direct), 1e-12) << c.name;
  }
}

TEST(SubcontractSplitTest, SharesOfAStoredSplitGiveItBack) {
  const GroupAmounts stored[] = {{333.40L, 333.30L, 333.30L, 0}, {120, 0, 880, 0}, {1, 2, 3, 4}};
  for (const GroupAmounts& values : stored) {
    long double direct = 0;
    for (long double v : values) direct += v;
    const GroupAmounts shares = SharesOf(values);
    EXPECT_TRUE(PercentagesBalanced(shares, direct));
    const GroupAmounts again = SplitDirectCost(shares, direct);
    for (int g = 0; g < 4; ++g)
      EXPECT_NEAR(static_cast<double>(again[g]), static_cast<double>(values[g]), 0.011)
          << "group " << g + 1;
  }
  EXPECT_EQ(SharesOf({0, 0, 0, 0}), (GroupAmounts{0, 0, 0, 0}));
}

// The shares shown are of the values' own total, whatever direct cost the
// calculation stored since, and they add up to 100 exactly.
TEST(SubcontractSplitTest, SharesAddUpToAHundred) {
  const struct {
    const char* name;
    GroupAmounts values, shares;
  } cases[] = {
      {"typed 40/30/20/10 of 45000", {18000, 13500, 9000, 4500}, {40, 30, 20, 10}},
      {"thirds", {1, 1, 1, 0}, {33.34L, 33.33L, 33.33L, 0}},
      {"sixths, one over", {1, 1, 4, 0}, {16.67L, 16.67L, 66.66L, 0}},
  };
  for (const auto& c : cases) {
    const GroupAmounts shares = SharesOf(c.values);
    long double sum = 0;
    for (int g = 0; g < 4; ++g) {
      EXPECT_NEAR(static_cast<double>(shares[g]), static_cast<double>(c.shares[g]), 1e-12)
          << c.name << ", group " << g + 1;
      sum += shares[g];
    }
    EXPECT_NEAR(static_cast<double>(sum), 100.0, 1e-12) << c.name;
  }
}

}  // namespace
}  // namespace vantu
