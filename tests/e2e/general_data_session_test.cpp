// Command D typed as a consultant would: the Rama's names and percentages,
// the AIU derivation on disk, the Obra's fields with the calendar, Alt+N.
#include <gtest/gtest.h>

#include "app/main_program.h"
#include "records/general_record.h"
#include "records/record_ops_fixture.h"

namespace vantu {
namespace {

class GeneralDataSessionTest : public test::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Shell().consultantName = "ANA";
  }
  // As the selection leaves a new Rama: AIU mode 1, factors 1.0.
  void OpenNewRama(const std::string& obra = "") {
    OpenSet("A", obra);
    Selection().ObraCode = obra;
    GeneralDataRecord g = Read<GeneralDataRecord>(1, 1);
    Set(g, general::AiuMode, general::kAiuPerItem);
    for (int group = 1; group <= 4; ++group) Set(g, general::Factor(group), 1.0L);
    PutRec(Area(1).Data, 1, g.data());
    FlushWorkArea(1);
  }
  // Record 1 of file 1 as the disk holds it.
  GeneralDataRecord OnDisk() {
    const auto bytes = FileBytes("Apr01dat.A");
    GeneralDataRecord g;
    if (bytes.size() >= 2 * 152) std::copy_n(bytes.begin() + 152, 152, g.bytes.begin());
    return g;
  }
};

// A click on a field's label moves there as a click on its value does: the
// figure typed next goes into that field, not into the one left.
TEST_F(GeneralDataSessionTest, AClickOnALabelMovesToItsField) {
  OpenNewRama();
  session.QueueStep([] {
    ASSERT_NE(ScreenRow(14).find("IVA (aplicable a la Utilidad)"), std::string::npos)
        << ScreenText();
  });
  session.Click(12, 13);  // on "IVA", far left of its value
  Type("19", {kKeyEnter});
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('D');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(OnDisk(), general::IvaPct), 19.0L);
  EXPECT_EQ(Get(OnDisk(), general::RamaName), "");
}

TEST_F(GeneralDataSessionTest, TheNewRamaGetsItsNameAndAiuPerItem) {
  OpenNewRama();
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find(" Datos Generales "), std::string::npos);
    EXPECT_NE(ScreenRow(3).find("Consultor: ANA"), std::string::npos);
    EXPECT_EQ(ScreenRow(5).substr(9, 23), "Nombre de la Rama     :");
    EXPECT_NE(ScreenRow(6).find("...Ninguna obra especifica..."), std::string::npos);
    EXPECT_EQ(ScreenRow(7).find("Referencia"), std::string::npos);  // no Obra fields
    EXPECT_NE(ScreenRow(9).find("Cada Item"), std::string::npos);
    EXPECT_NE(ScreenRow(15).find("Factor ajuste valor Equipos       :"), std::string::npos);
    EXPECT_EQ(ScreenRow(20).find("% Anticipo"), std::string::npos);
    const ImageSlot& picture = Screen().images[0];
    EXPECT_EQ(picture.name, "CONSTRUCT");
    EXPECT_EQ(picture.col, 55);
    EXPECT_EQ(picture.row, 9);
    EXPECT_EQ(picture.width, 15);
    EXPECT_EQ(picture.height, 10);
    for (unsigned char ch : std::string("RAMA A")) PushKey(ch);
    PushKey(kKeyEnter);
    PushKey(kKeyEnter);  // the AIU mode's list opens
  });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("Al final"));
    PushKey(kKeyEnter);  // "Cada Item" stays
  });
  Type("10", {kKeyEnter, '5', kKeyEnter, '1', '0', kKeyEnter, '1', '6', kKeyEnter, kKeyEnter,
              kKeyEnter, kKeyEnter, kKeyEnter});
  RunCommand('D');
  EXPECT_TRUE(session.ScriptDone());
  const GeneralDataRecord g = OnDisk();
  EXPECT_EQ(Get(g, general::RamaName), "RAMA A");
  EXPECT_EQ(Get(g, general::AiuMode), 1);
  EXPECT_EQ(Get(g, general::AiuPerItem), 25.0L);
  EXPECT_EQ(Get(g, general::AiuPerItemForSubcontracts), 25.0L);
  EXPECT_EQ(Get(g, general::AiuAtEnd), 0.0L);
  EXPECT_EQ(Get(g, general::IvaPct), 16.0L);
  EXPECT_EQ(Get(g, general::FactorManoDeObra), 1.0L);
  EXPECT_EQ(Markers(1, "A").first, 1);
  EXPECT_EQ(Selection().RamaName, "RAMA A");
  EXPECT_TRUE(Screen().images[0].name.empty());  // the picture goes with the screen

  // Mode 2 moves the 25 to the end of the budget.
  session.QueueStep([] { PushKey(kKeyDown), PushKey(kKeyEnter); });
  session.QueueStep([] { PushKey(kKeyDown), PushKey(kKeyEnter), PushKey(kKeyEsc); });
  RunCommand('D');
  const GeneralDataRecord g2 = OnDisk();
  EXPECT_EQ(Get(g2, general::AiuMode), 2);
  EXPECT_EQ(Get(g2, general::AiuAtEnd), 25.0L);
  EXPECT_EQ(Get(g2, general::AiuPerItem), 0.0L);
  EXPECT_EQ(Get(g2, general::AiuPerItemForSubcontracts), 0.0L);
}

