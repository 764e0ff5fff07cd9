#include "toolkit/dates.h"

#include <array>
#include <cstdio>

#include "platform/platform.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

constexpr std::array<const char*, 12> kMonths = {"Enero",      "Febrero", "Marzo",     "Abril",
                                                 "Mayo",       "Junio",   "Julio",     "Agosto",
                                                 "Septiembre", "Octubre", "Noviembre", "Diciembre"};

std::string FormatDate(const Date& d, bool longYear) {
  char buf[16];
  int year = longYear ? d.year : d.year % 100;
  std::snprintf(buf, sizeof buf, longYear ? "%02d/%02d/%04d" : "%02d/%02d/%02d", d.day % 100,
                d.month % 100, year % 10000);
  return buf;
}

int32_t DayNumber(const std::string& date) {
  std::string d = ExpandDate(date);
  if (d.size() != 10) return 0;
  return TextToInt(d.substr(0, 2)) + 30 * TextToInt(d.substr(3, 2)) +
         365 * TextToInt(d.substr(6, 4));
}

}  // namespace

std::string TodayShort() {
  return FormatDate(Host().Today(), false);
}
std::string TodayLong() {
  return FormatDate(Host().Today(), true);
}

std::string ExpandDate(const std::string& d) {
  if (d.size() != 8) return d;
  std::string yy = d.substr(6, 2);
  return d.substr(0, 6) + (yy > "50" ? "19" : "20") + yy;
}

std::string ShortenDate(const std::string& d) {
  if (d.size() != 10) return d;
  return d.substr(0, 6) + d.substr(8, 2);
}

int32_t DaysBetween(const std::string& a, const std::string& b) {
  return DayNumber(b) - DayNumber(a);
}

std::string MonthName(int n) {
  return n >= 1 && n <= 12 ? kMonths[n - 1] : std::string();
}

}  // namespace vantu
