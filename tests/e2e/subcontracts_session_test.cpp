// Command G typed as a consultant would: a chapter by percentages and one by
// values, the sum check, the derived values and the date of a change.
#include <gtest/gtest.h>

#include <array>

#include "app/main_program.h"
#include "records/record_ops_fixture.h"
#include "toolkit/dates.h"

namespace vantu {
namespace {

class SubcontractsSessionTest : public test::SessionTest {
 protected:
  void PutChapter(const std::string& c, int16_t mode) {
    const int16_t r = AddCoded(4, c);
    SubcontractRecord s = Read<SubcontractRecord>(4, r);
    Set(s, subcontract::Description, "CAPITULO " + c);
    Set(s, subcontract::EntryMode, mode);
    PutRec(Area(4).Data, r, s.data());
  }
  SubcontractRecord Item(const std::string& c) { return Read<SubcontractRecord>(4, Find(4, c)); }
  // A stored item: its four values and the direct cost the calculation left.
  void PutItem(const std::string& c, const std::array<long double, 4>& values, long double direct) {
    const int16_t r = AddCoded(4, c);
    SubcontractRecord s = Read<SubcontractRecord>(4, r);
    Set(s, subcontract::Description, "ITEM " + c);
    Set(s, subcontract::EquiposValue, values[0]);
    Set(s, subcontract::MaterialesValue, values[1]);
    Set(s, subcontract::TransportesValue, values[2]);
    Set(s, subcontract::ManoDeObraValue, values[3]);
    Set(s, subcontract::DirectCost, direct);
    PutRec(Area(4).Data, r, s.data());
  }
  // Types the item's fields from the description on: description, unit,
  // four amounts and the direct cost.
  void Fill(const std::string& code, const std::vector<std::string>& amounts,
            const std::string& direct) {
    Type(code, {kKeyEnter});
    Type("CUBIERTA", {kKeyEnter});
    Type("M2", {kKeyEnter});
    for (const std::string& a : amounts) Type(a, {kKeyEnter});
    Type(direct, {kKeyEnter});
  }
};

TEST_F(SubcontractsSessionTest, PercentagesDeriveTheValues) {
  OpenSet("A");
  PutChapter("01", subcontract::kByPercentages);
  Fill("01010", {"33.33", "33.33", "33.33", ""}, "1000");
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(14).find("Equipos       ( % ) :"), std::string::npos) << ScreenRow(14);
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
  const SubcontractRecord s = Item("01010");
  EXPECT_NEAR(static_cast<double>(Get(s, subcontract::EquiposValue)), 333.40, 1e-9);
  EXPECT_NEAR(static_cast<double>(Get(s, subcontract::MaterialesValue)), 333.30, 1e-9);
  EXPECT_NEAR(static_cast<double>(Get(s, subcontract::TransportesValue)), 333.30, 1e-9);
  EXPECT_EQ(Get(s, subcontract::ManoDeObraValue), 0.0L);
  EXPECT_EQ(Get(s, subcontract::DirectCost), 1000.0L);
  EXPECT_EQ(Get(s, coded::CreatedDate), TodayShort());
  EXPECT_EQ(Markers(4, "A").first, 1);

  // Shown again, the stored values are their shares of the direct cost.
  Type("01010", {kKeyEnter});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(14).find("33,34"), std::string::npos) << ScreenRow(14);
    EXPECT_NE(ScreenRow(15).find("33,33"), std::string::npos) << ScreenRow(15);
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
}

