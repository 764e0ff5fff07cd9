#include "gui/dialog_calendar_date.h"

#include <cctype>
#include <cstdio>

namespace vantu {

namespace {

std::optional<int> Digits(const std::string& text, size_t pos, size_t count) {
  int value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
  switch (month) {
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

std::optional<Date> ParseCalendarDate(const std::string& text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
  const auto day = Digits(text, 0, 2), month = Digits(text, 3, 2), year = Digits(text, 6, 4);
  if (!day || !month || !year || *month < 1 || *month > 12 || *day < 1 ||
      *day > DaysInMonth(*month, *year))
    return std::nullopt;
  return Date{*day, *month, *year};
}

std::string FormatCalendarDate(const Date& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day, date.month, date.year);
  return text;
}

Date ChangeMonth(Date date, int month) {
  const bool shortMonth = month == 4 || month == 6 || month == 9 || month == 11;
  if (date.day == 31 && shortMonth) date.day = 30;
  if (month == 2 && date.day > 28) {
    if (!IsLeapYear(date.year))
      date.day = 28;
    else if (date.day >= 30)
      date.day = 29;
  }
  date.month = month;
  return date;
}

Date ChangeYear(Date date, int year) {
  if (date.month == 2 && date.day == 29 && IsLeapYear(date.year)) date.day = 28;
  date.year = year;
  return date;
}

}  // namespace vantu
