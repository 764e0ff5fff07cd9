// The cost window of command F (Insert) against what command I stores for
// the same analysis afterwards, with factors, minor tools, waste, a nested
// analysis and a global price; and the subcontract's window of command G.
#include <gtest/gtest.h>

#include "app/main_program.h"
#include "calc/review_and_calc.h"
#include "records/record_ops_fixture.h"
#include "toolkit/error_file.h"
#include "toolkit/field_cost_window.h"
#include "toolkit/field_format.h"

namespace vantu {
namespace {

class CostWindowSessionTest : public test::SessionTest {
 protected:
  void SetUp() override {
    test::SessionTest::SetUp();
    OpenSet("A");
    GeneralDataRecord g;
    Set(g, general::RamaName, "RAMA DE PRUEBA");
    Set(g, general::AiuMode, general::kAiuAtEnd);
    Set(g, general::FactorEquipos, 1.10L);
    Set(g, general::FactorMateriales, 0.95L);
    Set(g, general::FactorTransportes, 1.0L);
    Set(g, general::FactorManoDeObra, 1.25L);
    PutRec(Area(kAreaGeneral).Data, 1, g.data());
    const char* names[] = {"EQUIPOS", "MATERIALES", "TRANSPORTES", "MANO DE OBRA"};
    for (int n = 1; n <= 4; ++n) {
      const std::string ch = "0" + std::to_string(n);
      PutInput(ch, names[n - 1], static_cast<int16_t>(n));
      PutInput(ch + "010", std::string("INSUMO ") + names[n - 1], 0, "UN", 1234.57L * n);
    }
  }
  // The amount the window shows, as its row reads.
  static std::string WindowText(long double direct) {
    return "$" + FormatNumber(NumberDisplayWidth(16, 2), 2, ShownCost(direct, false, 0));
  }
  std::string shown;
};

TEST_F(CostWindowSessionTest, TheWindowShowsWhatTheCalculationStores) {
  // A nested analysis, then one that uses it with every kind of line.
  Type("01", {kKeyEnter, 'M', 'U', 'R', 'O', 'S', kKeyEnter});
  Type("010010", {kKeyEnter, 'B', 'A', 'S', 'E', kKeyEnter, 'M', '3', kKeyEnter});
  Type("", {kKeyEnter, kKeyEnter});
  Type("01010", {kKeyEnter, '0', '.', '3', '3', '3', kKeyEnter, kKeyDown});
  Type("02010", {kKeyEnter, '2', '.', '5', kKeyEnter, kKeyPgDn});
  Type("010020", {kKeyEnter, 'M', 'U', 'R', 'O', kKeyEnter, 'M', '2', kKeyEnter});
  Type("7.5", {kKeyEnter, '4', kKeyEnter});
  Type("01010", {kKeyEnter, '1', '.', '7', '5', kKeyEnter});
  Type("00000", {kKeyEnter, 'A', 'N', 'D', 'A', 'M', 'I', 'O', kKeyEnter});
  Type("98765.43", {kKeyEnter, kKeyDown});
  Type("010010", {kKeyEnter, '0', '.', '4', '2', kKeyEnter, kKeyDown});
  Type("03010", {kKeyEnter, '3', kKeyEnter, kKeyDown});
  Type("04010", {kKeyEnter, '6', '.', '2', '5', kKeyEnter, kKeyUp});
  session.QueueStep([] { PushKey(kKeyInsert); });
  session.QueueStep([this] {
    shown = ScreenRow(11);
    PushKey(kKeyEsc), PushKey(kKeyEsc), PushKey(kKeyEsc);
  });
  RunCommand('F');
  ASSERT_TRUE(session.ScriptDone());

  CalcObserver none;
  const RunOutcome out = ExecuteRun(PrepareRun(), none, "ApError");
  ASSERT_EQ(out.TotalErrors(), 0) << ReadErrorFile("ApError").size();
  const AnalysisRecord stored = Read<AnalysisRecord>(3, Find(3, "010020"));
  const long double direct = Get(stored, analysis::DirectCost);
  EXPECT_GT(direct, 0);
  EXPECT_NE(shown.find(WindowText(direct)), std::string::npos)
      << shown << " / " << WindowText(direct);
}

TEST_F(CostWindowSessionTest, ASubcontractByPercentages) {
  const int16_t r = AddCoded(4, "01");
  SubcontractRecord chapter = Read<SubcontractRecord>(4, r);
  Set(chapter, subcontract::EntryMode, subcontract::kByPercentages);
  PutRec(Area(4).Data, r, chapter.data());
  Type("01010", {kKeyEnter, 'X', kKeyEnter, 'G', 'L', kKeyEnter});
  Type("40", {kKeyEnter, '6', '0', kKeyEnter, kKeyEnter, kKeyEnter});
  Type("2500", {kKeyEnter, kKeyEnter, kKeyInsert});
  session.QueueStep([this] {
    shown = ScreenRow(11);
    PushKey(kKeyEsc), PushKey(kKeyEsc);
  });
  RunCommand('G');
  ASSERT_TRUE(session.ScriptDone());
  // Equipment 1000 at 1.10 and materials 1500 at 0.95.
  EXPECT_NE(shown.find(WindowText(1000 * 1.10L + 1500 * 0.95L)), std::string::npos) << shown;
}

}  // namespace
}  // namespace vantu
