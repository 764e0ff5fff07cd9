// Command I as a consultant runs it: errors found and walked with the error
// review into command E, a correction and a clean run, an interrupted run,
// and a second run with nothing to do.
#include <gtest/gtest.h>

#include "app/main_program.h"
#include "records/record_ops_fixture.h"
#include "toolkit/error_review.h"

namespace vantu {
namespace {

class CalcSessionTest : public test::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    InstallCalculation();
    OpenSet("A");
    GeneralDataRecord g = Read<GeneralDataRecord>(1, 1);
    Set(g, general::RamaName, "Edificaciones");
    Set(g, general::AiuMode, general::kAiuPerItem);
    for (int group = 1; group <= 4; ++group) Set(g, general::Factor(group), 1.0L);
    PutRec(Area(1).Data, 1, g.data());
    PutInput("01", "EQUIPOS", 1);
    PutInput("01010", "PALA", 1, "", 5000);  // no unit
  }
  // What command E does when the unit is typed in.
  void CorrectTheUnit() {
    const int16_t r = Find(2, "01010");
    InputRecord in = Read<InputRecord>(2, r);
    Set(in, input::Unit, "un");
    PutRec(Area(2).Data, r, in.data());
    Area(2).SavedChangeMarker = 1;
  }
};

TEST_F(CalcSessionTest, ErrorsAreOfferedAndTheReviewLeadsToTheRecord) {
  session.AnswerBox(BoxAnswer::Yes);  // "Desea revisarlos ahora ?"
  try {
    RunCommand('I');
  } catch (...) {
    for (const auto& b : session.Boxes()) ADD_FAILURE() << b.caption << ": " << b.text;
    throw;
  }
  ASSERT_FALSE(session.Boxes().empty());
  EXPECT_EQ(session.Boxes().back().caption, "Mensaje de Error");
  EXPECT_EQ(session.Boxes().back().text, "... Hay 1 Errores ...\r\rDesea revisarlos ahora ?");
  ASSERT_TRUE(Review().active);
  EXPECT_EQ(Review().errorCount, 1);
  EXPECT_EQ(Markers(2, "A").first, 1);

  // At the main menu Ctrl+AvPag drives command E to the input in error.
  session.QueueStep([] { PushKey(kKeyCtrlPgDn); });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find("Insumos"), std::string::npos) << ScreenRow(1);
    EXPECT_NE(ScreenText().find("PALA"), std::string::npos);
    EXPECT_NE(ScreenRow(25).find("[1:1] CORREGIR ..{ unidad }"), std::string::npos)
        << ScreenRow(25);
    PushKey(kKeyCtrlEnd);  // ends the review; Esc then leaves
    PushKey(kKeyEsc);
  });
  session.QueueStep([] { PushKey(kKeyAltX); });
  session.AnswerBox(BoxAnswer::Yes);  // "Desea abandonar ahora ?"
  try {
    MainLoop();
  } catch (...) {
    ADD_FAILURE() << ScreenText();
    throw;
  }
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_FALSE(Review().active);
}

TEST_F(CalcSessionTest, ACorrectedSetCalculatesAndASecondRunHasNothingToDo) {
  CorrectTheUnit();
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("<<< CALCULO >>>"));
    EXPECT_TRUE(ScreenContains("TODO ESTA CORRECTO"));
    EXPECT_TRUE(ScreenContains("Basicos ........."));
    PushKey(kKeyEsc);
  });
  RunCommand('I');
  EXPECT_TRUE(session.Boxes().empty());
  EXPECT_EQ(Markers(2, "A"), std::make_pair(0, 1)) << "the headers carry the generation";
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(Area(n).SavedChangeMarker, 0);
  EXPECT_EQ(Area(1).SavedSetSerial, 1);

  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("TODO ESTA CORRECTO"));
    EXPECT_FALSE(ScreenContains("<<< CALCULO >>>")) << "the small window";
    EXPECT_FALSE(ScreenContains("Para interrumpir"));
    PushKey(kKeyEsc);
  });
  RunCommand('I');
  EXPECT_EQ(Area(1).SavedSetSerial, 1) << "nothing calculated, nothing stamped";
  EXPECT_TRUE(session.ScriptDone());
}

TEST_F(CalcSessionTest, AnInterruptedRunChangesNoMarker) {
  CorrectTheUnit();
  PushKey('x');  // a key waits when the run starts
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("Desea interrumpir el proceso (S/N) N"));
    PushKey('S');
  });
  RunCommand('I');
  EXPECT_TRUE(session.ScriptDone());
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(Area(n).SavedChangeMarker, 1) << n;
    EXPECT_EQ(Area(n).SavedSetSerial, 0) << n;
  }
  EXPECT_FALSE(ScreenContains("Revision y Calculo")) << "the window is closed";
}

TEST_F(CalcSessionTest, AnsweringNoGoesOn) {
  CorrectTheUnit();
  PushKey('x');
  session.QueueStep([] { PushKey('N'); });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("TODO ESTA CORRECTO"));
    PushKey(kKeyEsc);
  });
  RunCommand('I');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(Area(1).SavedSetSerial, 1);
}

}  // namespace
}  // namespace vantu