TEST_F(SubcontractsSessionTest, ASumOf99IsRefusedAndAllZeroIsTaken) {
  OpenSet("A");
  PutChapter("01", subcontract::kByPercentages);
  Fill("01010", {"50", "40", "5", "4"}, "1000");
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find(" La suma de porcentajes debe ser 100,00 "), std::string::npos)
        << ScreenRow(25);
    // Back on the first percentage: correct the last one.
    PushKey(kKeyEnter), PushKey(kKeyEnter), PushKey(kKeyEnter);
    PushKey('5'), PushKey(kKeyEnter), PushKey(kKeyEnter);
  });
  Fill("01020", {"", "", "", ""}, "");
  session.QueueStep([] {
    EXPECT_EQ(ScreenRow(25).find("La suma"), std::string::npos) << ScreenRow(25);
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
  const SubcontractRecord s = Item("01010");
  EXPECT_EQ(Get(s, subcontract::EquiposValue), 500.0L);
  EXPECT_EQ(Get(s, subcontract::ManoDeObraValue), 50.0L);
  EXPECT_GT(Find(4, "01020"), 0);
  EXPECT_EQ(Get(Item("01020"), subcontract::DirectCost), 0.0L);
}

// 40/30/20/10 typed of 45000, the direct cost since raised to 48375 by the
// adjustment factors of a calculation; and a split whose shares are not
// whole cents. Looked at and paged through, neither is refused nor
// rewritten; a percentage changed splits the direct cost as entered.
TEST_F(SubcontractsSessionTest, AStoredSplitIsShownAsTypedAndKeptWhenPagedThrough) {
  OpenSet("A");
  PutChapter("01", subcontract::kByPercentages);
  PutItem("01010", {18000, 13500, 9000, 4500}, 48375);
  PutItem("01020", {123456.78L, 0, 0, 876543.22L}, 1000000);
  Area(4).SavedChangeMarker = 0;
  FlushWorkArea(4);
  const SubcontractRecord first = Item("01010"), second = Item("01020");
  Type("01010", {kKeyEnter});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(14).find("40,00"), std::string::npos) << ScreenText();
    EXPECT_NE(ScreenRow(17).find("10,00"), std::string::npos) << ScreenRow(17);
    PushKey(kKeyPgDn);
  });
  session.QueueStep([] {
    EXPECT_EQ(ScreenRow(25).find("La suma"), std::string::npos) << ScreenRow(25);
    EXPECT_NE(ScreenRow(10).find("01020"), std::string::npos) << ScreenText();
    EXPECT_NE(ScreenRow(14).find("12,35"), std::string::npos) << ScreenRow(14);
    PushKey(kKeyPgUp);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(10).find("01010"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Item("01010").bytes, first.bytes);
  EXPECT_EQ(Item("01020").bytes, second.bytes);
  EXPECT_EQ(Markers(4, "A").first, 0);

  Type("01010", {kKeyEnter, kKeyEnter, kKeyEnter});  // to the first percentage
  Type("50", {kKeyEnter});
  Type("20", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyEnter});
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
  const SubcontractRecord s = Item("01010");
  EXPECT_EQ(Get(s, subcontract::EquiposValue), 22500.0L);
  EXPECT_EQ(Get(s, subcontract::MaterialesValue), 9000.0L);
  EXPECT_EQ(Get(s, subcontract::TransportesValue), 9000.0L);
  EXPECT_EQ(Get(s, subcontract::ManoDeObraValue), 4500.0L);
  EXPECT_EQ(Get(s, subcontract::DirectCost), 45000.0L);
  EXPECT_EQ(Markers(4, "A").first, 1);
}

// F1 outside a code field says where the lists are, or, while the
// percentages typed do not add up, what is wrong with them.
TEST_F(SubcontractsSessionTest, F1OnAPercentageSaysWhatToDo) {
  OpenSet("A");
  PutChapter("01", subcontract::kByPercentages);
  Type("01010", {kKeyEnter});
  Type("CUBIERTA", {kKeyEnter});
  Type("M2", {kKeyEnter, kKeyF1});  // the first percentage, nothing typed yet
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(".. Llamar Lista desde campo de Codigos ..")) << ScreenText();
    EXPECT_FALSE(ScreenContains("Ajuste los porcentajes"));
    PushKey(kKeyEnter);  // closes the window
  });
  for (const char* p : {"50", "40", "5", "4", "1000"}) Type(p, {kKeyEnter});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find(" La suma de porcentajes"), std::string::npos) << ScreenRow(25);
    PushKey(kKeyF1);  // back on the first percentage
  });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(".. Ajuste los porcentajes para que sumen 100% ..")) << ScreenText();
    EXPECT_FALSE(ScreenContains("Llamar Lista"));
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_FALSE(ScreenContains("Ajuste los porcentajes")) << "the window is closed";
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
}

