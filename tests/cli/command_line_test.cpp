// The command line's conventions, for every order of vantu-cli: --help on
// stdout with status 0, --version, errors on stderr with status 2 and
// nothing on stdout, no words that speak of a window's keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "cli/cli_output.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/cli_fixture.h"
#include "session/program_version.h"

namespace vantu::test {
namespace {

class CommandLineTest : public CliTest {
 protected:
  CommandOutput Cli(const std::vector<std::string>& args) {
    const CommandOutput o = Captured([&] { return cli::VantuCli(args, "vantu-cli"); });
    SetHost(&host);
    return o;
  }
};

TEST_F(CommandLineTest, EveryOrderAnswersHelpOnStdout) {
  for (const std::string order : {"calc", "export", "import", "list"}) {
    for (const std::string flag : {"--help", "-h"}) {
      SCOPED_TRACE(order + " " + flag);
      // Help wins over anything else given, even a refused option.
      const CommandOutput o = Cli({order, "--dir", "/no/existe", flag});
      EXPECT_EQ(o.status, cli::kExitOk);
      EXPECT_NE(o.out.find("uso: vantu-cli"), std::string::npos) << o.out;
      EXPECT_NE(o.out.find("--dir DIRECTORIO"), std::string::npos) << o.out;
      EXPECT_NE(o.out.find("2 fallo"), std::string::npos) << "exit statuses told: " << o.out;
      EXPECT_EQ(o.err, "");
    }
  }
  const CommandOutput top = Cli({"--help"});
  EXPECT_EQ(top.status, cli::kExitOk);
  for (const char* order : {"calc", "export", "import", "list"})
    EXPECT_NE(top.out.find(order), std::string::npos) << top.out;
  EXPECT_EQ(top.err, "");
}

TEST_F(CommandLineTest, VersionIsTheProjectsOwn) {
  const CommandOutput o = Cli({"--version"});
  EXPECT_EQ(o.status, cli::kExitOk);
  EXPECT_EQ(o.out, std::string("vantu-cli ") + ProgramVersion() + "\n");
  EXPECT_FALSE(std::string(ProgramVersion()).empty());
  EXPECT_NE(std::string(ProgramVersion()).find('.'), std::string::npos);
}

TEST_F(CommandLineTest, WrongArgumentsFailWithStatusTwoOnStderr) {
  const std::string dir = dataDir.string();
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"borrar"},
      {"calc", "--dir"},
      {"calc", "--dir", dir, "--rama", "AB"},
      {"calc", "--dir", dir, "--rama", "A", "--ajuste-al-peso", "quizas"},
      {"export", "--dir", dir, "--rama", "A", "--format", "pdf", "--out", "x"},
      {"import", "--dir", dir, "--format", "bc3", "--in", "x.bc3", "--rama", "B"},
      {"list", "--dir", dir, "--rama", "A", "--listing", "ninguno", "--text", "x"},
      {"calc", "--dir", (root / "no-existe").string(), "--rama", "A"},
  };
  for (const auto& args : wrong) {
    std::string line;
    for (const std::string& a : args) line += a + " ";
    SCOPED_TRACE(line);
    const CommandOutput o = Cli(args);
    EXPECT_EQ(o.status, cli::kExitFailure);
    EXPECT_EQ(o.out, "") << "results only on stdout";
    EXPECT_NE(o.err, "");
  }
  EXPECT_TRUE(fs::is_empty(dataDir));
}

TEST_F(CommandLineTest, ImportFailsOnAMissingFolderOrAFolderForAFile) {
  std::ofstream(root / "entrada.bc3") << "~V|yo|FIEBDC-3/2016|prueba|Prueba|ANSI||2|\r\n";
  const auto import = [&](const fs::path& dir, const fs::path& in) {
    return Cli({"import", "--dir", dir.string(), "--format", "bc3", "--in", in.string(), "--rama",
                "B", "--obra", "01"});
  };
  const CommandOutput noFolder = import(root / "no-existe", root / "entrada.bc3");
  EXPECT_EQ(noFolder.status, cli::kExitFailure);
  EXPECT_NE(noFolder.err.find("no existe el directorio"), std::string::npos) << noFolder.err;
  EXPECT_FALSE(fs::exists(root / "no-existe"));

  const CommandOutput folderIn = import(dataDir, root);
  EXPECT_EQ(folderIn.status, cli::kExitFailure);
  EXPECT_NE(folderIn.err.find("no es un archivo"), std::string::npos) << folderIn.err;
  EXPECT_TRUE(fs::is_empty(dataDir));
}

TEST(CliOutputTest, WindowWordsAreToldFromMessages) {
  for (const char* line : {".. Para continuar oprima cualquier tecla ..",
                           "Para interrumpir oprima cualquier Tecla",
                           ".... CAMBIE A PAPEL NORMAL Y OPRIMA [Intro] ..."})
    EXPECT_TRUE(cli::WindowOnlyLine(line)) << line;
  for (const char* line : {"No se puede imprimir el listado", "Archivo Apr02dat.A danado"})
    EXPECT_FALSE(cli::WindowOnlyLine(line)) << line;
}

TEST(CliOutputTest, JsonStringsAndAmountsAreEscapedAndExact) {
  EXPECT_EQ(cli::JsonString("Muro \"A\" \\ 1\n\t"), "\"Muro \\\"A\\\" \\\\ 1\\u000a\\u0009\"");
  EXPECT_EQ(cli::JsonString("Año"), "\"Año\"") << "UTF-8 passes as it is";
  EXPECT_EQ(cli::JsonAmount(1234567.125L), "1234567.12");
  EXPECT_EQ(cli::JsonAmount(0), "0.00");
  EXPECT_EQ(cli::JsonAmount(-5.5L), "-5.50");
}

}  // namespace
}  // namespace vantu::test
