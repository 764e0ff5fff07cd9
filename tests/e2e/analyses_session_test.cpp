// Command F typed as a consultant would: an analysis with lines in all
// four sections (a nested analysis and two global prices among them), every
// refusal of a line code, removing a line, a section that grows past its
// rows, and the global records after saving and reopening.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_program.h"
#include "estimating/analysis_globals.h"
#include "records/record_ops_fixture.h"
#include "toolkit/dates.h"

namespace vantu {
namespace {

class AnalysesSessionTest : public test::SessionTest {
 protected:
  // Chapters 01-04 of file 2 in groups 1-4 with one input each, chapter 05
  // without a group; file 3 holds chapter 01 and analysis 010010.
  void Prepare() {
    OpenSet("A");
    const char* names[] = {"EQUIPOS", "MATERIALES", "TRANSPORTES", "MANO DE OBRA"};
    for (int g = 1; g <= 4; ++g) {
      const std::string ch = "0" + std::to_string(g);
      PutInput(ch, names[g - 1], static_cast<int16_t>(g));
      PutInput(ch + "010", std::string("INSUMO ") + names[g - 1], 0, "UN", 1000.0L * g);
    }
    PutInput("05", "SIN GRUPO", 0);
    PutInput("05010", "VARIOS", 0, "UN", 10);
    AddCoded(3, "01");
    const int16_t r = AddCoded(3, "010010");
    AnalysisRecord a = Read<AnalysisRecord>(3, r);
    Set(a, analysis::Description, "CONCRETO");
    Set(a, analysis::Unit, "M3");
    SetDefaultSections(a);
    PutRec(Area(3).Data, r, a.data());
  }
  AnalysisRecord Analysis(const std::string& c) { return Read<AnalysisRecord>(3, Find(3, c)); }
  GlobalPriceRecord Global(int16_t r) { return Read<GlobalPriceRecord>(5, r); }
  // Codes of the lines of section g as stored.
  std::vector<std::string> Codes(const AnalysisRecord& a, int g) {
    std::vector<std::string> codes;
    const int first = SectionFirstSlot(a, g);
    for (int i = 0; i < SectionLineCount(a, g); ++i)
      codes.push_back(Get(Get(a, analysis::Lines(first + i)), analysis_line::RefCode));
    return codes;
  }
  AnalysisLine LineAt(const AnalysisRecord& a, int g, int i) {
    return Get(a, analysis::Lines(SectionFirstSlot(a, g) + i));
  }
  // New analysis 010020 with its fields filled; the cursor ends on the
  // first line of the equipment section.
  void NewAnalysis() {
    Type("010020", {kKeyEnter});
    Type("MURO EN LADRILLO", {kKeyEnter});
    Type("M2", {kKeyEnter});
    Type("5", {kKeyEnter});
    Type("3", {kKeyEnter});
  }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const auto& b : session.Boxes()) texts.push_back(b.text);
    return texts;
  }
};