// Percentages that do not add up keep the cursor in the record for every
// key but Esc, which the menu's commands also send: it leaves, and the split
// typed is not stored.
TEST_F(SubcontractsSessionTest, EscLeavesPercentagesThatDoNotAddUp) {
  OpenSet("A");
  PutChapter("01", subcontract::kByPercentages);
  Fill("01010", {"50", "40", "5", "4"}, "1000");
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find(" La suma de porcentajes"), std::string::npos) << ScreenRow(25);
    PushKey(kKeyPgDn);  // refused as well
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(10).find("01010"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
  const SubcontractRecord s = Item("01010");
  EXPECT_EQ(Get(s, subcontract::EquiposValue), 0.0L);
  EXPECT_EQ(Get(s, subcontract::DirectCost), 0.0L);
}

// A message leaves row 25 with the next value accepted: the fault it
// named is being put right.
TEST_F(SubcontractsSessionTest, AMessageLeavesRow25OnceItsFaultIsFixed) {
  OpenSet("A");
  PutChapter("01", subcontract::kByPercentages);
  Type("12010", {kKeyEnter});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("Crear primero 12"), std::string::npos) << ScreenRow(25);
    for (unsigned char ch : std::string("01010")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_EQ(ScreenRow(25).find("Crear primero"), std::string::npos) << ScreenRow(25);
    PushKey(kKeyEnter), PushKey(kKeyEnter);  // description and unit
    for (const char* pct : {"50", "40", "5", "4"}) {
      for (unsigned char ch : std::string(pct)) PushKey(ch);
      PushKey(kKeyEnter);
    }
    for (unsigned char ch : std::string("1000")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("La suma de porcentajes"), std::string::npos) << ScreenRow(25);
    PushKey('5'), PushKey('1'), PushKey(kKeyEnter);  // 51 + 40 + 5 + 4
  });
  session.QueueStep([] {
    EXPECT_EQ(ScreenRow(25).find("La suma"), std::string::npos) << ScreenRow(25);
    EXPECT_EQ(ScreenRow(25).find("Crear primero"), std::string::npos) << ScreenRow(25);
    PushKey(kKeyEnter), PushKey(kKeyEnter), PushKey(kKeyEnter), PushKey(kKeyEnter);
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(Item("01010"), subcontract::EquiposValue), 510.0L);
}

// The help key works on the chapter's entry mode, a choice field, as on
// every other field.
TEST_F(SubcontractsSessionTest, TheHelpKeyWorksOnAChoiceField) {
  OpenSet("A");
  PutChapter("01", subcontract::kByValues);
  Type("01", {kKeyEnter, kKeyEnter});  // code, description: on the entry mode
  session.QueueStep([] { PushKey(kKeyCtrlF1); });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("COMANDOS GENERALES")) << ScreenText();
    PushKey(kKeyEsc);
  });
  session.QueueStep([] {
    EXPECT_FALSE(ScreenContains("COMANDOS GENERALES")) << ScreenText();
    EXPECT_NE(ScreenRow(8).find("ENTRADA POR"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
}

TEST_F(SubcontractsSessionTest, ValuesModeAndTheChapterDate) {
  OpenSet("A");
  PutChapter("02", subcontract::kByValues);
  Fill("02010", {"100", "200", "300", "400"}, "1000");
  Type("02", {kKeyEnter, kKeyF6});
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("La fecha de creacion solo es valida en ITEMS"),
              std::string::npos);
    PushKey(kKeyEsc);
  });
  RunCommand('G');
  EXPECT_TRUE(session.ScriptDone());
  const SubcontractRecord s = Item("02010");
  EXPECT_EQ(Get(s, subcontract::EquiposValue), 100.0L);
  EXPECT_EQ(Get(s, subcontract::ManoDeObraValue), 400.0L);
  EXPECT_EQ(Get(s, subcontract::Unit), "M2");
}

}  // namespace
}  // namespace vantu
