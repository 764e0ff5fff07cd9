#include "toolkit/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "session/preferences.h"

namespace vantu {

namespace {

constexpr size_t kNumberChars = 20;
constexpr size_t kTextChars = 80;
constexpr uint8_t kSmallEnye = 241;
constexpr uint8_t kCapitalEnye = 209;

// The part of `s` that is parsed: its first 20 characters without the
// surrounding blanks, and without a leading '+' (from_chars refuses it).
std::string_view NumberPart(const std::string& s) {
  std::string_view v(s.data(), std::min(s.size(), kNumberChars));
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
  if (v.size() > 1 && v.front() == '+' && v[1] != '-') v.remove_prefix(1);
  return v;
}

}  // namespace

long double TextToReal(const std::string& s) {
  std::string_view v = NumberPart(s);
  long double value = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (v.empty() || ec != std::errc() || end != v.data() + v.size() || !std::isfinite(value))
    return 0;
  return value;
}

int32_t TextToInt(const std::string& s) {
  std::string_view v = NumberPart(s);
  int32_t value = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (v.empty() || ec != std::errc() || end != v.data() + v.size()) return 0;
  return value;
}

std::string IntToText(int16_t n) {
  return std::to_string(n);
}

long double RoundMoney(long double x) {
  return RoundMoneyAs(x, Prefs().roundToPeso);
}

uint8_t UpperChar(uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 'a' + 'A');
  if (c == kSmallEnye) return kCapitalEnye;
  return c;
}

std::string UpperText(const std::string& s) {
  std::string out = s.substr(0, kTextChars);
  for (char& c : out) c = static_cast<char>(UpperChar(static_cast<uint8_t>(c)));
  return out;
}

std::string RepeatChar(char c, int n) {
  return n > 0 ? std::string(n, c) : std::string();
}

std::string StripTrailingBackslash(const std::string& s) {
  if (!s.empty() && s.back() == '\\') return s.substr(0, s.size() - 1);
  return s;
}

}  // namespace vantu
