#include "toolkit/field_validate.h"

#include <cstdint>

#include "toolkit/field_format.h"
#include "toolkit/field_hooks.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

constexpr char kInvalidChar[] = " El Cursor muestra un caracter invalido ";

struct Check {
  bool ok = true;
  std::string message;
  int pos = 0;
};

Check Fail(std::string message, int pos) {
  return {false, std::move(message), pos};
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Position of the first character that keeps `text` from being a number
// (an optional '-', digits, at most one '.' when `real`); -1 when it is one.
int NumberErrorPos(const std::string& text, bool real) {
  bool point = false, digit = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '-' && i == 0) continue;
    if (c == '.' && real && !point) {
      point = true;
      continue;
    }
    if (!IsDigit(c)) return static_cast<int>(i);
    digit = true;
  }
  return digit ? -1 : static_cast<int>(text.size() > 0 ? text.size() - 1 : 0);
}

Check RangeCheck(long double value, const FieldDescriptor& d) {
  if (!d.maxValue.empty() && value > TextToReal(d.maxValue))
    return Fail("  El valor no puede ser mayor de " + ShownDecimal(d.maxValue), 0);
  if (!d.minValue.empty() && value < TextToReal(d.minValue))
    return Fail("  El valor no puede ser menor de " + ShownDecimal(d.minValue), 0);
  return {};
}

Check CheckInteger(const std::string& text, const FieldDescriptor& d) {
  const int bad = NumberErrorPos(text, false);
  if (bad >= 0) return Fail(kInvalidChar, bad);
  // A value outside the stored 16 bits cannot be kept: the first digit that
  // takes it out of range is shown as the invalid one.
  int32_t v = 0;
  const bool negative = text[0] == '-';
  for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > (negative ? 32768 : 32767)) return Fail(kInvalidChar, static_cast<int>(i));
  }
  return RangeCheck(negative ? -v : v, d);
}

Check CheckReal(const std::string& text, const FieldDescriptor& d) {
  const int bad = NumberErrorPos(text, true);
  if (bad >= 0) return Fail(kInvalidChar, bad);
  const bool negative = text[0] == '-';
  const size_t point = text.find('.');
  const int n = static_cast<int>(point == std::string::npos ? text.size() : point) - negative;
  const int m = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
  int reserved = d.decimals;
  if (d.decimals >= kVariableDecimals) reserved = m < 2 ? 2 : m + (m % 2);
  const int allowed = d.width - reserved - 1 - (negative ? 1 : 0);
  if (d.decimals > 0 && n > allowed)
    return Fail(" Usar maximo " + std::to_string(allowed) + " enteros ", n + negative);
  if (m > d.decimals)
    return Fail(" Usar maximo " + std::to_string(d.decimals) + " cifras decimales ",
                static_cast<int>(point) + 1 + d.decimals);
  return RangeCheck(TextToReal(text), d);
}

Check CheckText(const std::string& text, const FieldDescriptor& d) {
  std::string solid;
  for (char c : text)
    if (c != ' ') solid += c;
  if (!d.minValue.empty() && d.maxValue.empty()) {
    if (d.minValue.find(solid) == std::string::npos) return Fail(" Respuesta Invalida ", 0);
    return {};
  }
  if (!d.minValue.empty() && static_cast<int>(solid.size()) < TextToInt(d.minValue))
    return Fail(" Usar como minimo " + d.minValue + " caracteres ", 0);
  return {};
}

int32_t DigitsValue(const std::string& s) {
  return TextToInt(s);
}

Check CheckCode(int area, const std::string& text, const FieldDescriptor& d) {
  if (d.minValue.empty() || d.maxValue.empty()) return {};
  const int p = TextToInt(d.minValue), q = TextToInt(d.maxValue);
  const int len = static_cast<int>(text.size());
  const bool secondary = FieldEditor().secondaryCodeMode;
  if (p == q && len != p) return Fail(" Usar exactamente " + d.minValue + " caracteres ", 0);
  if (p != q && len != p && len != q && len != p + q) {
    std::string m = " Debe usar " + d.minValue + " o " + d.maxValue;
    if (!secondary) m += " o " + std::to_string(p + q);
    return Fail(m + " caracteres ", 0);
  }
  if (secondary) return {};
  bool zero;
  if (!AreaHasRecords(area))
    zero = DigitsValue(text.substr(0, p)) == 0;
  else if (len == p + q && p != q)
    zero = DigitsValue(text.substr(0, p)) == 0 || DigitsValue(text.substr(p)) == 0;
  else
    zero = DigitsValue(text) == 0;
  if (zero)
    return Fail(
        "El codigo no admite " + d.minValue + " ceros iniciales o " + d.maxValue + " ceros finales",
        0);
  return {};
}

bool PartInRange(const std::string& text, size_t at, int lo, int hi) {
  if (text.size() < at + 2 || !IsDigit(text[at]) || !IsDigit(text[at + 1])) return false;
  const int v = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return v >= lo && v <= hi;
}

Check CheckDate(const std::string& text) {
  const bool day = PartInRange(text, 0, 1, 31);
  const bool month = PartInRange(text, 3, 1, 12);
  const bool year = PartInRange(text, 6, 0, 99);
  if (day && month && year) return {};
  std::string m;
  if (!day) m += "Dia ...";
  if (!month) m += "Mes ...";
  if (!year) m += "A\xF1o ...";
  return Fail(m + "en forma erronea", !day ? 0 : (!month ? 2 : 4));
}

}  // namespace

bool ValidateField(int area, const std::string& text, const FieldDescriptor& d,
                   std::string& message, int& errorPos) {
  Check c;
  switch (d.kind) {
    case kKindInt:
      if (!text.empty()) c = CheckInteger(text, d);
      break;
    case kKindReal:
      if (!text.empty()) c = CheckReal(text, d);
      break;
    case kKindAlnum:
    case kKindText:
      c = CheckText(text, d);
      break;
    case kKindCode:
      c = CheckCode(area, text, d);
      break;
    case kKindDate:
      c = CheckDate(text);
      break;
    default:
      break;
  }
  message = c.ok ? std::string() : c.message;
  errorPos = c.ok ? 0 : c.pos;
  return c.ok;
}

}  // namespace vantu
