#include "gui/dialog_calendar.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QDate>
#include <QLabel>
#include <string>

#include "gui/dialog_spin.h"
#include "platform/headless/headless_host.h"

namespace vantu {
namespace {

TEST(CalendarRules, MonthAndYearChangesKeepARealDate) {
  struct Case {
    const char* from;
    int month;  // 0: keep
    int year;   // 0: keep
    const char* expected;
  };
  const Case cases[] = {
      {"31/01/2001", 2, 0, "28/02/2001"},    {"31/01/2004", 2, 0, "29/02/2004"},
      {"30/01/2004", 2, 0, "29/02/2004"},    {"29/01/2004", 2, 0, "29/02/2004"},
      {"29/01/2003", 2, 0, "28/02/2003"},    {"31/03/2001", 4, 0, "30/04/2001"},
      {"31/08/2001", 9, 0, "30/09/2001"},    {"31/05/2001", 11, 0, "30/11/2001"},
      {"30/05/2001", 6, 0, "30/06/2001"},    {"31/01/2001", 3, 0, "31/03/2001"},
      {"29/02/2004", 0, 2005, "28/02/2005"}, {"29/02/2004", 0, 2008, "28/02/2008"},
      {"28/02/2003", 0, 2004, "28/02/2004"}, {"31/12/1999", 0, 2000, "31/12/2000"},
      {"29/02/2000", 3, 0, "29/03/2000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.expected);
    std::optional<Date> d = ParseCalendarDate(c.from);
    ASSERT_TRUE(d.has_value());
    if (c.month != 0) d = ChangeMonth(*d, c.month);
    if (c.year != 0) d = ChangeYear(*d, c.year);
    EXPECT_EQ(FormatCalendarDate(*d), c.expected);
  }
}

TEST(CalendarRules, OnlyRealDatesInTheFixedFormParse) {
  const char* bad[] = {"",           "1/1/2001",   "31/02/2001", "29/02/1900",
                       "00/01/2001", "01/13/2001", "0a/01/2001", "01-01-2001"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseCalendarDate(text).has_value());
  }
  EXPECT_TRUE(ParseCalendarDate("29/02/2000").has_value());
}

class CalendarFormTest : public ::testing::Test {
 protected:
  void SetUp() override { SetHost(&host); }
  void TearDown() override { SetHost(nullptr); }
  HeadlessHost host;
};

TEST_F(CalendarFormTest, UpDownsMoveTheGridAndTheLabel) {
  TCalendForm form("31/01/2004");
  EXPECT_EQ(form.MonthSpin()->text(), "Enero");
  form.MonthSpin()->stepUp();
  EXPECT_EQ(form.MonthSpin()->text(), "Febrero");
  EXPECT_EQ(form.DateLabel()->text(), "29/02/2004");
  EXPECT_EQ(form.Grid()->selectedDate(), QDate(2004, 2, 29));
  form.YearSpin()->stepUp();
  EXPECT_EQ(form.DateLabel()->text(), "28/02/2005");
  form.Grid()->setSelectedDate(QDate(2005, 3, 15));
  EXPECT_EQ(form.DateLabel()->text(), "15/03/2005");
  EXPECT_EQ(form.MonthSpin()->value(), 3);
  form.accept();
  EXPECT_EQ(form.Result(), "15/03/2005");
}

TEST_F(CalendarFormTest, CancelGivesBackTheInputOrToday) {
  host.SetToday({5, 3, 2026});
  TCalendForm given("10/10/2010");
  given.MonthSpin()->stepUp();
  given.reject();
  EXPECT_EQ(given.Result(), "10/10/2010");
  TCalendForm empty("");
  EXPECT_EQ(empty.DateLabel()->text(), "05/03/2026");
  empty.reject();
  EXPECT_EQ(empty.Result(), "05/03/2026");
}

}  // namespace
}  // namespace vantu
