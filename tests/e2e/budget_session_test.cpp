// Command H typed as a consultant would: items priced by an analysis, a
// subcontract or a global amount, the reference field's refusals, the
// description written back, the quantity to be defined, tender codes,
// dates, a deleted analysis, and the schedule made stale.
#include <gtest/gtest.h>

#include <fstream>

#include "app/main_program.h"
#include "console/console.h"
#include "estimating/budget.h"
#include "estimating/budget_panels.h"
#include "records/record_ops_fixture.h"
#include "session/selection_state.h"
#include "session/work_area_ids.h"
#include "toolkit/dates.h"

namespace vantu {
namespace {

// 0-based cells the script clicks.
constexpr int kRefCol0 = 25, kRefRow0 = 12;  // the item's reference code
constexpr int kButtonCol0 = 68;              // the two item buttons
constexpr int kUndefinedRow0 = 12, kExplainRow0 = 15;

class BudgetSessionTest : public test::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    OpenSet("A", "01");
    Shell().obraSelected = true;
    Selection().ObraCode = "01";
    PutCoded(kAreaAnalyses, "01", "EXCAVACIONES", "");
    analysis_ = PutCoded(kAreaAnalyses, "010010", "EXCAVACION MANUAL", "M3");
    PutCoded(kAreaSubcontracts, "01", "ACABADOS", "");
    PutCoded(kAreaSubcontracts, "01010", "PINTURA VINILO", "M2");
    PutCoded(kAreaBudget, "01", "PRELIMINARES", "");
    AddCoded(kAreaBudget, "01010");
    for (int n : {kAreaAnalyses, kAreaSubcontracts, kAreaBudget}) {
      Area(n).SavedChangeMarker = 0;
      FlushWorkArea(n);
    }
  }

  // A chapter or item as its module would have written it: the description
  // at 31 for files 3 and 4 and for budget chapters, the unit at 67.
  int16_t PutCoded(int area, const std::string& code, const std::string& description,
                   const std::string& unit) {
    const int16_t r = AddCoded(area, code);
    std::vector<uint8_t> rec(static_cast<size_t>(Area(area).RecordLength));
    GetRec(Area(area).Data, r, rec.data());
    WriteStr(rec.data() + 31, 35, description);
    if (!unit.empty()) WriteStr(rec.data() + 67, 6, unit);
    PutRec(Area(area).Data, r, rec.data());
    return r;
  }
  BudgetRecord Item(const std::string& code) {
    return Read<BudgetRecord>(kAreaBudget, Find(6, code));
  }
  std::string RefDescription(int area, const std::string& code) {
    std::vector<uint8_t> rec(static_cast<size_t>(Area(area).RecordLength));
    GetRec(Area(area).Data, Find(area, code), rec.data());
    return ReadStr(rec.data() + 31, 35);
  }
  // Types the item's code in the code field and lands on its reference.
  void OpenItem(const std::string& code) { Type(code, {kKeyEnter}); }
  // An item priced with analysis 010010 and a quantity, through the screen.
  void PriceWithAnalysis(const std::string& code, const char* quantity) {
    OpenItem(code);
    Type("010010", {kKeyEnter, kKeyEnter});
    Type(quantity, {kKeyEnter});
  }
  void Run() {
    RunCommand('H');
    EXPECT_TRUE(session.ScriptDone());
  }
  static void ExpectRow(int row, const std::string& text) {
    EXPECT_NE(ScreenRow(row).find(text), std::string::npos)
        << "row " << row << ": " << ScreenRow(row);
  }

  int16_t analysis_ = 0;
};