TEST_F(GeneralDataSessionTest, AFactorOutsideItsLimitsIsRefused) {
  OpenNewRama();
  const std::vector<int> toFactor(6, kKeyDown);  // 1 -> 5 -> 6 .. 10
  session.QueueStep([toFactor] {
    for (int k : toFactor) PushKey(static_cast<uint8_t>(k));
    for (unsigned char ch : std::string("2.01")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("El valor no puede ser mayor de 2,00"), std::string::npos)
        << ScreenRow(25);
    for (unsigned char ch : std::string("0.49")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("El valor no puede ser menor de 0,50"), std::string::npos);
    for (unsigned char ch : std::string("1.5")) PushKey(ch);
    PushKey(kKeyEnter);
    PushKey(kKeyEsc);
  });
  RunCommand('D');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Get(OnDisk(), general::FactorEquipos), 1.5L);
}

TEST_F(GeneralDataSessionTest, WithAnObraItsFieldsTheCalendarAndTheConsultant) {
  OpenNewRama("01");
  session.dateAnswer = "15/03/2026";
  session.consultantAnswer = "BEATRIZ";
  Type("RAMA A",
       {kKeyEnter, 'O', 'B', 'R', 'A', ' ', 'U', 'N', 'O', kKeyEnter, 'R', '7', kKeyEnter});
  // The date field opens the calendar by itself; then Alt+N at field 5.
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(8).find("15/03/26"), std::string::npos);
    PushKey(kKeyAltN);
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(3).find("Consultor: BEATRIZ"), std::string::npos);
    std::vector<int> down(10, kKeyDown);  // 5 -> 15
    for (int k : down) PushKey(static_cast<uint8_t>(k));
    for (unsigned char ch : std::string("100")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  RunCommand('D');
  EXPECT_TRUE(session.ScriptDone());
  ASSERT_EQ(session.datesAsked.size(), 1u);
  EXPECT_EQ(session.datesAsked[0], "07/12/2026");  // an empty date starts on today
  EXPECT_EQ(Shell().consultantName, "BEATRIZ");
  EXPECT_EQ(session.Settings()["\\Presupuesto\\sConsultor"], "BEATRIZ");
  ObraHeader h;
  const auto bytes = FileBytes("Apr06dat.A01");
  ASSERT_GE(bytes.size(), 144u);
  std::copy_n(bytes.begin(), 144, h.bytes.begin());
  EXPECT_EQ(Get(h, obra_header::ObraName), "OBRA UNO");
  EXPECT_EQ(Get(h, obra_header::ObraReference), "R7");
  EXPECT_EQ(Get(h, obra_header::BudgetDate), "15/03/26");
  EXPECT_EQ(Get(h, obra_header::RetencionPct), 100.0L);
  EXPECT_EQ(Selection().HeaderLine, "OBRA : 01 - OBRA UNO");
}

}  // namespace
}  // namespace vantu
