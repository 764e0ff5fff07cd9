#pragma once
// The description of one entry field and the characters each kind takes.
//
// The stored descriptor is 126 bytes; this struct carries the same fields:
//
//   off  width        field        meaning
//     0  string[80]   Label        text written before the value
//    81  byte         FieldKind    'A', 'S', 'K', 'D', 'I', 'R' or 'N'
//    82  string[2]    ListAreas    code fields: work-area digits whose list F1 opens
//    85  i16          Width        characters the user can type
//    87  i16          Decimals     kind R; 6 or more = variable decimals
//    89  i16          Column       column of the label
//    91  i16          Row          row of the label and the value
//    93  string[8]    ScreenMark   "SI" or empty; read by the screen modules only
//   102  string[8]    MinValue     I/R lower limit; A/S minimum length or allowed
//                                  answers; K shortest code part
//   111  string[8]    MaxValue     I/R upper limit; K code part length
//   120  byte         UpperCase    1 = typed letters become upper case
//   121  byte         ChoiceCount  options of a choice field (0 = none)
//   122  4 bytes      ChoiceTexts  the option texts, set at run time

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vantu {

namespace fielddesc {
constexpr int kLabel = 0;
constexpr int kKind = 81;
constexpr int kListAreas = 82;
constexpr int kWidth = 85;
constexpr int kDecimals = 87;
constexpr int kColumn = 89;
constexpr int kRow = 91;
constexpr int kScreenMark = 93;
constexpr int kMinValue = 102;
constexpr int kMaxValue = 111;
constexpr int kUpperCase = 120;
constexpr int kChoiceCount = 121;
constexpr int kChoiceTexts = 122;
constexpr int kSize = 126;
static_assert(kLabel + 81 == kKind && kKind + 1 == kListAreas && kListAreas + 3 == kWidth);
static_assert(kWidth + 2 == kDecimals && kDecimals + 2 == kColumn && kColumn + 2 == kRow);
static_assert(kRow + 2 == kScreenMark && kScreenMark + 9 == kMinValue);
static_assert(kMinValue + 9 == kMaxValue && kMaxValue + 9 == kUpperCase);
static_assert(kUpperCase + 1 == kChoiceCount && kChoiceCount + 1 == kChoiceTexts);
static_assert(kChoiceTexts + 4 == kSize);
}  // namespace fielddesc

// Field kinds (FieldKind).
constexpr char kKindAlnum = 'A';  // digits and A-Z
constexpr char kKindText = 'S';   // blank..'~', Ñ, ñ
constexpr char kKindCode = 'K';   // digits; a record's code
constexpr char kKindDate = 'D';   // digits into "dd/mm/aa"
constexpr char kKindInt = 'I';    // digits; i16
constexpr char kKindReal = 'R';   // digits and '.'; extended real
constexpr char kKindLabel = 'N';  // label only

constexpr int kVariableDecimals = 6;  // Decimals at or above: variable
constexpr int kMaxChoices = 10;
constexpr int kFieldTextMax = 80;
inline const std::string kDateTemplate = "dd/mm/aa";

struct FieldDescriptor {
  std::string label;      // string[80]
  char kind = kKindText;  // FieldKind
  std::string listAreas;  // string[2]
  int16_t width = 0;
  int16_t decimals = 0;
  int16_t column = 1;
  int16_t row = 1;
  std::string screenMark;  // string[8]
  std::string minValue;    // string[8]
  std::string maxValue;    // string[8]
  uint8_t upperCase = 0;
  uint8_t choiceCount = 0;
  // Option texts 1..10 of a choice field; null when it is not one.
  const std::vector<std::string>* choiceTexts = nullptr;
};

// The value of a field: kinds A, S, K, D hold text, I an i16, R a real.
using FieldValue = std::variant<std::string, int16_t, long double>;

// A set of key codes (the exit keys of a field).
struct KeySet {
  uint64_t bits[4] = {0, 0, 0, 0};
  KeySet() = default;
  KeySet(std::initializer_list<int> codes) {
    for (int c : codes) Add(c);
  }
  void Add(int code) { bits[(code & 255) >> 6] |= uint64_t{1} << (code & 63); }
  bool Has(int code) const { return (bits[(code & 255) >> 6] >> (code & 63)) & 1; }
};

// A descriptor with what every screen sets; the other fields keep their
// defaults.
FieldDescriptor MakeField(const std::string& label, char kind, int width, int column, int row);

bool IsChoiceField(const FieldDescriptor& d);
// Screen column where the value starts: Column + length of Label + 1.
int ValueColumn(const FieldDescriptor& d);
// Cells the value takes on screen: the number display width for kind R,
// 8 for dates, else Width.
int ValueDisplayWidth(const FieldDescriptor& d);
// True when a field of this kind takes the character `c` as typed.
bool KindAcceptsChar(char kind, uint8_t c);
// Printable codes: blank to '~', Ñ and ñ.
bool IsPrintableKey(uint8_t c);

}  // namespace vantu
