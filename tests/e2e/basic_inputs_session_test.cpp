// Command E typed as a consultant would: chapters and inputs with offered
// codes, the offer limit, copies, recodification, refused deletions, the
// usage warning on a generated set, group changes, and a restart.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_program.h"
#include "estimating/basic_inputs.h"
#include "records/record_ops_fixture.h"

namespace vantu {
namespace {

constexpr int kCodeCol0 = 25, kCodeRow0 = 10;  // the code field's value, 0-based

class BasicInputsSessionTest : public test::SessionTest {
 protected:
  void RightClickCode() { session.Click(kCodeCol0, kCodeRow0, false); }
  InputRecord Input(const std::string& c) { return Read<InputRecord>(2, Find(2, c)); }
  std::vector<std::string> Keys() {
    std::vector<std::string> keys;
    for (const IndexEntry& e : Entries(2)) keys.push_back(e.key);
    return keys;
  }
};

TEST_F(BasicInputsSessionTest, ChaptersAndInputsWithOfferedCodes) {
  OpenSet("A");
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find("0 Codigos En Uso"), std::string::npos) << ScreenRow(1);
    EXPECT_EQ(ScreenRow(11).substr(1, 29), "Codigo   (#####)      : 01   ");
    PushKey(kKeyEnter);  // the offered first chapter
  });
  Type("EQUIPOS", {kKeyEnter, kKeyEnter, kKeyEnter});
  RightClickCode();
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" Adicionar CAPITULO "));
    PushKey(kKeyDown), PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_EQ(ScreenRow(11).substr(25, 2), "02");
    PushKey(kKeyEnter);
  });
  Type("MATERIALES", {kKeyEnter, kKeyEnter, kKeyDown, kKeyEnter});
  for (const char* item : {"01010", "01020"}) {
    RightClickCode();
    session.QueueStep([] { PushKey(kKeyEnter); });  // " Adicionar ITEM     "
    session.QueueStep([item] {
      EXPECT_EQ(ScreenRow(11).substr(25, 5), item);
      PushKey(kKeyEnter);
    });
    Type(item[3] == '1' ? "RETROEXCAVADORA" : "VOLQUETA",
         {kKeyEnter, 'H', 'O', 'R', 'A', kKeyEnter, '8', '5', '0', '0', '0', kKeyEnter});
    session.QueueStep([] {
      // The price's change dated it; its Enter saved the record.
      EXPECT_NE(ScreenRow(17).find("Fecha d/m/a : 07/12/26"), std::string::npos) << ScreenRow(17);
    });
  }
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find("4 Codigos En Uso"), std::string::npos);
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Keys(), (std::vector<std::string>{"01", "01010", "01020", "02"}));
  EXPECT_EQ(Get(Input("01"), input::Description), "EQUIPOS");
  EXPECT_EQ(Get(Input("01"), input::Group), 1);
  EXPECT_EQ(Get(Input("02"), input::Group), 2);
  const InputRecord item = Input("01010");
  EXPECT_EQ(Get(item, input::Description), "RETROEXCAVADORA");
  EXPECT_EQ(Get(item, input::Unit), "HORA");
  EXPECT_EQ(Get(item, input::Price), 85000.0L);
  EXPECT_EQ(Get(item, coded::CreatedDate), "07/12/26");
  EXPECT_EQ(Markers(2, "A").first, 1);
}

TEST_F(BasicInputsSessionTest, AChapterLeftWithoutAChoiceHasNoGroup) {
  OpenSet("A");
  // The offered chapter, its description, then past the group field.
  session.QueueStep([] { PushKey(kKeyEnter); });
  Type("SIN DEFINIR", {kKeyEnter, kKeyDown, kKeyEsc});
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(Input("01"), input::Description), "SIN DEFINIR");
  EXPECT_EQ(Get(Input("01"), input::Group), 0);
}

TEST_F(BasicInputsSessionTest, TheOfferEndsAt03980) {
  OpenSet("A");
  PutInput("03", "TRANSPORTES", 3);
  PutInput("03970", "CAMION", 0, "VIAJE", 1000);
  Type("03970", {kKeyEnter, kKeyUp});
  RightClickCode();
  session.QueueStep([] { PushKey(kKeyEnter); });
  session.QueueStep([] { PushKey(kKeyEnter), PushKey(kKeyUp); });  // 03980 added
  RightClickCode();
  session.QueueStep([] { PushKey(kKeyEnter); });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("Codigos agotados - intente compactar usando recodificacion"),
              std::string::npos);
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Keys(), (std::vector<std::string>{"03", "03970", "03980"}));
}

TEST_F(BasicInputsSessionTest, CopyRecodifyRefusedDeletionAndRestart) {
  OpenSet("A");
  PutInput("01", "EQUIPOS", 1);
  PutInput("01010", "MEZCLADORA", 0, "DIA", 45000);
  const int16_t r = Find(2, "01010");
  const long double stamp = Get(Input("01010"), coded::RecordStamp);
  Type("01010", {kKeyEnter, kKeyUp, kKeyF5});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find(" Entre Codigo de la Copia (Esc = regresa) "), std::string::npos);
    for (unsigned char ch : std::string("01020")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  Type("01010", {kKeyEnter, kKeyUp, kKeyF4});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find(" Entre el Nuevo Codigo  (Esc = regresa) "), std::string::npos);
    for (unsigned char ch : std::string("01015")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  Type("01", {kKeyEnter, kKeyUp, kKeyTab});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("Antes de suprimir este Capitulo debe eliminar todos sus Items"),
              std::string::npos);
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Keys(), (std::vector<std::string>{"01", "01015", "01020"}));
  ExpectReference<InputRecord>(2, "01015", r, stamp);
  const InputRecord copy = Input("01020");
  EXPECT_EQ(Get(copy, input::Description), "MEZCLADORA");
  EXPECT_EQ(Get(copy, input::Price), 45000.0L);
  EXPECT_GT(Get(copy, coded::RecordStamp), stamp);

  // After closing and opening the set again everything is there.
  CloseSet();
  ResetWorkAreas();
  OpenSet("A");
  Type("01015", {kKeyEnter});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(8).find("DESCRIPCION CAPITULO  : EQUIPOS"), std::string::npos);
    EXPECT_NE(ScreenRow(11).find("01015"), std::string::npos);
    EXPECT_NE(ScreenRow(13).find("MEZCLADORA"), std::string::npos);
    EXPECT_NE(ScreenRow(15).find("45.000,00"), std::string::npos) << ScreenRow(15);
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
}

