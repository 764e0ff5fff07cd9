#pragma once
// Date rules of the calendar dialog, kept free of Qt so they can be tested
// on their own. Dates are texts "dd/mm/yyyy".

#include <optional>
#include <string>

#include "platform/platform.h"

namespace vantu {

bool IsLeapYear(int year);
int DaysInMonth(int month, int year);

// Day from characters 1-2, month from 4-5, year from 7-10; nullopt when the
// text is not a real date in that form.
std::optional<Date> ParseCalendarDate(const std::string& text);
// "dd/mm/yyyy" with two-digit day and month.
std::string FormatCalendarDate(const Date& date);

// The month up-down: day 31 into April, June, September or November becomes
// 30; a day above 28 into February becomes 28, or 29 in a leap year when it
// was 30 or 31.
Date ChangeMonth(Date date, int month);
// The year up-down: 29 February of a leap year becomes 28 February.
Date ChangeYear(Date date, int year);

}  // namespace vantu