TEST_F(BudgetSessionTest, ItemsPricedByAnAnalysisAndBySubcontract) {
  PriceWithAnalysis("01010", "25");
  Type("01020", {kKeyEnter});  // a new item
  Type("01010", {kKeyEnter});
  session.QueueStep([] {
    ExpectRow(13, "Codigo Item (#####/#) : 01010");
    ExpectRow(14, "Descripcion Item      : PINTURA VINILO");
    ExpectRow(15, "Unidad de medida      : M2");
    ExpectRow(16, "Cantidad de Obra      :");
    PushKey(kKeyEnter);
    for (char c : std::string("12.5")) PushKey(static_cast<uint8_t>(c));
    PushKey(kKeyEnter);
    PushKey(kKeyEsc);
  });
  Run();
  const struct {
    const char* item;
    const char* ref;
    int area;
    uint8_t type;
    const char* description;
    const char* unit;
    long double quantity;
  } cases[] = {
      {"01010", "010010", kAreaAnalyses, budget_item::kRefAnalysis, "EXCAVACION MANUAL", "M3", 25},
      {"01020", "01010", kAreaSubcontracts, budget_item::kRefSubcontract, "PINTURA VINILO", "M2",
       12.5L},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    const BudgetRecord item = Item(c.item);
    EXPECT_EQ(Get(item, budget_item::RefType), c.type);
    EXPECT_EQ(Get(item, budget_item::RefCode), c.ref);
    EXPECT_EQ(Get(item, budget_item::RefRecNo), Find(c.area, c.ref));
    EXPECT_EQ(Get(item, budget_item::Description), c.description);
    EXPECT_EQ(Get(item, budget_item::Unit), c.unit);
    EXPECT_EQ(Get(item, budget_item::Quantity), c.quantity);
    EXPECT_EQ(Get(item, coded::CreatedDate), TodayShort());
    EXPECT_EQ(Get(item, coded::ChangedFlag), 1);
  }
  EXPECT_EQ(Markers(kAreaBudget, "A01").first, 1);
}

TEST_F(BudgetSessionTest, ACodePickedFromTheList) {
  PriceWithAnalysis("01010", "25");
  OpenItem("01020");
  // F1 lists the analyses; the second row is analysis 010010, which the
  // budget already uses.
  Type("", {kKeyF1});
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" ANALISIS UNITARIOS "));
    PushKey(kKeyDown), PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("El Presupuesto de Obra ya usa ese Item"));
    PushKey(kKeyEsc);  // leaves the list
  });
  session.QueueStep([] {
    // F1 in the list switches to the subcontracts.
    PushKey(kKeyF1), PushKey(kKeyF1);
  });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" SUBCONTRATOS "));
    PushKey(kKeyDown), PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    ExpectRow(14, "Descripcion Item      : PINTURA VINILO");
    PushKey(kKeyEsc);
  });
  Run();
  const BudgetRecord item = Item("01020");
  EXPECT_EQ(Get(item, budget_item::RefType), budget_item::kRefSubcontract);
  EXPECT_EQ(Get(item, budget_item::RefCode), "01010");
}

TEST_F(BudgetSessionTest, TheReferenceFieldRefusesAndKeepsTheCursor) {
  OpenItem("01010");
  Type("01", {kKeyEnter});
  session.QueueStep([] {
    // A chapter-length code is edited again, with nothing said.
    EXPECT_EQ(WhereY(), 13);
    EXPECT_GE(WhereX(), 26);
    EXPECT_EQ(ScreenRow(25).find("Codigo Inexistente"), std::string::npos);
    for (char c : std::string("019990")) PushKey(static_cast<uint8_t>(c));
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    ExpectRow(25, "Codigo Inexistente");
    EXPECT_EQ(WhereY(), 13);
    for (char c : std::string("0101")) PushKey(static_cast<uint8_t>(c));
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    ExpectRow(25, "Codigo Inexistente");
    EXPECT_EQ(WhereY(), 13);
    PushKey(kKeyEsc);  // leaving drops the unknown code
  });
  Run();
  const BudgetRecord item = Item("01010");
  EXPECT_EQ(Get(item, budget_item::RefCode), "");
  EXPECT_EQ(Get(item, budget_item::RefType), 0);
}

TEST_F(BudgetSessionTest, TheItemsDescriptionIsTheAnalysisDescription) {
  PriceWithAnalysis("01010", "25");
  OpenItem("01010");
  Type("", {kKeyEnter});
  Type("EXCAVACION A MAQUINA", {kKeyEnter, kKeyEsc});
  Run();
  EXPECT_EQ(Get(Item("01010"), budget_item::Description), "EXCAVACION A MAQUINA");
  EXPECT_EQ(RefDescription(kAreaAnalyses, "010010"), "EXCAVACION A MAQUINA");
  EXPECT_EQ(Markers(kAreaAnalyses, "A").first, 1);
  EXPECT_EQ(Markers(kAreaSubcontracts, "A").first, 0);
}