TEST_F(BasicInputsSessionTest, DeletingAnInputUsedByAnalysesOffersTheReview) {
  auto shape = SmallShape();
  shape.obra = "";
  GenerateDataset(shape);
  OpenSet("A");
  // An input that a generated analysis uses.
  std::string used;
  for (const IndexEntry& e : Entries(3)) {
    if (e.key.size() != 6 || !used.empty()) continue;
    const auto a = Read<AnalysisRecord>(3, e.record);
    for (int s = 1; s <= 15 && used.empty(); ++s) {
      const AnalysisLine l = Get(a, analysis::Lines(s));
      if (Get(l, analysis_line::LineType) == 2) used = Get(l, analysis_line::RefCode);
    }
  }
  ASSERT_FALSE(used.empty());
  session.AnswerBox(BoxAnswer::Yes);
  Type(used, {kKeyEnter, kKeyUp, kKeyTab});
  session.QueueStep([] {
    EXPECT_TRUE(Review().active);
    PushKey(kKeyCtrlEnd);  // ends the review; Esc then leaves
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_GT(Find(2, used), 0);
  ASSERT_EQ(session.Boxes().size(), 1u);
  EXPECT_EQ(session.Boxes()[0].caption, "Advertencia Eliminacion");
  const auto warnings = ReadErrorFile(Shell().errorFileName);
  ASSERT_FALSE(warnings.empty());
  for (const ErrorEntry& w : warnings) {
    EXPECT_EQ(w.targetKind, 8);
    EXPECT_EQ(w.detailsText, PadCode6(used));
  }
}

class GroupChangeSessionTest : public BasicInputsSessionTest {
 protected:
  // Inputs 01010 (Equipos) and 02010 (Materiales); analysis 010010 uses
  // 01010 once in Equipos and 02010 `materials` times in Materiales.
  int16_t Prepare(int materials) {
    OpenSet("A");
    PutInput("01", "EQUIPOS", 1);
    PutInput("01010", "MEZCLADORA", 0, "DIA", 1);
    PutInput("02", "MATERIALES", 2);
    PutInput("02010", "ARENA", 0, "M3", 1);
    AddCoded(3, "01");
    const int16_t r = AddCoded(3, "010010");
    AnalysisRecord a = Read<AnalysisRecord>(3, r);
    auto line = [](const char* c) {
      AnalysisLine l;
      Set(l, analysis_line::LineType, uint8_t{2});
      Set(l, analysis_line::RefCode, c);
      return l;
    };
    // Rows 1 and 14: the Materiales section can take 14 lines.
    Set(a, analysis::GroupRows(1), uint8_t{1});
    Set(a, analysis::GroupRows(2), uint8_t{14});
    Set(a, analysis::GroupRows(3), uint8_t{0});
    Set(a, analysis::GroupCount(1), uint8_t{1});
    Set(a, analysis::GroupCount(2), static_cast<uint8_t>(materials));
    Set(a, analysis::Lines(1), line("01010"));
    for (int i = 0; i < materials; ++i) Set(a, analysis::Lines(2 + i), line("02010"));
    PutRec(Area(3).Data, r, a.data());
    // Chapter 01 to Transportes: its field, the list, two rows down.
    Type("01", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyDown, kKeyDown, kKeyEnter});
    return r;
  }
};

TEST_F(GroupChangeSessionTest, WithRoomTheLinesMove) {
  const int16_t r = Prepare(5);
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('E');
  EXPECT_EQ(Get(Input("01"), input::Group), 3);
  const auto a = Read<AnalysisRecord>(3, r);
  EXPECT_EQ(SectionLineCount(a, 1), 0);
  EXPECT_EQ(SectionLineCount(a, 3), 1);
  EXPECT_EQ(Get(Get(a, analysis::Lines(SectionFirstSlot(a, 3))), analysis_line::RefCode), "01010");
  EXPECT_TRUE(session.Boxes().empty());
}

TEST_F(GroupChangeSessionTest, WithoutRoomTheGroupStays) {
  const int16_t r = Prepare(14);
  const auto before = Read<AnalysisRecord>(3, r);
  session.AnswerBox(BoxAnswer::No);
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(9).find("Equipos"), std::string::npos) << ScreenRow(9);
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(Input("01"), input::Group), 1);
  EXPECT_EQ(Read<AnalysisRecord>(3, r).bytes, before.bytes);
  ASSERT_EQ(session.Boxes().size(), 1u);
  EXPECT_EQ(session.Boxes()[0].caption, "CorreccionManual");
  EXPECT_FALSE(std::filesystem::exists("ApTemError"));
}

}  // namespace
}  // namespace vantu
