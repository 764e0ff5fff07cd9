// Code formats: chapter or item by file, 6-character columns, line codes
// with the global-price rule, and a basic input's group through its chapter.

#include "records/codes.h"

#include <gtest/gtest.h>

#include <map>

#include "storage/btree.h"

namespace vantu {
namespace {

TEST(Codes, ChapterOrItemByFile) {
  struct Case {
    const char* code;
    int file;
    CodeKind kind;
  };
  const Case cases[] = {
      {"01", 2, CodeKind::kChapter},     {"01", 3, CodeKind::kChapter},
      {"01010", 2, CodeKind::kItem},     {"01010", 4, CodeKind::kItem},
      {"01010", 6, CodeKind::kItem},     {"010020", 3, CodeKind::kItem},
      {"01010", 3, CodeKind::kInvalid},  {"010020", 2, CodeKind::kInvalid},
      {"010020", 6, CodeKind::kInvalid}, {"0101", 2, CodeKind::kInvalid},
      {"0", 2, CodeKind::kInvalid},      {"", 3, CodeKind::kInvalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " in file " + std::to_string(c.file));
    EXPECT_EQ(ClassifyCode(c.code, c.file), c.kind);
  }
}

// Each chapter sorts just before its own items, in the index's key order.
TEST(Codes, ChapterSortsBeforeItsItems) {
  const char* const ordered[][5] = {
      {"01", "01010", "01020", "02", "02010"},
      {"01", "010010", "010020", "02", "020010"},
  };
  for (const auto& codes : ordered) {
    for (int i = 0; i + 1 < 5; ++i) {
      SCOPED_TRACE(std::string(codes[i]) + " < " + codes[i + 1]);
      EXPECT_LT(CompareKeys(codes[i], codes[i + 1], 0, false, 0), 0);
      EXPECT_GT(CompareKeys(codes[i + 1], codes[i], 0, false, 0), 0);
    }
  }
}

TEST(Codes, SixCharacterColumn) {
  struct Case {
    const char* code;
    const char* padded;
  };
  const Case cases[] = {
      {"01", "01    "},
      {"01010", "01010 "},
      {"010020", "010020"},
      {"", "      "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(PadCode6(c.code), c.padded);
  }
}

TEST(Codes, LineCodes) {
  struct Case {
    const char* typed;
    const char* stored;
    LineType type;
  };
  const Case cases[] = {
      {"00000", "000000", LineType::kGlobal},
      {"000000", "000000", LineType::kGlobal},
      {"000001", "000001", LineType::kGlobal},
      {"000009", "000009", LineType::kGlobal},
      {"01010", "01010", LineType::kInput},
      {"00001", "00001", LineType::kInput},
      {"010020", "010020", LineType::kAnalysis},
      {"000010", "000010", LineType::kAnalysis},
      {"0101", "0101", LineType::kEmpty},
      {"0000", "0000", LineType::kEmpty},
      {"01", "01", LineType::kEmpty},
      {"", "", LineType::kEmpty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::string stored = NormalizeLineCode(c.typed);
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(ClassifyLineCode(stored), c.type);
  }
}

TEST(Codes, InputGroupThroughItsChapter) {
  std::map<std::string, InputRecord> file2;
  auto chapter = [&](const std::string& code, int16_t group) {
    InputRecord r{};
    InitCodedRecord(r, code);
    Set(r, input::Group, group);
    file2[code] = r;
  };
  chapter("01", 1);
  chapter("02", 4);
  chapter("03", 0);
  chapter("04", 7);   // damaged
  chapter("05", -1);  // damaged
  const ChapterFinder find = [&](const std::string& code) -> std::optional<InputRecord> {
    auto it = file2.find(code);
    if (it == file2.end()) return std::nullopt;
    return it->second;
  };

  struct Case {
    const char* input;
    int group;
  };
  const Case cases[] = {
      {"01010", 1}, {"01990", 1}, {"02030", 4}, {"03010", 0}, {"04010", 0},
      {"05010", 0}, {"09010", 0}, {"02", 0},    {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(InputGroup(c.input, find), c.group);
  }
}

}  // namespace
}  // namespace vantu
