#include "toolkit/dates.h"

#include <gtest/gtest.h>

#include "support/headless_fixture.h"

namespace vantu {
namespace {

TEST(Dates, ExpandShortenAndDaysBetween) {
  struct Case {
    const char* in;
    const char* expanded;
  };
  const Case expand[] = {
      {"01/02/50", "01/02/2050"},
      {"01/02/51", "01/02/1951"},
      {"31/12/00", "31/12/2000"},
      {"31/12/99", "31/12/1999"},
      {"", ""},
      {"01/02/2003", "01/02/2003"},
  };
  for (const Case& c : expand) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(ExpandDate(c.in), c.expanded);
  }
  EXPECT_EQ(ShortenDate("07/12/2026"), "07/12/26");
  EXPECT_EQ(ShortenDate("07/12/26"), "07/12/26");

  struct Span {
    const char* a;
    const char* b;
    int32_t days;
  };
  const Span spans[] = {
      {"31/01/99", "01/02/99", 0},  // 30-day months: 31 + 30 = 1 + 60
      {"01/01/99", "01/01/00", 365},
      {"15/03/2024", "14/03/24", -1},
      {"01/01/50", "01/01/51", -99 * 365},
  };
  for (const Span& s : spans) {
    SCOPED_TRACE(std::string(s.a) + " -> " + s.b);
    EXPECT_EQ(DaysBetween(s.a, s.b), s.days);
  }
}

class TodayTest : public test::HeadlessTest {};

TEST_F(TodayTest, LeadingZerosAndTwoDigitYear) {
  host.SetToday({3, 9, 2005});
  EXPECT_EQ(TodayShort(), "03/09/05");
  EXPECT_EQ(TodayLong(), "03/09/2005");
  host.SetToday({25, 11, 1999});
  EXPECT_EQ(TodayShort(), "25/11/99");
}

TEST(Dates, MonthNames) {
  EXPECT_EQ(MonthName(1), "Enero");
  EXPECT_EQ(MonthName(9), "Septiembre");
  EXPECT_EQ(MonthName(12), "Diciembre");
  EXPECT_EQ(MonthName(0), "");
  EXPECT_EQ(MonthName(13), "");
}

}  // namespace
}  // namespace vantu
