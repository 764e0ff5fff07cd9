// vantu-cli calc over generated sets: its exit status and what it leaves
// on disk.
#include "cli/calc_command.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/cli_fixture.h"
#include "selection/recode_state.h"

namespace vantu::test {
namespace {

class CalcCommandTest : public CliTest {
 protected:
  // A fresh set whose second input has no price: an error of the review.
  InputRecord SetWithAnInputWithoutPrice() {
    GenerateDataset(SmallShape());
    OpenSet("A", "01");
    InputRecord in = Read<InputRecord>(2, 2);
    Set(in, input::Price, 0.0L);
    PutRec(Area(2).Data, 2, in.data());
    CloseSet();
    return in;
  }
  int Calc(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--dir", dataDir.string(), "--rama", "A", "--obra", "01"};
    args.insert(args.end(), extra.begin(), extra.end());
    const int status = cli::CalcCommand(args, "vantu-cli");
    SetHost(&host);
    return status;
  }
};

TEST_F(CalcCommandTest, CalculatesAFreshSetAndClearsItsMarkers) {
  GenerateDataset(SmallShape());
  EXPECT_EQ(Markers(3, "A"), std::make_pair(1, 0));
  EXPECT_EQ(Calc({"--ajuste-al-peso", "no"}), cli::kExitOk);
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(Markers(n, n == 6 ? "A01" : "A"), std::make_pair(0, 1));
  EXPECT_FALSE(fs::exists(dataDir / "ApError")) << "a work file of the run";
  // The same set calculated by the generator gives the same bytes.
  const auto budget = WholeFile("Apr06dat.A01");
  auto shape = SmallShape();
  shape.calculated = true;
  shape.directory = (root / "again").string();
  GenerateDataset(shape);
  std::ifstream in(root / "again" / "Apr06dat.A01", std::ios::binary);
  EXPECT_EQ(budget, std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
}

TEST_F(CalcCommandTest, DataErrorsGiveStatusOne) {
  SetWithAnInputWithoutPrice();
  EXPECT_EQ(Calc(), cli::kExitDataErrors);
  EXPECT_EQ(Markers(2, "A"), std::make_pair(1, 0)) << "nothing calculated";
}

TEST_F(CalcCommandTest, ARecodificationCutShortIsCompletedOnlyWithItsOwnSet) {
  auto shape = SmallShape();
  shape.calculated = true;
  GenerateDataset(shape);
  ASSERT_TRUE(BeginRecodeRun(dataDir.string(), "A01", RecodeParams{}));
  const auto rama = WholeFile("Apr03dat.A");
  // The Rama alone would leave the Obra's references behind: refused.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(cli::CalcCommand({"--dir", dataDir.string(), "--rama", "A"}, "vantu-cli"),
            cli::kExitFailure);
  SetHost(&host);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("HAY UNA RECODIFICACION SIN TERMINAR DE LA RAMA A OBRA 01"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("Abra la Rama A con la Obra 01 para completarla"), std::string::npos);
  EXPECT_TRUE(WholeFile("Apr03dat.A") == rama);
  EXPECT_EQ(FindRecodePhase(dataDir.string(), "A01"), kRecodeRenumbering);
  // With its Obra the run is completed, and the command says so.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Calc(), cli::kExitOk);
  err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("se completo una recodificacion"), std::string::npos) << err;
  EXPECT_EQ(FindRecodePhase(dataDir.string(), "A01"), kRecodeIdle);
}

TEST_F(CalcCommandTest, ResultsGoToStdoutAndProgressToStderr) {
  GenerateDataset(SmallShape());
  const CommandOutput text = Captured([&] { return Calc(); });
  EXPECT_EQ(text.status, cli::kExitOk);
  EXPECT_NE(text.out.find("V/R TOTAL PRESUPUESTO ==> $"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("registros"), std::string::npos) << "progress on stdout: " << text.out;
  EXPECT_NE(text.err.find("Calculo: "), std::string::npos) << text.err;

  // Again, as JSON: nothing changed, and the same total.
  const CommandOutput json = Captured([&] { return Calc({"--json"}); });
  EXPECT_EQ(json.status, cli::kExitOk);
  EXPECT_EQ(json.out.rfind("{\"correcto\": true, \"sin_cambios\": true, \"errores\": [], ", 0), 0u)
      << json.out;
  const size_t total = text.out.find("$", text.out.find("V/R TOTAL"));
  const std::string amount = text.out.substr(total + 1, text.out.find(' ', total) - total - 1);
  EXPECT_NE(json.out.find("\"total\": " + amount + "}"), std::string::npos) << json.out;
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 1) << "one line: " << json.out;
}

TEST_F(CalcCommandTest, JsonListsTheErrorsFound) {
  const InputRecord in = SetWithAnInputWithoutPrice();
  const CommandOutput o = Captured([&] { return Calc({"--json"}); });
  EXPECT_EQ(o.status, cli::kExitDataErrors);
  EXPECT_EQ(o.out.rfind("{\"correcto\": false, \"sin_cambios\": false, \"errores\": [{", 0), 0u)
      << o.out;
  EXPECT_NE(o.out.find("\"codigo\": \"" + Get(in, coded::Code) + "\""), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("\"presupuesto\": null}"), std::string::npos) << o.out;
}

TEST_F(CalcCommandTest, FailuresGiveStatusTwoAndChangeNothing) {
  EXPECT_EQ(Calc(), cli::kExitFailure) << "no set there";
  EXPECT_TRUE(fs::is_empty(dataDir));
  EXPECT_EQ(cli::CalcCommand({"--dir", dataDir.string()}, "vantu-cli"), cli::kExitFailure);
  EXPECT_EQ(cli::CalcCommand({"--rama", "A"}, "vantu-cli"), cli::kExitFailure);
}

}  // namespace
}  // namespace vantu::test
