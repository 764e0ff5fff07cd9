// vantu-cli import: exit statuses, the set and the mapping it writes, and
// nothing written when it refuses or fails.
#include "cli/import_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "cli/calc_command.h"
#include "cli/cli_fixture.h"
#include "storage/set_in_use.h"

namespace vantu::test {
namespace {

class ImportCommandTest : public CliTest {
 protected:
  fs::path Write(const std::string& records) {
    std::ofstream(root / "entrada.bc3", std::ios::binary)
        << "~V|yo|FIEBDC-3/2016|prueba|Prueba|ANSI||2|\r\n"
        << records;
    return root / "entrada.bc3";
  }
  int Import(const fs::path& file, const std::string& rama, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--dir",       dataDir.string(), "--format", "bc3",    "--in",
                                     file.string(), "--rama",         rama,       "--obra", "01"};
    args.insert(args.end(), extra.begin(), extra.end());
    const int status = cli::ImportCommand(args, "vantu-cli");
    SetHost(&host);
    return status;
  }
  std::set<std::string> Entries() {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dataDir)) names.insert(e.path().filename());
    return names;
  }
};

constexpr const char* kSound =
    "~C|OBRA##||Obra|0|010124|0|\r\n~C|C1#||Capitulo|0||0|\r\n~C|MO|h|Oficial|20||1|\r\n"
    "~C|AN|m2|Muro|40||0|\r\n~D|OBRA##|C1#\\1\\1\\|\r\n~D|C1#|AN\\1\\3\\|\r\n"
    "~D|AN|MO\\1\\2\\|\r\n";

TEST_F(ImportCommandTest, ASoundFileBecomesASetThatCalculates) {
  const fs::path file = Write(kSound);
  ASSERT_EQ(Import(file, "B", {"--map", (root / "codigos.csv").string()}), cli::kExitOk);
  EXPECT_TRUE(fs::exists(dataDir / "Apr01dat.B"));
  EXPECT_TRUE(fs::exists(dataDir / "Apr06dat.B01"));
  const InUseFields inUse = ReadInUseFields();
  EXPECT_EQ(inUse.rama, "") << "no set left marked in use, in " << inUse.directory;
  EXPECT_EQ(inUse.lastDirectory, dataDir.string());
  std::ifstream map(root / "codigos.csv");
  const std::string mapping{std::istreambuf_iterator<char>(map), {}};
  EXPECT_NE(mapping.find("AN;010010;analisis;Muro"), std::string::npos) << mapping;
  for (const auto& e : fs::directory_iterator(dataDir))
    EXPECT_NE(e.path().filename().string().rfind(".importacion", 0), 0u) << "work folder left";
  EXPECT_EQ(
      cli::CalcCommand({"--dir", dataDir.string(), "--rama", "B", "--obra", "01"}, "vantu-cli"),
      cli::kExitOk);
  SetHost(&host);
  // Again into the same names: refused, the set untouched.
  const auto before = WholeFile("Apr06dat.B01");
  EXPECT_EQ(Import(file, "B"), cli::kExitDataErrors);
  EXPECT_EQ(WholeFile("Apr06dat.B01"), before);
}

TEST_F(ImportCommandTest, RefusalsAndFailuresWriteNothing) {
  const std::set<std::string> before = Entries();
  EXPECT_EQ(Import(Write("~C|OBRA##||Obra|0||0|\r\n~D|OBRA##|NADA\\1\\1\\|\r\n"), "B"),
            cli::kExitDataErrors);
  EXPECT_EQ(Import(Write(std::string(kSound) + "~C|X|u|x|1||3\r\n"), "B"), cli::kExitDataErrors)
      << "a file cut in its last record";
  EXPECT_EQ(Import(root / "no-existe.bc3", "B"), cli::kExitFailure);
  EXPECT_EQ(Import(Write(kSound), "B", {"--map", (root / "no" / "such" / "c.csv").string()}),
            cli::kExitFailure)
      << "a mapping that cannot be written";
  EXPECT_EQ(Entries(), before);
  const std::vector<std::vector<std::string>> bad = {
      {"--dir", dataDir.string(), "--format", "csv", "--in", "x", "--rama", "B", "--obra", "01"},
      {"--dir", dataDir.string(), "--format", "bc3", "--in", "x", "--rama", "B"},
      {"--dir"},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(cli::ImportCommand(args, "vantu-cli"), cli::kExitFailure);
    SetHost(&host);
  }
}

}  // namespace
}  // namespace vantu::test