TEST_F(AnalysesSessionTest, FourSectionsNestedAndGlobalLinesSavedAndReopened) {
  Prepare();
  NewAnalysis();
  Type("01010", {kKeyEnter, '2', kKeyEnter});                             // equipment
  Type("00000", {kKeyEnter});                                             // a global
  Type("ANDAMIO", {kKeyEnter, '1', '5', '0', '0', '0', '0', kKeyEnter});  // its price
  Type("", {kKeyDown});                                                   // to materials
  Type("02010", {kKeyEnter, '1', '.', '5', kKeyEnter});
  Type("010010", {kKeyEnter, '0', '.', '2', '5', kKeyEnter});  // nested
  Type("", {kKeyDown});                                        // to transport
  Type("03010", {kKeyEnter, '1', kKeyEnter});
  Type("", {kKeyDown});  // to labour
  Type("04010", {kKeyEnter, '8', kKeyEnter});
  Type("00000", {kKeyEnter});
  Type("SUPERVISION", {kKeyEnter, '2', '0', '0', '0', '0', kKeyEnter});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(4).find("Codigo : 010020"), std::string::npos) << ScreenRow(4);
    EXPECT_EQ(ScreenRow(6).substr(0, 51), "CODIGO  MAQUINARIAS, EQUIPOS Y HERRAMIENTAS  UNIDAD");
    EXPECT_EQ(ScreenRow(7).substr(0, 5), "01010");
    EXPECT_NE(ScreenRow(7).find("INSUMO EQUIPOS"), std::string::npos);
    EXPECT_EQ(ScreenRow(8).substr(45, 6), "Global");
    EXPECT_EQ(ScreenRow(10).substr(0, 14), "CODIGO  MATERI");
    PushKey(kKeyEsc);
  });
  RunCommand('F');
  EXPECT_TRUE(session.ScriptDone());
  const AnalysisRecord a = Analysis("010020");
  EXPECT_EQ(Get(a, analysis::Description), "MURO EN LADRILLO");
  EXPECT_EQ(Get(a, analysis::HerramientaMenorPct), 5.0L);
  EXPECT_EQ(Codes(a, 1), (std::vector<std::string>{"01010", "000000"}));
  EXPECT_EQ(Codes(a, 2), (std::vector<std::string>{"02010", "010010"}));
  EXPECT_EQ(Codes(a, 3), (std::vector<std::string>{"03010"}));
  EXPECT_EQ(Codes(a, 4), (std::vector<std::string>{"04010", "000000"}));
  int rows = 0;
  for (int g = 1; g <= 4; ++g) rows += Get(a, analysis::GroupRows(g));
  EXPECT_EQ(rows, 15);
  EXPECT_EQ(Get(LineAt(a, 2, 0), analysis_line::Quantity), 1.5L);
  EXPECT_EQ(Get(LineAt(a, 2, 1), analysis_line::LineType), 3);
  EXPECT_EQ(Get(LineAt(a, 2, 1), analysis_line::RefRecNo), Find(3, "010010"));
  EXPECT_EQ(Get(a, coded::CreatedDate), TodayShort());
  // Both globals got records of file 5 with this analysis as owner.
  const int16_t g1 = Get(LineAt(a, 1, 1), analysis_line::RefRecNo);
  const int16_t g4 = Get(LineAt(a, 4, 1), analysis_line::RefRecNo);
  EXPECT_EQ((std::vector<int16_t>{g1, g4}), (std::vector<int16_t>{1, 2}));
  EXPECT_EQ(Get(Global(g1), global_price::Description), "ANDAMIO");
  EXPECT_EQ(Get(Global(g1), global_price::GlobalPrice), 150000.0L);
  EXPECT_EQ(Get(Global(g4), global_price::OwnerCode), "010020");
  EXPECT_EQ(Get(Global(g4), global_price::OwnerDescription), "MURO EN LADRILLO");
  EXPECT_EQ(Get(Global(g4), global_price::PriceDate), TodayShort());
  EXPECT_EQ(Get(Global(g4), global_price::InUseMarker), 1);
  const GlobalListHeader h = ReadGlobalHeader();
  EXPECT_EQ(h.highest, 2);
  EXPECT_EQ(h.freeCount, 0);
  EXPECT_EQ(Markers(3, "A").first, 1);
  EXPECT_EQ(Markers(5, "A").first, 1);

  // Reopened: the lines come back with their descriptions and prices.
  CloseSet();
  ResetWorkAreas();
  OpenSet("A");
  Type("010020", {kKeyEnter});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(8).find("ANDAMIO"), std::string::npos) << ScreenRow(8);
    EXPECT_NE(ScreenRow(8).find("150.000,00"), std::string::npos) << ScreenRow(8);
    EXPECT_NE(ScreenRow(12).find("CONCRETO"), std::string::npos) << ScreenRow(12);
    PushKey(kKeyEsc);
  });
  RunCommand('F');
  EXPECT_TRUE(session.ScriptDone());
}

TEST_F(AnalysesSessionTest, TheRightClickMenuMakesAGlobalLine) {
  Prepare();
  NewAnalysis();
  session.Click(0, 6, false);  // the first line's code, row 7
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" Codigo Item Global "));
    EXPECT_TRUE(ScreenContains(" Cancelar "));
    PushKey(kKeyEnter);
  });
  Type("TRANSPORTE INTERNO", {kKeyEnter, '5', '0', '0', kKeyEnter, kKeyEsc});
  RunCommand('F');
  EXPECT_TRUE(session.ScriptDone());
  const AnalysisRecord a = Analysis("010020");
  EXPECT_EQ(Codes(a, 1), (std::vector<std::string>{"000000"}));
  const GlobalPriceRecord g = Global(Get(LineAt(a, 1, 0), analysis_line::RefRecNo));
  EXPECT_EQ(Get(g, global_price::Description), "TRANSPORTE INTERNO");
  EXPECT_EQ(Get(g, global_price::GlobalPrice), 500.0L);
}

TEST_F(AnalysesSessionTest, EveryRefusalOfALineCode) {
  Prepare();
  NewAnalysis();
  Type("01010", {kKeyEnter, '1', kKeyEnter});
  for (const char* code : {"01010", "02010", "05010", "01990", "019990", "010020"})
    Type(code, {kKeyEnter, kKeyF11});
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('F');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "Item [01010] duplicado",
                            "El codigo [02010] fue clasificado como Material",
                            "Regrese a Insumos Basicos y defina el Grupo [05]",
                            "Codigo [01990] inexistente",
                            "Codigo [019990] Inexistente",
                            "El Codigo [010020] no puede llamarse a si mismo",
                        }));
  EXPECT_EQ(Codes(Analysis("010020"), 1), (std::vector<std::string>{"01010"}));
}

