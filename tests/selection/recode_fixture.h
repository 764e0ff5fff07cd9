#pragma once
// A generated Rama and Obra for the recodification, and checks of what a
// recodified set must be: the same records in the same order with even
// codes, every reference naming the record it named before, every index
// sound and holding exactly the records in use.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/halt.h"
#include "records/dataset_fixture.h"
#include "selection/recode.h"
#include "selection/recode_files.h"
#include "session/selection_state.h"

namespace vantu::test {

// One record of a coded file, keyed by record number, as a listing reads
// it: its code, and its bytes with every code it holds blanked.
struct RecordImage {
  std::string code;
  std::vector<uint8_t> bytes;
  // The records its references name (file, record), in line order.
  std::vector<std::pair<int, int16_t>> refs;
};
using FileImage = std::map<int16_t, RecordImage>;

class RecodeTest : public DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    Selection().RamaCode = "A";
    Selection().ObraCode = "01";
  }

  dataset::DatasetShape TinyShape() {
    dataset::DatasetShape shape = SmallShape();
    shape.inputRecords = 24;
    shape.analysisRecords = 30;
    shape.subcontractRecords = 8;
    shape.globalRecords = 6;
    shape.budgetRecords = 20;
    return shape;
  }

  void Generate(const dataset::DatasetShape& shape) {
    dataset::GenerateDataset(shape);
    Selection().DataDirectory = dataDir.string();
  }
  void Open() { OpenSet("A", "01"); }

  static std::vector<int> CodedFiles() { return {2, 3, 4, 6}; }

  // The records in use of file n, with their references resolved to
  // record numbers and every code blanked.
  FileImage Image(int n) {
    FileImage image;
    WorkArea& a = Area(n);
    std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength));
    for (int b = 1; b < FileRecordCount(a.Data); ++b) {
      const int16_t r = static_cast<int16_t>(b);
      GetRec(a.Data, r, rec.data());
      if (GetI16(rec.data()) != 0) continue;
      RecordImage img;
      img.code = ReadStr(rec.data() + kRecordCode, kRecordCodeLength);
      std::memset(rec.data() + kRecordCode, 0, kRecordCodeLength + 1);
      if (n == 3) BlankAnalysisLines(rec, img);
      if (n == 6) BlankBudgetReference(rec, img);
      img.bytes = rec;
      image[r] = img;
    }
    return image;
  }

  // Every reference of an analysis line or budget item must name a record
  // in use whose code and stamp it carries.
  void ExpectReferencesResolve() {
    for (const auto& [r, img] : Image(3)) {
      const AnalysisRecord a = Read<AnalysisRecord>(3, r);
      for (int g = 1; g <= analysis::kGroups; ++g)
        for (int i = 0; i < SectionLineCount(a, g); ++i) {
          const AnalysisLine line = Get(a, analysis::Lines(SectionFirstSlot(a, g) + i));
          const int type = Get(line, analysis_line::LineType);
          if (type != 2 && type != 3) continue;
          ExpectNames(type, Get(line, analysis_line::RefCode), Get(line, analysis_line::RefRecNo),
                      Get(line, analysis_line::RefStamp));
        }
    }
    for (const auto& [r, img] : Image(6)) {
      const BudgetRecord b = Read<BudgetRecord>(6, r);
      const int type = Get(b, budget_item::RefType);
      if (img.code.size() != 5 || (type != 3 && type != 4)) continue;
      ExpectNames(type, Get(b, budget_item::RefCode), Get(b, budget_item::RefRecNo),
                  Get(b, budget_item::RefStamp));
    }
  }

  // The index of each coded file is sound and holds exactly the codes of
  // the records in use.
  void ExpectIndexesMatchData() {
    for (int n : CodedFiles()) {
      SCOPED_TRACE("file " + std::to_string(n));
      std::vector<IndexEntry> expected;
      for (const auto& [r, img] : Image(n)) expected.push_back({img.code, r});
      std::sort(expected.begin(), expected.end(),
                [](const IndexEntry& x, const IndexEntry& y) { return x.key < y.key; });
      EXPECT_EQ(Entries(n), expected);
    }
  }

  // The codes of file n in key order.
  std::vector<std::string> CodesInOrder(int n) {
    std::vector<std::string> codes;
    for (const IndexEntry& e : Entries(n)) codes.push_back(e.key);
    return codes;
  }
  std::vector<int16_t> RecordsInOrder(int n) {
    std::vector<int16_t> records;
    for (const IndexEntry& e : Entries(n)) records.push_back(e.record);
    return records;
  }

 private:
  // The reference's code finds its record through the index, and that
  // record is in use with the reference's stamp.
  void ExpectNames(int n, const std::string& code, int16_t r, long double stamp) {
    SCOPED_TRACE("file " + std::to_string(n) + " code " + code);
    ASSERT_EQ(Find(n, code), r);
    std::vector<uint8_t> rec(static_cast<size_t>(Area(n).RecordLength));
    GetRec(Area(n).Data, r, rec.data());
    EXPECT_EQ(GetI16(rec.data()), 0);
    EXPECT_EQ(ReadStr(rec.data() + kRecordCode, kRecordCodeLength), code);
    EXPECT_EQ(LoadReal10(rec.data() + kRecordStampAt), stamp);
  }

  void BlankAnalysisLines(std::vector<uint8_t>& rec, RecordImage& img) {
    for (int slot = 1; slot <= analysis::kLineSlots; ++slot) {
      uint8_t* line = rec.data() + analysis::Lines(slot).offset;
      if (line[0] == 2 || line[0] == 3) {
        img.refs.push_back({line[0], GetI16(line + analysis_line::RefRecNo.offset)});
        std::memset(line + analysis_line::RefCode.offset, 0, 7);
      }
    }
  }
  void BlankBudgetReference(std::vector<uint8_t>& rec, RecordImage& img) {
    uint8_t* p = rec.data();
    const int type = p[budget_item::RefType.offset];
    if (type != 3 && type != 4) return;
    img.refs.push_back({type, GetI16(p + budget_item::RefRecNo.offset)});
    std::memset(p + budget_item::RefCode.offset, 0, 7);
  }
};

}  // namespace vantu::test
