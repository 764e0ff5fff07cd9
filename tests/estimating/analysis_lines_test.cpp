// The sections of an analysis being edited, the checks on a line code, the
// loading of an analysis with its references repaired, and file 5's free
// list of global prices.
#include "estimating/analysis_lines.h"

#include <gtest/gtest.h>

#include <numeric>

#include "estimating/analysis_globals.h"
#include "records/record_ops_fixture.h"

namespace vantu {
namespace {

AnalysisLines Sections(std::array<int, 5> rows, std::array<int, 5> counts) {
  AnalysisLines m;
  m.rows = rows;
  for (int g = 1; g <= 4; ++g)
    for (int i = 0; i < counts[g]; ++i) {
      EditLine l;
      Set(l.line, analysis_line::LineType, uint8_t{2});
      Set(l.line, analysis_line::RefCode, "0" + std::to_string(g) + "0" + std::to_string(i) + "0");
      m.lines[g].push_back(l);
    }
  return m;
}

int RowSum(const AnalysisLines& m) {
  return std::accumulate(m.rows.begin() + 1, m.rows.end(), 0);
}

TEST(AnalysisLinesTest, AFullSectionTakesARowFromTheOneWithMostFree) {
  struct Case {
    const char* name;
    std::array<int, 5> rows, counts;
    int grow;
    bool grown;
    std::array<int, 5> after;
  };
  const Case cases[] = {
      {"materials give", {0, 3, 6, 2, 4}, {0, 3, 1, 0, 0}, 1, true, {0, 4, 5, 2, 4}},
      {"first of a tie gives", {0, 3, 4, 4, 4}, {0, 3, 0, 0, 0}, 1, true, {0, 4, 3, 4, 4}},
      {"labour grows from equipment", {0, 6, 3, 2, 4}, {0, 0, 3, 2, 4}, 4, true, {0, 5, 3, 2, 5}},
      {"no free row anywhere", {0, 3, 6, 2, 4}, {0, 3, 6, 2, 4}, 2, false, {0, 3, 6, 2, 4}},
  };
  for (const Case& c : cases) {
    AnalysisLines m = Sections(c.rows, c.counts);
    EXPECT_EQ(m.Grow(c.grow), c.grown) << c.name;
    EXPECT_EQ(m.rows, c.after) << c.name;
    EXPECT_EQ(RowSum(m), 15) << c.name;
  }
}

TEST(AnalysisLinesTest, RecordRoundTripAndRepairedRows) {
  struct Case {
    const char* name;
    std::array<uint8_t, 4> rows, counts;
    std::array<int, 5> expected;
  };
  const Case cases[] = {
      {"a new analysis", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 3, 6, 2, 4}},
      {"as stored", {5, 5, 3, 2}, {5, 1, 0, 2}, {0, 5, 5, 3, 2}},
      {"rows short of 15", {2, 2, 2, 2}, {2, 1, 0, 0}, {0, 2, 2, 2, 9}},
      {"counts above rows", {1, 5, 5, 4}, {3, 0, 0, 0}, {0, 1, 5, 5, 4}},
  };
  for (const Case& c : cases) {
    AnalysisRecord r;
    for (int g = 1; g <= 4; ++g) {
      Set(r, analysis::GroupRows(g), c.rows[g - 1]);
      Set(r, analysis::GroupCount(g), c.counts[g - 1]);
    }
    AnalysisLines m = LinesOf(r);
    EXPECT_EQ(m.rows, c.expected) << c.name;
    for (int g = 1; g <= 4; ++g) EXPECT_GE(m.rows[g], m.Count(g)) << c.name;
    AnalysisRecord back;
    StoreLines(back, m);
    EXPECT_EQ(ReadSections(back).rows, m.rows) << c.name;
  }
}

TEST(AnalysisLinesTest, RemovingMovesTheFollowingLinesUp) {
  AnalysisLines m = Sections({0, 3, 6, 2, 4}, {0, 3, 2, 0, 0});
  m.Remove(1, 0);
  ASSERT_EQ(m.Count(1), 2);
  EXPECT_EQ(CodeOf(m.lines[1][0]), "01010");
  EXPECT_EQ(CodeOf(m.lines[1][1]), "01020");
  AnalysisRecord r;
  StoreLines(r, m);
  // Slot 3 (the third row of equipment) is empty, materials start at slot 4.
  EXPECT_EQ(Get(Get(r, analysis::Lines(3)), analysis_line::LineType), 0);
  EXPECT_EQ(Get(Get(r, analysis::Lines(4)), analysis_line::RefCode), "02000");
  EXPECT_EQ(m.SlotOf(2, 1), 5);
  EXPECT_EQ(m.At(5), std::make_pair(2, 1));
}

class LineCodeTest : public test::SessionTest {
 protected:
  void SetUp() override {
    test::SessionTest::SetUp();
    OpenSet("A");
    PutInput("01", "EQUIPOS", 1);
    PutInput("01010", "MEZCLADORA", 0, "DIA", 100);
    PutInput("02", "MATERIALES", 2);
    PutInput("02010", "ARENA", 0, "M3", 50);
    PutInput("03", "SIN GRUPO", 0);
    PutInput("03010", "VARIOS", 0, "UN", 5);
    AddCoded(3, "01");
    AddCoded(3, "010010");
    nested = AddCoded(3, "010020");
  }
  int16_t nested = 0;
};

TEST_F(LineCodeTest, EachCodeIsClassifiedOrRefused) {
  struct Case {
    const char* typed;
    int group;
    std::vector<std::string> others;
    std::string refusal;
    int type;
  };
  const Case cases[] = {
      {"01010", 1, {}, "", 2},
      {"02010", 1, {}, "El codigo [02010] fue clasificado como Material", 0},
      {"01010", 4, {}, "El codigo [01010] fue clasificado como Equipo", 0},
      {"03010", 3, {}, "Regrese a Insumos Basicos y defina el Grupo [03]", 0},
      {"01990", 1, {}, "Codigo [01990] inexistente", 0},
      {"010020", 2, {}, "", 3},
      {"019990", 2, {}, "Codigo [019990] Inexistente", 0},
      {"010010", 2, {}, "El Codigo [010010] no puede llamarse a si mismo", 0},
      {"01010", 1, {"02010", "01010"}, "Item [01010] duplicado", 0},
      {"00000", 3, {"000000", "000000"}, "", 5},
      {"000001", 3, {}, "", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const LineCodeOutcome out = CheckLineCode(c.typed, c.group, "010010", c.others, {});
    EXPECT_EQ(out.refusal, c.refusal);
    if (!c.refusal.empty()) continue;
    EXPECT_EQ(static_cast<int>(TypeOf(out.line)), c.type);
  }
  const LineCodeOutcome global = CheckLineCode("00000", 1, "010010", {}, {});
  EXPECT_EQ(CodeOf(global.line), "000000");
  EXPECT_EQ(Get(global.line.line, analysis_line::Quantity), 1.0L);
  EXPECT_EQ(global.line.cache.unit, "Global");
  const LineCodeOutcome input = CheckLineCode("01010", 1, "010010", {}, {});
  EXPECT_EQ(Get(input.line.line, analysis_line::RefRecNo), Find(2, "01010"));
  EXPECT_EQ(input.line.cache.description, "MEZCLADORA");
  EXPECT_EQ(input.line.cache.price, 100.0L);
  // A changed code of a line keeps its quantity; over a global it is 0.
  EditLine before = input.line;
  Set(before.line, analysis_line::Quantity, 3.5L);
  EXPECT_EQ(
      Get(CheckLineCode("010020", 1, "010010", {}, before).line.line, analysis_line::Quantity),
      3.5L);
  EXPECT_EQ(
      Get(CheckLineCode("010020", 1, "010010", {}, global.line).line.line, analysis_line::Quantity),
      0.0L);
}

TEST_F(LineCodeTest, LoadingFollowsAndRepairsReferences) {
  const int16_t input = Find(2, "01010");
  AnalysisLines m = Sections({0, 3, 6, 2, 4}, {0, 0, 0, 0, 0});
  auto line = [](uint8_t type, const char* code, int16_t r, long double stamp) {
    EditLine l;
    Set(l.line, analysis_line::LineType, type);
    Set(l.line, analysis_line::RefCode, code);
    Set(l.line, analysis_line::RefRecNo, r);
    Set(l.line, analysis_line::RefStamp, stamp);
    return l;
  };
  const long double inputStamp = Get(Read<InputRecord>(2, input), coded::RecordStamp);
  m.lines[1] = {line(2, "01010", input, inputStamp),  // sound
                line(2, "01010", 999, 0)};            // number out of the file
  m.lines[2] = {line(3, "010020", nested, 12345),     // code agrees: kept
                line(2, "02990", 0, 0)};              // gone
  // Recodified input: same number and stamp, another code.
  const int16_t sand = Find(2, "02010");
  m.lines[2].push_back(line(2, "02005", sand, Get(Read<InputRecord>(2, sand), coded::RecordStamp)));
  const bool repaired = ResolveLines(m, "010010");
  EXPECT_TRUE(repaired);
  EXPECT_EQ(Get(m.lines[1][1].line, analysis_line::RefRecNo), input);
  EXPECT_EQ(Get(m.lines[1][1].line, analysis_line::RefStamp), inputStamp);
  EXPECT_EQ(m.lines[1][0].cache.description, "MEZCLADORA");
  EXPECT_EQ(m.lines[2][1].cache.description, kDeletedReference);
  EXPECT_EQ(CodeOf(m.lines[2][2]), "02010");
  EXPECT_EQ(m.lines[2][2].cache.description, "ARENA");
}

TEST_F(LineCodeTest, TheFreeListOfGlobalPrices) {
  // Record 1 of a new file 5 holds no price: the first number is 1.
  GlobalListHeader h = ReadGlobalHeader();
  EXPECT_EQ((std::array<int16_t, 3>{h.highest, h.freeCount, h.firstFree}),
            (std::array<int16_t, 3>{0, 0, 0}));
  AnalysisLines m = Sections({0, 3, 6, 2, 4}, {0, 0, 0, 0, 0});
  for (int i = 0; i < 3; ++i) {
    EditLine l = CheckLineCode("00000", 1, "010010", {}, {}).line;
    l.cache.description = "GLOBAL " + std::to_string(i);
    l.cache.price = 10.0L * (i + 1);
    m.lines[1].push_back(l);
  }
  std::vector<int16_t> none;
  WriteGlobalLines(m, "010010", "MURO", none);
  std::vector<int16_t> numbers;
  for (const EditLine& l : m.lines[1]) numbers.push_back(Get(l.line, analysis_line::RefRecNo));
  EXPECT_EQ(numbers, (std::vector<int16_t>{1, 2, 3}));
  EXPECT_EQ(ReadGlobalHeader().highest, 3);

  // Freeing 1 and 3: last freed, first reused; then new numbers again.
  ReleaseGlobalRecords({1, 3});
  h = ReadGlobalHeader();
  EXPECT_EQ((std::array<int16_t, 3>{h.highest, h.freeCount, h.firstFree}),
            (std::array<int16_t, 3>{3, 2, 3}));
  EXPECT_EQ(Get(Read<GlobalPriceRecord>(5, 3), global_price::NextFree), 1);
  EXPECT_EQ(Get(Read<GlobalPriceRecord>(5, 1), global_price::RecordStatus), global_price::kFree);
  EXPECT_EQ(TakeGlobalRecord(h), 3);
  EXPECT_EQ(TakeGlobalRecord(h), 1);
  EXPECT_EQ(TakeGlobalRecord(h), 4);
  EXPECT_EQ((std::array<int16_t, 3>{h.highest, h.freeCount, h.firstFree}),
            (std::array<int16_t, 3>{4, 0, 0}));
  // Freeing a record twice does not put it on the list twice.
  h = ReadGlobalHeader();
  FreeGlobalRecord(h, 3);
  EXPECT_EQ(h.freeCount, 2);
}

TEST_F(LineCodeTest, AFreeListThatNamesARecordInUseIsDropped) {
  AnalysisLines m = Sections({0, 3, 6, 2, 4}, {0, 0, 0, 0, 0});
  m.lines[1].push_back(CheckLineCode("00000", 1, "010010", {}, {}).line);
  std::vector<int16_t> none;
  WriteGlobalLines(m, "010010", "MURO", none);
  // A header left by a stop: its list names record 1, which is in use.
  WriteGlobalHeader({1, 1, 1});
  GlobalListHeader h = ReadGlobalHeader();
  EXPECT_EQ(TakeGlobalRecord(h), 2);
  EXPECT_EQ(h.freeCount, 0);
}

// Lines removed and lines added in one visit: the removed lines' records are
// freed first, so the new lines take them (the last removed first) before
// the file's free list and new numbers. Records 1-4 in use, 2 already on
// the list; the visit removes the lines of 1 and then 3.
TEST_F(LineCodeTest, RecordsGivenUpInAVisitAreFreedBeforeNewOnesAreTaken) {
  const struct {
    int added;
    std::vector<int16_t> taken;
    std::array<int16_t, 3> header;  // highest, free count, first free
    std::vector<int16_t> freeList;
  } cases[] = {
      {1, {3}, {4, 2, 1}, {1, 2}},
      {2, {3, 1}, {4, 1, 2}, {2}},
      {3, {3, 1, 2}, {4, 0, 0}, {}},
      {4, {3, 1, 2, 5}, {5, 0, 0}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.added);
    if (&c != &cases[0]) {  // a fresh set for each case
      TearDown();
      SetUp();
    }
    AnalysisLines m = Sections({0, 5, 5, 2, 3}, {0, 0, 0, 0, 0});
    for (int i = 0; i < 4; ++i) {
      m.lines[1].push_back(CheckLineCode("00000", 1, "010010", {}, {}).line);
      m.lines[1].back().cache.description = "VIEJO " + std::to_string(i + 1);
    }
    std::vector<int16_t> released;
    WriteGlobalLines(m, "010010", "MURO", released);
    ReleaseGlobalRecords({2});
    m.lines[1] = {m.lines[1][3]};  // records 1, 2 and 3 are given up
    released = {1, 3};
    for (int i = 0; i < c.added; ++i) {
      m.lines[1].push_back(CheckLineCode("00000", 1, "010010", {}, {}).line);
      m.lines[1].back().cache.description = "NUEVO " + std::to_string(i);
    }
    WriteGlobalLines(m, "010010", "MURO", released);
    ReleaseGlobalRecords(released);
    std::vector<int16_t> taken;
    for (size_t i = 1; i < m.lines[1].size(); ++i) {
      const int16_t r = Get(m.lines[1][i].line, analysis_line::RefRecNo);
      taken.push_back(r);
      const GlobalPriceRecord g = Read<GlobalPriceRecord>(5, r);
      EXPECT_EQ(Get(g, global_price::Description), "NUEVO " + std::to_string(i - 1));
      EXPECT_EQ(Get(g, global_price::RecordStatus), 0);
    }
    EXPECT_EQ(taken, c.taken);
    const GlobalListHeader h = ReadGlobalHeader();
    EXPECT_EQ((std::array<int16_t, 3>{h.highest, h.freeCount, h.firstFree}), c.header);
    std::vector<int16_t> list;
    for (int16_t r = h.firstFree; r > 0 && list.size() < 8;
         r = Get(Read<GlobalPriceRecord>(5, r), global_price::NextFree)) {
      EXPECT_EQ(Get(Read<GlobalPriceRecord>(5, r), global_price::RecordStatus),
                global_price::kFree);
      list.push_back(r);
    }
    EXPECT_EQ(list, c.freeList);
    EXPECT_EQ(Get(Read<GlobalPriceRecord>(5, 4), global_price::Description), "VIEJO 4");
  }
}

}  // namespace
}  // namespace vantu