TEST_F(BudgetSessionTest, F8TwiceOnAQuantityOf25) {
  PriceWithAnalysis("01010", "25");
  OpenItem("01010");
  session.QueueStep([] {
    ExpectRow(13, "<Por definir>");
    ExpectRow(14, "Tecla: F8");
    ExpectRow(16, "Explicacion");
    ExpectRow(17, "Tecla: CtrlF12");
  });
  session.Click(kButtonCol0, kUndefinedRow0);  // the button is F8
  session.QueueStep([] {
    ExpectRow(16, "Cantidad de Obra      : <POR DEFINIR>");
    PushKey(kKeyPgDn), PushKey(kKeyPgUp);  // saved on leaving, loaded again
  });
  Type("01010", {kKeyEnter, kKeyEnter, kKeyEnter});
  session.QueueStep([] {
    EXPECT_EQ(WhereY(), 16);
    ExpectRow(16, "<POR DEFINIR>");
    PushKey('7');  // read-only: beeps
    PushKey(kKeyF8);
  });
  session.QueueStep([] {
    EXPECT_EQ(WhereY(), 16);
    EXPECT_EQ(ScreenRow(16).find("<POR DEFINIR>"), std::string::npos);
    PushKey(kKeyEsc);
  });
  Run();
  const BudgetRecord item = Item("01010");
  EXPECT_EQ(Get(item, budget_item::PorDefinir), 0);
  EXPECT_EQ(Get(item, budget_item::Quantity), 0.0L);
  EXPECT_GE(session.BeepCount(), 1);
}

TEST_F(BudgetSessionTest, AGlobalItemTakesItsPrice) {
  OpenItem("01010");
  session.Click(kRefCol0, kRefRow0, false);
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" Codigo Item Global "));
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    ExpectRow(13, "Codigo Item (#####/#) : 000000");
    PushKey(kKeyEsc);  // the proposal is withdrawn
  });
  session.QueueStep([] {
    EXPECT_EQ(ScreenRow(13).find("000000"), std::string::npos);
    for (char c : std::string("00000")) PushKey(static_cast<uint8_t>(c));
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    ExpectRow(15, "Unidad de medida      : Global");
    ExpectRow(16, "Precio Global         :");
    EXPECT_EQ(ScreenRow(13).find("<Por definir>"), std::string::npos);
    for (char c : std::string("DEMOLICIONES")) PushKey(static_cast<uint8_t>(c));
    PushKey(kKeyEnter), PushKey(kKeyEnter);
    for (char c : std::string("1500000")) PushKey(static_cast<uint8_t>(c));
    PushKey(kKeyEnter), PushKey(kKeyEsc);
  });
  Run();
  const BudgetRecord item = Item("01010");
  EXPECT_EQ(Get(item, budget_item::RefType), budget_item::kRefGlobal);
  EXPECT_EQ(Get(item, budget_item::RefCode), "000000");
  EXPECT_EQ(Get(item, budget_item::Description), "DEMOLICIONES");
  EXPECT_EQ(Get(item, budget_item::Unit), "Global");
  EXPECT_EQ(Get(item, budget_item::Quantity), 1500000.0L);
}

TEST_F(BudgetSessionTest, TenderCodesShownAndHidden) {
  PriceWithAnalysis("01010", "25");
  OpenItem("01010");
  Type("", {kKeyF3});
  session.QueueStep([] {
    ExpectRow(12, "<< Codigo Pliegos >>  :");
    PushKey(kKeyUp);
    for (char c : std::string("1.1")) PushKey(static_cast<uint8_t>(c));
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_EQ(WhereY(), 13);
    PushKey(kKeyF3);
  });
  session.QueueStep([] {
    EXPECT_EQ(ScreenRow(12).find("Pliegos"), std::string::npos) << ScreenRow(12);
    PushKey(kKeyEsc);
  });
  Run();
  EXPECT_EQ(Get(Item("01010"), budget_item::PliegosCode), "1.1");
  const auto bytes = FileBytes("Apr06dat.A01");
  ASSERT_GT(bytes.size(), 22u);
  EXPECT_EQ(bytes[obra_header::UsePliegosCodes.offset], 0);
  EXPECT_EQ(bytes[kHdrChangeMarker], 1);
}