TEST_F(AnalysesSessionTest, RemovingALineAndGrowingASection) {
  Prepare();
  for (int i = 2; i <= 5; ++i) PutInput("0101" + std::to_string(i) + "", "EQ", 0, "UN", 1);
  NewAnalysis();
  // Five inputs in a section of three rows: it takes rows from the others.
  for (const char* c : {"01010", "01012", "01013", "01014", "01015"})
    Type(c, {kKeyEnter, '1', kKeyEnter});
  // Back up to the second line and remove it.
  Type("", {kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyTab});
  session.AnswerBox(BoxAnswer::Yes);
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('F');
  EXPECT_TRUE(session.ScriptDone());
  const AnalysisRecord a = Analysis("010020");
  EXPECT_EQ(Codes(a, 1), (std::vector<std::string>{"01010", "01013", "01014", "01015"}));
  int rows = 0;
  for (int g = 1; g <= 4; ++g) {
    rows += Get(a, analysis::GroupRows(g));
    EXPECT_GE(Get(a, analysis::GroupRows(g)), Get(a, analysis::GroupCount(g))) << "group " << g;
  }
  EXPECT_EQ(rows, 15);
  EXPECT_GE(Get(a, analysis::GroupRows(1)), 5);
  ASSERT_FALSE(session.Boxes().empty());
  EXPECT_EQ(session.Boxes().back().text, "Confirma la eliminacio del insumo ?");
  EXPECT_EQ(session.Boxes().back().caption, "Confirmacion");
}

TEST_F(AnalysesSessionTest, ARemovedGlobalFreesItsRecordForTheNextOne) {
  Prepare();
  NewAnalysis();
  Type("00000", {kKeyEnter});
  Type("ANDAMIO", {kKeyEnter, '1', '0', kKeyEnter});
  Type("00000", {kKeyEnter});
  Type("VIGILANCIA", {kKeyEnter, '2', '0', kKeyEnter});
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('F');
  const int16_t first = Get(LineAt(Analysis("010020"), 1, 0), analysis_line::RefRecNo);
  // Remove the first global (the record is freed), then add another.
  Type("010020", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter, kKeyTab});
  session.AnswerBox(BoxAnswer::Yes);
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('F');
  EXPECT_EQ(Get(Global(first), global_price::RecordStatus), global_price::kFree);
  GlobalListHeader h = ReadGlobalHeader();
  EXPECT_EQ(h.freeCount, 1);
  EXPECT_EQ(h.firstFree, first);
  Type("010020", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter, kKeyDown});
  Type("00000", {kKeyEnter});
  Type("LIMPIEZA", {kKeyEnter, '3', '0', kKeyEnter});
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('F');
  EXPECT_TRUE(session.ScriptDone());
  const AnalysisRecord a = Analysis("010020");
  EXPECT_EQ(Codes(a, 1), (std::vector<std::string>{"000000", "000000"}));
  EXPECT_EQ(Get(LineAt(a, 1, 1), analysis_line::RefRecNo), first);
  EXPECT_EQ(Get(Global(first), global_price::Description), "LIMPIEZA");
  EXPECT_EQ(Get(Global(first), global_price::RecordStatus), 0);
  h = ReadGlobalHeader();
  EXPECT_EQ(h.freeCount, 0);
  EXPECT_EQ(h.highest, 2);
}

// Removed and added in the same visit: the removed line's record is freed
// before the new line takes one, so the new line takes it and the file
// grows by nothing.
TEST_F(AnalysesSessionTest, AGlobalRemovedAndOneAddedInOneVisitShareTheRecord) {
  Prepare();
  NewAnalysis();
  Type("00000", {kKeyEnter});
  Type("ANDAMIO", {kKeyEnter, '1', '0', kKeyEnter});
  Type("00000", {kKeyEnter});
  Type("VIGILANCIA", {kKeyEnter, '2', '0', kKeyEnter});
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('F');
  const int16_t first = Get(LineAt(Analysis("010020"), 1, 0), analysis_line::RefRecNo);
  const int16_t second = Get(LineAt(Analysis("010020"), 1, 1), analysis_line::RefRecNo);
  Type("010020", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter, kKeyTab});
  session.AnswerBox(BoxAnswer::Yes);
  Type("", {kKeyDown});
  Type("00000", {kKeyEnter});
  Type("LIMPIEZA", {kKeyEnter, '3', '0', kKeyEnter});
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('F');
  EXPECT_TRUE(session.ScriptDone());
  const AnalysisRecord a = Analysis("010020");
  EXPECT_EQ(Codes(a, 1), (std::vector<std::string>{"000000", "000000"}));
  EXPECT_EQ(Get(LineAt(a, 1, 0), analysis_line::RefRecNo), second);
  EXPECT_EQ(Get(LineAt(a, 1, 1), analysis_line::RefRecNo), first);
  EXPECT_EQ(Get(Global(first), global_price::Description), "LIMPIEZA");
  EXPECT_EQ(Get(Global(first), global_price::GlobalPrice), 30.0L);
  EXPECT_EQ(Get(Global(first), global_price::RecordStatus), 0);
  EXPECT_EQ(Get(Global(second), global_price::Description), "VIGILANCIA");
  const GlobalListHeader h = ReadGlobalHeader();
  EXPECT_EQ(h.freeCount, 0);
  EXPECT_EQ(h.firstFree, 0);
  EXPECT_EQ(h.highest, 2);
}

}  // namespace
}  // namespace vantu
