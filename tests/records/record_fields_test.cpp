// Strings at their capacity, fresh coded records, analysis sections and the
// missing items of an error entry, including counts damaged on disk.

#include <gtest/gtest.h>

#include <vector>

#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/general_record.h"

namespace vantu {
namespace {

TEST(RecordFields, StringsClipToCapacity) {
  struct Case {
    const char* name;
    std::string text;
    std::string stored;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"shorter", "m3", "m3"},
      {"exactly_full", "bultos", "bultos"},
      {"one_over", "bultos!", "bultos"},
      {"far_over", std::string(300, 'x'), "xxxxxx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InputRecord r{};
    r.bytes.fill(0xEE);
    Set(r, input::Unit, c.text);
    EXPECT_EQ(r.bytes[67], c.stored.size());
    EXPECT_EQ(Get(r, input::Unit), c.stored);
    EXPECT_EQ(r.bytes[74], 0xEE) << "the next field is untouched";
  }
}

// A value whose stored bytes are already there changes nothing; the sign
// of a zero and a string's cleared tail are bytes too.
TEST(RecordFields, SetChangedTellsWhetherAStoredByteChanged) {
  BudgetRecord r{};
  EXPECT_FALSE(SetChanged(r, budget_item::ItemTotal, 0.0L));
  EXPECT_TRUE(SetChanged(r, budget_item::ItemTotal, -0.0L));
  EXPECT_TRUE(SetChanged(r, budget_item::ItemTotal, 1250.5L));
  EXPECT_FALSE(SetChanged(r, budget_item::ItemTotal, 1250.5L));
  EXPECT_EQ(Get(r, budget_item::ItemTotal), 1250.5L);
  EXPECT_TRUE(SetChanged(r, budget_item::Description, "Muro"));
  EXPECT_FALSE(SetChanged(r, budget_item::Description, "Muro"));
  EXPECT_TRUE(SetChanged(r, budget_item::Description, "Mur"));
  EXPECT_FALSE(SetChanged(r, coded::CalcStamp, int16_t{0}));
  EXPECT_TRUE(SetChanged(r, coded::CalcStamp, int16_t{-3}));
}

TEST(RecordFields, ShorterStringClearsTheOldTail) {
  InputRecord r{};
  Set(r, input::Unit, "bultos");
  Set(r, input::Unit, "kg");
  const uint8_t want[7] = {2, 'k', 'g', 0, 0, 0, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(r.bytes[67 + i], want[i]) << "byte " << 67 + i;
}

TEST(RecordFields, LengthByteAboveCapacityReadsClipped) {
  struct Case {
    const char* name;
    uint8_t lengthByte;
    std::string read;
  };
  const Case cases[] = {
      {"zero", 0, ""},
      {"at_capacity", 6, "010020"},
      {"above_capacity", 7, "010020"},
      {"garbage", 255, "010020"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnalysisRecord r{};
    const char raw[] = "010020XYZ";
    for (int i = 0; i < 9; ++i) r.bytes[13 + i] = static_cast<uint8_t>(raw[i]);
    r.bytes[12] = c.lengthByte;
    EXPECT_EQ(Get(r, coded::Code), c.read);
  }
}

TEST(RecordFields, InitCodedRecordKeepsOnlyTheStatus) {
  BudgetRecord r{};
  r.bytes.fill(0xFF);
  InitCodedRecord(r, "01010");
  EXPECT_EQ(Get(r, coded::RecordStatus), -1);
  EXPECT_EQ(Get(r, coded::Code), "01010");
  for (int i = 2; i < 12; ++i) EXPECT_EQ(r.bytes[i], 0) << "byte " << i;
  for (int i = 19; i < BudgetRecord::kSize; ++i) EXPECT_EQ(r.bytes[i], 0) << "byte " << i;
}

TEST(RecordFields, IndexedFieldsRejectOutOfRange) {
  EXPECT_THROW(analysis::Lines(0), std::out_of_range);
  EXPECT_THROW(analysis::Lines(16), std::out_of_range);
  EXPECT_THROW(analysis::GroupRows(0), std::out_of_range);
  EXPECT_THROW(analysis::GroupCount(5), std::out_of_range);
  EXPECT_THROW(general::Factor(0), std::out_of_range);
}

TEST(AnalysisSections, SlotsAndLineCounts) {
  struct Case {
    const char* name;
    uint8_t rows[4];
    uint8_t counts[4];
    int first[4];
    int lines[4];
  };
  const Case cases[] = {
      {"new_analysis", {3, 6, 2, 4}, {0, 0, 0, 0}, {1, 4, 10, 12}, {0, 0, 0, 0}},
      {"in_use", {3, 6, 2, 4}, {2, 6, 1, 4}, {1, 4, 10, 12}, {2, 6, 1, 4}},
      {"count_above_rows", {1, 1, 1, 12}, {3, 0, 0, 12}, {1, 2, 3, 4}, {1, 0, 0, 12}},
      {"rows_past_15", {10, 10, 2, 4}, {10, 9, 2, 4}, {1, 11, 16, 16}, {10, 5, 0, 0}},
      {"damaged_bytes", {255, 255, 255, 255}, {255, 255, 255, 255}, {1, 16, 16, 16}, {15, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnalysisRecord r{};
    for (int g = 1; g <= 4; ++g) {
      Set(r, analysis::GroupRows(g), c.rows[g - 1]);
      Set(r, analysis::GroupCount(g), c.counts[g - 1]);
    }
    for (int g = 1; g <= 4; ++g) {
      SCOPED_TRACE(g);
      EXPECT_EQ(SectionFirstSlot(r, g), c.first[g - 1]);
      EXPECT_EQ(SectionLineCount(r, g), c.lines[g - 1]);
      const SectionSpan span = SectionSpans(r)[static_cast<size_t>(g)];
      EXPECT_EQ(span.first, c.first[g - 1]);
      EXPECT_EQ(span.end - span.first, c.lines[g - 1]);
    }
  }
}

TEST(AnalysisSections, DefaultRows) {
  AnalysisRecord r{};
  r.bytes.fill(9);
  SetDefaultSections(r);
  const uint8_t want[8] = {3, 6, 2, 4, 0, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(r.bytes[94 + i], want[i]) << "byte " << 94 + i;
}

}  // namespace
}  // namespace vantu