TEST_F(BudgetSessionTest, DatesExplanationAndAChapter) {
  session.dateAnswer = "15/03/2024";
  session.QueueStep([] { PushKey(kKeyF6); });  // on chapter 01
  session.QueueStep([] {
    ExpectRow(25, "La fecha de creacion solo es valida en ITEMS");
    PushKey(kKeyEnter);
  });
  Type("ESTUDIOS PREVIOS", {kKeyEnter});
  OpenItem("01010");
  Type("", {kKeyF6});
  session.Click(kButtonCol0, kExplainRow0);
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("EXPLICACION BOTON <POR DEFINIR>"));
    EXPECT_TRUE(ScreenContains("Listar Items con Cant. Obra <POR DEFINIR>."));
    PushKey(kKeyEsc);
  });
  session.QueueStep([] {
    EXPECT_FALSE(ScreenContains("EXPLICACION BOTON"));
    ExpectRow(17, "Fecha d/m/a : 15/03/24");
    // The key the button names opens it too.
    HostKeyEvent(VKey::F12, Modifiers{false, true, false}, 0, -1);
  });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("EXPLICACION BOTON <POR DEFINIR>")) << ScreenText();
    PushKey(kKeyEsc);
  });
  session.QueueStep([] { PushKey(kKeyEsc); });
  Run();
  EXPECT_EQ(Get(Item("01010"), coded::CreatedDate), "15/03/24");
  EXPECT_EQ(Get(Read<BudgetRecord>(kAreaBudget, Find(6, "01")), budget_chapter::Description),
            "ESTUDIOS PREVIOS");
  const std::vector<std::string>& text = PorDefinirExplanation();
  EXPECT_EQ(text.size(), 15u);
}

TEST_F(BudgetSessionTest, AnItemWhoseAnalysisWasDeleted) {
  PriceWithAnalysis("01010", "25");
  session.QueueStep([] { PushKey(kKeyEsc); });
  Run();
  // The analysis is deleted through the shared record layer: the budget's
  // use of it is reported, the user goes on without looking.
  AnalysisRecord rec;
  CodedScreen s;
  s.area = kAreaAnalyses;
  s.buffer = rec.data();
  Area(kAreaAnalyses).CurrentRecord = analysis_;
  LoadCurrent(kAreaAnalyses, rec.data());
  session.AnswerBox(BoxAnswer::No);
  session.AnswerBox(BoxAnswer::Yes);
  DeleteRecord(s);
  ASSERT_EQ(Find(kAreaAnalyses, "010010"), -1);
  ASSERT_GE(session.Boxes().size(), 1u);
  EXPECT_NE(session.Boxes()[0].text.find("Presupuesto de Obra"), std::string::npos);

  OpenItem("01010");
  session.QueueStep([] {
    ExpectRow(14, "Descripcion Item      :  <<< Codigo eliminado usuario >>>");
    PushKey(kKeyEsc);
  });
  Run();
  // The item keeps what it had; the review will report the reference.
  const BudgetRecord item = Item("01010");
  EXPECT_EQ(Get(item, budget_item::RefCode), "010010");
  EXPECT_EQ(Get(item, budget_item::Description), "EXCAVACION MANUAL");
}

TEST_F(BudgetSessionTest, AddingAnItemMakesTheScheduleStale) {
  {
    std::ofstream out(dataDir / "Apr06cro.A01", std::ios::binary | std::ios::trunc);
    const char row[16] = {};
    out.write(row, sizeof row);
  }
  Type("01030", {kKeyEnter, kKeyEsc});
  Run();
  EXPECT_GT(Find(kAreaBudget, "01030"), 0);
  const auto bytes = FileBytes("Apr06cro.A01");
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(GetI16(bytes.data() + 6), -1);
  EXPECT_EQ(Markers(kAreaBudget, "A01").first, 1);
}

TEST_F(BudgetSessionTest, WithoutAnObraTheCommandSaysSo) {
  CloseWorkArea(kAreaBudget);
  BudgetCommand();
  ExpectRow(25, "Cargue una Obra");
}

}  // namespace
}  // namespace vantu
