#pragma once
// Dates as texts dd/mm/yy and dd/mm/yyyy, and month names.

#include <cstdint>
#include <string>

namespace vantu {

// Today from the host: dd/mm/yy and dd/mm/yyyy, with leading zeros.
std::string TodayShort();
std::string TodayLong();

// dd/mm/yy -> dd/mm/19yy when yy > "50" (as text), else dd/mm/20yy. Any
// text that is not 8 characters long comes back unchanged.
std::string ExpandDate(const std::string& d);
// dd/mm/yyyy -> dd/mm/yy. Any text that is not 10 characters long comes
// back unchanged.
std::string ShortenDate(const std::string& d);
// days(b) - days(a), counting 30-day months and 365-day years:
// days = day + 30 * month + 365 * year of the expanded date.
int32_t DaysBetween(const std::string& a, const std::string& b);

// "Enero" .. "Diciembre" for 1..12; empty otherwise.
std::string MonthName(int n);

}  // namespace vantu
