#include "exchange/bc3_numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vantu {

namespace {

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

// Sign, digits and point, exponent: true when the whole text has that shape
// with at least one digit before the exponent.
bool DecimalShape(const std::string& t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    if (Digit(t[i])) {
      digits = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i == t.size()) return true;
  if (t[i] != 'e' && t[i] != 'E') return false;
  ++i;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i)
    if (!Digit(t[i])) return false;
  return true;
}

std::string Trimmed(const std::string& s) {
  const char* blanks = " \t\r\n";
  const size_t first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string LimitText(long double limit) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.0Lf", limit);
  return buf;
}

}  // namespace

std::string ReadBc3Number(const std::string& text, long double empty, long double limit,
                          long double& value) {
  const std::string t = Trimmed(text);
  if (t.empty()) {
    value = empty;
    return "";
  }
  if (!DecimalShape(t)) return "\"" + t + "\" no es un numero";
  // from_chars reads no '+' and ignores the locale's decimal comma.
  const size_t from = t[0] == '+' ? 1 : 0;
  long double v = 0;
  const auto r = std::from_chars(t.data() + from, t.data() + t.size(), v);
  const bool whole = r.ec == std::errc() && r.ptr == t.data() + t.size();
  if (!whole || !std::isfinite(v) || std::fabs(v) > limit)
    return "\"" + t + "\" excede lo que admite el campo (hasta " + LimitText(limit) + ")";
  value = v;
  return "";
}

}  // namespace vantu
