#pragma once
// Codes of the estimating files and what they name.
//
// Chapter codes have 2 digits ("01"); item codes add 3 digits in files 2, 4
// and 6 ("01010") and 4 digits in file 3 ("010020"). Keys compare bytewise,
// shorter first, so each chapter sorts just before its items.
// Groups: 1 Equipos, 2 Materiales, 3 Transportes, 4 Mano de Obra; 0 = none.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "records/coded_records.h"

namespace vantu {

inline constexpr int kChapterCodeLength = 2;
inline constexpr int kItemCodeLength = 5;
inline constexpr int kAnalysisCodeLength = 6;
// The code of a global price in an analysis line or a budget item.
inline constexpr std::string_view kGlobalCode = "000000";
// The unit of a global analysis line and of a global budget item.
inline constexpr const char* kGlobalUnit = "Global";

enum class CodeKind { kInvalid, kChapter, kItem };

// What a code of file 2, 3, 4 or 6 names, by its length in that file.
CodeKind ClassifyCode(std::string_view code, int fileNo);
int ItemCodeLength(int fileNo);
bool IsChapterCode(std::string_view code);
// The chapter an item belongs to: the first two characters.
std::string ChapterOf(std::string_view code);

// A code in a 6-character column: chapter + 4 blanks, item + 1 blank.
std::string PadCode6(std::string_view code);

// Kinds of analysis line; the values are the stored LineType.
enum class LineType : uint8_t { kEmpty = 0, kInput = 2, kAnalysis = 3, kGlobal = 5 };

// A typed line code as stored: "00000" becomes "000000".
std::string NormalizeLineCode(std::string_view code);
// A code starting "00000" is a global price; otherwise 5 characters name a
// basic input and 6 an analysis. Anything else gives kEmpty (no valid code).
LineType ClassifyLineCode(std::string_view code);

// "Equipos", "Materiales", "Transportes", "Mano de Obra"; "" for any other.
std::string_view GroupName(int group);

// The group a file 2 chapter heads; 0 when its Group is not 1..4.
int ChapterGroup(const InputRecord& chapter);

// Finds the file 2 record with this code, if any.
using ChapterFinder = std::function<std::optional<InputRecord>(const std::string& code)>;
// A basic input belongs to the group of its chapter; 0 without one.
int InputGroup(std::string_view inputCode, const ChapterFinder& findChapter);

// Dates are "dd/mm/aa"; empty or the literal "dd/mm/aa" mean no date.
bool HasDate(std::string_view date);

}  // namespace vantu
