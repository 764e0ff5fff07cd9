// vantu-cli import --actualizar: a bank's prices into an existing Rama,
// the summary on stderr, the report and codes beside the set, the set left
// for calc; a bank that does not read, or a Rama that is not there, changes
// nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/calc_command.h"
#include "cli/cli_fixture.h"
#include "cli/import_command.h"

namespace vantu::test {
namespace {

class PriceUpdateCommandTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    GenerateCalculated();
  }
  fs::path Bank(const std::string& records) {
    std::ofstream(root / "banco.bc3", std::ios::binary)
        << "~V|yo|FIEBDC-3/2016|banco|Banco 2025|ANSI||1|\r\n"
        << records;
    return root / "banco.bc3";
  }
  CommandOutput Update(const fs::path& bank, const std::string& rama = "A") {
    CommandOutput o = Captured([&] {
      return cli::ImportCommand({"--actualizar", "--dir", dataDir.string(), "--format", "bc3",
                                 "--in", bank.string(), "--rama", rama},
                                "vantu-cli");
    });
    SetHost(&host);
    return o;
  }
  std::string Text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

TEST_F(PriceUpdateCommandTest, PricesChangeTheReportIsWrittenAndCalcRunsAgain) {
  const CommandOutput o =
      Update(Bank("~C|01010|u|Precio|1234.5||2|\r\n"
                  "~C|NUEVO|h|Oficial nuevo|20||1|\r\n"));
  ASSERT_EQ(o.status, cli::kExitOk) << o.err;
  EXPECT_NE(o.err.find("precios cambiados: 1"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("nuevos: 1"), std::string::npos) << o.err;
  EXPECT_NE(o.out.find("Informe en " + (dataDir / "actualizacion-A.csv").string()),
            std::string::npos)
      << o.out;
  const std::string report = Text(dataDir / "actualizacion-A.csv");
  EXPECT_NE(report.find("01010;01010;insumo;cambia;"), std::string::npos) << report;
  EXPECT_NE(report.find(";NUEVO;insumo;nuevo;Oficial nuevo;h;;20.00;"), std::string::npos)
      << report;
  EXPECT_NE(Text(dataDir / "codigos-A.csv").find("NUEVO;"), std::string::npos);

  const CommandOutput calc = Captured([&] {
    return cli::CalcCommand({"--dir", dataDir.string(), "--rama", "A", "--obra", "01", "--json"},
                            "vantu-cli");
  });
  SetHost(&host);
  EXPECT_EQ(calc.status, cli::kExitOk) << calc.err;
  EXPECT_NE(calc.out.find("\"sin_cambios\": false"), std::string::npos) << calc.out;
}

TEST_F(PriceUpdateCommandTest, RefusalsAndFailuresLeaveTheSetAsItWas) {
  const auto before = WholeFile("Apr02dat.A");
  const struct {
    const char* name;
    std::string records;
    std::string rama;
    int status;
    const char* says;
  } cases[] = {
      {"a price that is no number", "~C|01010|u|Precio|inf||2|\r\n", "A", cli::kExitDataErrors,
       "no se actualizo"},
      {"a Rama that is not there", "~C|01010|u|Precio|5||2|\r\n", "B", cli::kExitFailure,
       "la Rama B no esta ahi"},
  };
  for (const auto& c : cases) {
    const CommandOutput o = Update(Bank(c.records), c.rama);
    EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err;
    EXPECT_NE(o.err.find(c.says), std::string::npos) << c.name << ": " << o.err;
    EXPECT_EQ(WholeFile("Apr02dat.A"), before) << c.name;
    EXPECT_FALSE(fs::exists(dataDir / "actualizacion-A.csv")) << c.name;
  }
  const CommandOutput noBank = Update(root / "no-existe.bc3");
  EXPECT_EQ(noBank.status, cli::kExitFailure);
  const CommandOutput help = Captured([] { return cli::ImportCommand({"--help"}, "vantu-cli"); });
  EXPECT_EQ(help.status, cli::kExitOk);
  EXPECT_NE(help.out.find("--actualizar"), std::string::npos) << help.out;
  const CommandOutput withObra = Captured([&] {
    return cli::ImportCommand({"--actualizar", "--dir", dataDir.string(), "--format", "bc3", "--in",
                               "x.bc3", "--rama", "A", "--obra", "01"},
                              "vantu-cli");
  });
  EXPECT_EQ(withObra.status, cli::kExitFailure);
  EXPECT_NE(withObra.err.find("--obra"), std::string::npos) << withObra.err;
}

}  // namespace
}  // namespace vantu::test
