// vantu-cli export over generated sets: exit statuses, the files written,
// and nothing written when the set is not calculated.
#include "cli/export_command.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/calc_command.h"
#include "cli/cli_fixture.h"

namespace vantu::test {
namespace {

class ExportCommandTest : public CliTest {
 protected:
  void Generate(bool calculated) {
    auto shape = SmallShape();
    shape.calculated = calculated;
    GenerateDataset(shape);
  }
  int Export(const std::string& format, const fs::path& out, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--dir", dataDir.string(), "--rama", "A",     "--obra",
                                     "01",    "--format",       format,   "--out", out.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const int status = cli::ExportCommand(args, "vantu-cli");
    SetHost(&host);
    return status;
  }
};

TEST_F(ExportCommandTest, ACalculatedSetIsWrittenInEachFormat) {
  Generate(true);
  const auto before = WholeFile("Apr06dat.A01");
  const struct {
    const char* format;
    const char* out;
    const char* check;  // a file that must exist afterwards
  } cases[] = {{"bc3", "obra.bc3", "obra.bc3"},
               {"xlsx", "obra.xlsx", "obra.xlsx"},
               {"csv", "tablas", "tablas/presupuesto.csv"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(Export(c.format, root / c.out), cli::kExitOk);
    EXPECT_TRUE(fs::is_regular_file(root / c.check));
    EXPECT_GT(fs::file_size(root / c.check), 100u);
  }
  std::ifstream bc3(root / "obra.bc3", std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(bc3), {}};
  EXPECT_EQ(text.rfind("~V|", 0), 0u);
  EXPECT_NE(text.find("~D|A01##|"), std::string::npos);
  EXPECT_EQ(WholeFile("Apr06dat.A01"), before) << "an export writes nothing into the set";
  // A relative path is taken from the directory the command was given in.
  fs::current_path(root);
  EXPECT_EQ(Export("bc3", "relativo.bc3"), cli::kExitOk);
  EXPECT_TRUE(fs::is_regular_file(root / "relativo.bc3"));
}

TEST_F(ExportCommandTest, AnUncalculatedSetIsRefusedWithStatusOne) {
  Generate(false);
  EXPECT_EQ(Export("bc3", root / "obra.bc3"), cli::kExitDataErrors);
  EXPECT_FALSE(fs::exists(root / "obra.bc3"));
  // After the calculation the same export goes through.
  EXPECT_EQ(
      cli::CalcCommand({"--dir", dataDir.string(), "--rama", "A", "--obra", "01"}, "vantu-cli"),
      cli::kExitOk);
  SetHost(&host);
  EXPECT_EQ(Export("bc3", root / "obra.bc3"), cli::kExitOk);
  EXPECT_TRUE(fs::exists(root / "obra.bc3"));
}

TEST_F(ExportCommandTest, BadArgumentsAndFailuresGiveStatusTwo) {
  const struct {
    const char* name;
    std::vector<std::string> args;
  } cases[] = {
      {"no set there",
       {"--dir", dataDir.string(), "--rama", "A", "--format", "bc3", "--out", "x.bc3"}},
      {"unknown format",
       {"--dir", dataDir.string(), "--rama", "A", "--format", "ods", "--out", "x"}},
      {"no output", {"--dir", dataDir.string(), "--rama", "A", "--format", "bc3"}},
      {"long rama", {"--dir", dataDir.string(), "--rama", "AB", "--format", "bc3", "--out", "x"}},
      {"missing value", {"--dir"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cli::ExportCommand(c.args, "vantu-cli"), cli::kExitFailure) << c.name;
    SetHost(&host);
  }
  Generate(true);
  EXPECT_EQ(Export("bc3", root / "no" / "such" / "obra.bc3"), cli::kExitFailure)
      << "an output folder that does not exist";
}

}  // namespace
}  // namespace vantu::test
