#include "toolkit/field_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "session/preferences.h"
#include "toolkit/field_hooks.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace {

int EffectiveDecimals(int decimals) {
  return decimals >= kVariableDecimals ? 2 : decimals;
}

// Fixed-point text of |value| with `decimals` decimals, decimal point.
std::string FixedText(long double value, int decimals) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.*Lf", decimals < 0 ? 0 : decimals, fabsl(value));
  return buf;
}

// Removes trailing zeros of the decimals of `text` (decimal point) down to
// 2, keeping an even count.
std::string TrimVariable(std::string text) {
  const size_t point = text.find('.');
  if (point == std::string::npos) return text + ".00";
  size_t keep = text.size() - point - 1;
  while (keep > 2 && text[point + keep] == '0') --keep;
  if (keep < 2) keep = 2;
  if (keep % 2) ++keep;
  text.resize(point + 1 + keep, '0');
  return text;
}

bool AllZero(const std::string& digits) {
  for (char c : digits)
    if (c >= '1' && c <= '9') return false;
  return true;
}

// Separator placed left of digit group `n` (1 = the thousands).
char GroupSeparator(int n, int style) {
  if (style == 1) return ',';
  switch (n) {
    case 2:
      return '\'';
    case 4:
      return '"';
    default:
      return '.';
  }
}

std::string Grouped(const std::string& digits, int style) {
  std::string out;
  const int len = static_cast<int>(digits.size());
  for (int i = 0; i < len; ++i) {
    const int left = len - i;  // digits from here to the end
    out += digits[i];
    if (left > 1 && (left - 1) % 3 == 0) out += GroupSeparator((left - 1) / 3, style);
  }
  return out;
}

std::string PadLeft(const std::string& s, int width) {
  return static_cast<int>(s.size()) >= width ? s : std::string(width - s.size(), ' ') + s;
}

}  // namespace

int NumberDisplayWidth(int width, int decimals) {
  const int d = EffectiveDecimals(decimals);
  if (d == 0) return width + (width - 1) / 3;
  return width + (width - d - 2) / 3;
}

std::string PlainNumber(long double value, int decimals) {
  std::string text = FixedText(value, decimals);
  if (decimals >= kVariableDecimals) text = TrimVariable(text);
  if (value < 0 && !AllZero(text)) text = "-" + text;
  return text;
}

std::string ShownDecimal(const std::string& plain) {
  std::string text = plain;
  if (NumberStyle() == 0) std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

std::string FormatNumberInStyle(int displayWidth, int decimals, long double value, int style) {
  std::string plain = FixedText(value, decimals);
  if (decimals >= kVariableDecimals) plain = TrimVariable(plain);
  const size_t point = plain.find('.');
  std::string text = Grouped(plain.substr(0, point), style);
  if (point != std::string::npos) text += (style == 1 ? '.' : ',') + plain.substr(point + 1);
  if (value < 0 && !AllZero(plain)) text = "-" + text;
  return PadLeft(text, displayWidth);
}

std::string FormatNumber(int displayWidth, int decimals, long double value) {
  return FormatNumberInStyle(displayWidth, decimals, value, NumberStyle());
}

std::string FormatFieldValue(int area, const FieldValue& value, const FieldDescriptor& d,
                             bool separators) {
  switch (d.kind) {
    case kKindInt: {
      const int16_t* n = std::get_if<int16_t>(&value);
      const int v = n ? *n : 0;
      if (v == 0 && AreaBlankZeros(area)) return {};
      return std::to_string(v);
    }
    case kKindReal: {
      const long double* r = std::get_if<long double>(&value);
      const long double v = r ? *r : 0;
      if (separators) return FormatNumber(NumberDisplayWidth(d.width, d.decimals), d.decimals, v);
      return PlainNumber(v, d.decimals);
    }
    default: {
      const std::string* s = std::get_if<std::string>(&value);
      return s ? s->substr(0, kFieldTextMax) : std::string();
    }
  }
}

void ParseFieldValue(FieldValue& value, const FieldDescriptor& d, const std::string& text) {
  switch (d.kind) {
    case kKindInt: {
      const int32_t n = TextToInt(text);
      value = static_cast<int16_t>(n < INT16_MIN || n > INT16_MAX ? 0 : n);
      break;
    }
    case kKindReal:
      value = TextToReal(text);
      break;
    case kKindDate:
      value = text == kDateTemplate ? std::string() : text;
      break;
    default:
      value = text.substr(0, kFieldTextMax);
      break;
  }
}

}  // namespace vantu
