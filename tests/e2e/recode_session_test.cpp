// Command C typed as a consultant would: the parameter window with its
// defaults and limits, the refusals, and a run over a generated set.
#include <gtest/gtest.h>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "records/record_ops_fixture.h"
#include "selection/recode.h"
#include "toolkit/error_review.h"
#include "toolkit/window_stack.h"

namespace vantu {
namespace {

class RecodeSessionTest : public test::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    InstallRecodification();
    Selection().ObraCode = "01";
  }
  std::vector<std::string> Codes(int n) {
    std::vector<std::string> codes;
    for (const IndexEntry& e : Entries(n)) codes.push_back(e.key);
    return codes;
  }
};

TEST_F(RecodeSessionTest, ParametersTypedThenTheRun) {
  dataset::GenerateDataset(SmallShape());
  OpenSet("A", "01");
  const auto before = Codes(3);
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(9).find("Recodificacion General"), std::string::npos) << ScreenRow(9);
    EXPECT_NE(ScreenRow(11).find("Capitulo inicial [0 = No especificar] (1..5) : 0"),
              std::string::npos)
        << ScreenRow(11);
    EXPECT_NE(ScreenRow(12).find("(1..5) : 1"), std::string::npos) << ScreenRow(12);
    EXPECT_NE(ScreenRow(13).find("(1..10) : 10"), std::string::npos) << ScreenRow(13);
    EXPECT_NE(ScreenRow(14).find("Para Recodificar [Doble Clic]"), std::string::npos);
    PushKey('9'), PushKey(kKeyEnter);  // above 5: refused, the field is edited again
  });
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(25).find("no puede ser mayor de 5"), std::string::npos) << ScreenRow(25);
    PushKey(kKeyBackspace), PushKey('3'), PushKey(kKeyEnter);
  });
  Type("2", {kKeyEnter});
  Type("7", {kKeyUp});  // back to the chapter separation, kept as typed
  session.QueueStep([] {
    EXPECT_NE(ScreenRow(13).find("(1..10) : 7"), std::string::npos) << ScreenRow(13);
    PushKey(kKeyEnter), PushKey(kKeyEnter), PushKey(kKeyEnter);
  });
  RunCommand('C');
  EXPECT_TRUE(session.ScriptDone());
  EXPECT_EQ(WindowDepth(), 0);
  const auto after = Codes(3);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.front(), "03");
  EXPECT_EQ(after[1], "030007");
  EXPECT_EQ(Codes(2).front(), "03");
  EXPECT_EQ(Codes(6).front(), "03");
  EXPECT_EQ(FindRecodePhase(dataDir.string(), "A01"), kRecodeIdle);
}

TEST_F(RecodeSessionTest, RefusalsAndEscChangeNothing) {
  struct Case {
    const char* name;
    bool withRecords;
    bool review;
    const char* shown;
  };
  const Case cases[] = {
      {"empty set", false, false, "NO HAY NADA PARA RECODIFICAR"},
      {"error review on", true, true, "PRIMERO DESACTIVE REVISION DE ERRORES"},
      {"Esc in the window", true, false, "Recodificacion General"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CloseSet();
    for (const auto& entry : test::fs::directory_iterator(dataDir)) test::fs::remove(entry.path());
    if (c.withRecords) dataset::GenerateDataset(SmallShape());
    OpenSet("A", "01");
    const auto before = Codes(2);
    Review().active = c.review;
    const std::string shown = c.shown;
    session.QueueStep([shown] {
      EXPECT_TRUE(ScreenContains(shown)) << shown;
      PushKey(kKeyEsc);
    });
    RunCommand('C');
    Review().active = false;
    EXPECT_TRUE(session.ScriptDone());
    EXPECT_EQ(Codes(2), before);
    EXPECT_EQ(FindRecodePhase(dataDir.string(), "A01"), kRecodeIdle);
  }
}

}  // namespace
}  // namespace vantu
