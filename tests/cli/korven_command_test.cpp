// korven: what it finds in a set, as lines or JSON, its exit statuses, and a
// repair that leaves a backup and a sound set.
#include "cli/korven_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "cli/cli_fixture.h"
#include "cli/exit_status.h"
#include "session/program_version.h"

namespace vantu::test {
namespace {

class KorvenCommandTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    GenerateCalculated();
  }
  CommandOutput Korven(std::vector<std::string> extra) {
    std::vector<std::string> args = {dataDir.string(), "A", "01"};
    args.insert(args.end(), extra.begin(), extra.end());
    const CommandOutput o = Captured([&] { return cli::KorvenCommand(args); });
    SetHost(&host);
    return o;
  }
  // A partial record at the end of the inputs' data file.
  void CutInputs() { std::ofstream(dataDir / "Apr02dat.A", std::ios::app | std::ios::binary) << "xyz"; }
  std::vector<fs::path> Backups() {
    std::vector<fs::path> found;
    for (const auto& e : fs::directory_iterator(dataDir))
      if (e.path().filename().string().rfind("respaldo-korven-", 0) == 0) found.push_back(e.path());
    return found;
  }
};

TEST_F(KorvenCommandTest, ASoundSetIsSaidSoFileByFile) {
  const CommandOutput text = Korven({});
  EXPECT_EQ(text.status, cli::kExitOk) << text.err;
  for (const char* file : {"Apr01dat.A", "Apr05dat.A", "Apr06dat.A01"})
    EXPECT_NE(text.out.find(std::string(file) + ": correcto\n"), std::string::npos) << text.out;
  EXPECT_EQ(text.err, "");

  const CommandOutput json = Korven({"--json"});
  EXPECT_EQ(json.status, cli::kExitOk);
  EXPECT_NE(json.out.find("{\"archivo\": \"Apr06dat.A01\", \"correcto\": true, \"falla\": \"\"}"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"fallas\": 0, \"respaldo\": null, \"reparado\": false"),
            std::string::npos)
      << json.out;
}

TEST_F(KorvenCommandTest, FaultsAreReportedThenRepairedAfterABackup) {
  CutInputs();
  const auto damaged = WholeFile("Apr02dat.A");
  const CommandOutput found = Korven({"--json"});
  EXPECT_EQ(found.status, cli::kExitDataErrors);
  EXPECT_NE(found.out.find("{\"archivo\": \"Apr02dat.A\", \"correcto\": false"), std::string::npos)
      << found.out;
  EXPECT_NE(found.out.find("\"fallas\": 1,"), std::string::npos) << found.out;
  EXPECT_EQ(WholeFile("Apr02dat.A"), damaged) << "a check changes nothing";
  EXPECT_TRUE(Backups().empty());

  const CommandOutput repaired = Korven({"--reparar"});
  EXPECT_EQ(repaired.status, cli::kExitOk) << repaired.err;
  EXPECT_NE(repaired.out.find("Reparado. Nueva revision:\n"), std::string::npos) << repaired.out;
  ASSERT_EQ(Backups().size(), 1u);
  std::ifstream copy(Backups()[0] / "Apr02dat.A", std::ios::binary);
  EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(copy), {}), damaged);
  EXPECT_EQ(Korven({}).status, cli::kExitOk) << "sound after the repair";
}

TEST_F(KorvenCommandTest, HelpVersionAndWrongArgumentsFollowTheCommandLine) {
  const CommandOutput help = Captured([] { return cli::KorvenCommand({"--help"}); });
  EXPECT_EQ(help.status, cli::kExitOk);
  EXPECT_EQ(help.out.rfind("uso: korven DIRECTORIO RAMA [OBRA]", 0), 0u) << help.out;
  EXPECT_EQ(help.err, "");
  const CommandOutput version = Captured([] { return cli::KorvenCommand({"--version"}); });
  EXPECT_EQ(version.out, std::string("korven ") + ProgramVersion() + "\n");
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {dataDir.string()}, {dataDir.string(), "AB"},
                                             {dataDir.string(), "A", "1"},
                                             {dataDir.string(), "A", "--arreglar"}}) {
    const CommandOutput o = Captured([&] { return cli::KorvenCommand(args); });
    EXPECT_EQ(o.status, cli::kExitFailure);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("korven: "), std::string::npos);
  }
  const CommandOutput missing = Captured(
      [&] { return cli::KorvenCommand({(root / "no-existe").string(), "A", "--json"}); });
  EXPECT_EQ(missing.status, cli::kExitFailure);
  EXPECT_NE(missing.err.find("no existe el directorio"), std::string::npos) << missing.err;
  EXPECT_FALSE(fs::exists(root / "no-existe"));
  const CommandOutput noRama = Captured([&] { return cli::KorvenCommand({dataDir.string(), "Z"}); });
  EXPECT_EQ(noRama.status, cli::kExitFailure);
  EXPECT_NE(noRama.err.find("la Rama Z no esta en"), std::string::npos) << noRama.err;
  EXPECT_FALSE(fs::exists(dataDir / "Apr00blq.Z")) << "no lock file left in a folder without the set";
}

}  // namespace
}  // namespace vantu::test
