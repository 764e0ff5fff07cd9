// File groups of a Rama or Obra and the copy, move and delete operations.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "selection/set_files.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

TEST(SetFilesPattern, MatchesLikeTheDirectorySearch) {
  const struct {
    const char* name;
    const char* pattern;
    bool match;
  } cases[] = {
      {"Apr01dat.A", "Apr??dat.A", true},
      {"apr03IXC.a", "Apr??ixc.A", true},
      {"Apr06dat.A01", "Apr??dat.A", false},
      {"Apr06dat.A01", "Apr??dat.A??", true},
      {"Apr06cro.A01", "Apr??cro.A01", true},
      {"Apr06cro.B01", "Apr??cro.A01", false},
      {"Apr1dat.A", "Apr??dat.A", false},
      {"notas.txt", "*.*", true},
      {"ApError", "*.*", true},
      {"Apr01dat.A", "*", true},
      {"", "?", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.match);
  }
}

class SetFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("vantu-setfiles-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "datos");
    fs::create_directories(root / "destino");
    for (const char* f : {"Apr01dat.A", "Apr02dat.A", "Apr02ixc.A", "Apr06dat.A07", "Apr06ixc.A07",
                          "Apr06cro.A07", "Apr06dat.A08", "Apr06dat.B07", "ApError"})
      Write(root / "datos" / f, f);
  }
  void TearDown() override { fs::remove_all(root); }
  static void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path root;
};

TEST_F(SetFilesTest, AnObraHasItsOwnFilesAndThoseOfItsRama) {
  SetFiles obra((root / "datos").string(), "A07");
  ASSERT_EQ(obra.Count(), 3);
  EXPECT_EQ(obra.Name(0), "Archivos de la Obra A07");
  EXPECT_EQ(obra.Name(1), "Archivos de la Obra A07 y de su Rama");
  EXPECT_EQ(obra.Name(2), "Todos los Archivos del Directorio");
  EXPECT_EQ(obra.Files(0),
            (std::vector<std::string>{"Apr06cro.A07", "Apr06dat.A07", "Apr06ixc.A07"}));
  EXPECT_EQ(obra.Files(1).size(), 6u);
  EXPECT_EQ(obra.Files(2).size(), 9u) << "every file, the error file too";
  EXPECT_TRUE(obra.Files(5).empty());
}

TEST_F(SetFilesTest, MovingAsksBeforeReplacingAndKeepsWhatIsRefused) {
  const fs::path dest = root / "destino";
  Write(dest / "apr06DAT.a07", "otro");  // the same file in another letter case
  SetFiles obra((root / "datos").string(), "A07");
  int asked = 0;
  EXPECT_EQ(obra.CopyTo(0, dest.string(), true, [&](const std::string&) { return ++asked, true; }),
            "3 archivos movidos");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Read(dest / "Apr06dat.A07"), "Apr06dat.A07");
  EXPECT_FALSE(fs::exists(dest / "apr06DAT.a07"));
  EXPECT_TRUE(obra.Files(0).empty());
  EXPECT_TRUE(fs::exists(root / "datos" / "Apr06dat.A08"));
}

TEST_F(SetFilesTest, CopyRefusesTheSameOrAMissingDirectory) {
  SetFiles rama((root / "datos").string(), "A");
  EXPECT_EQ(rama.CopyTo(0, (root / "datos").string(), false, {}),
            "El destino es el mismo directorio de los datos");
  EXPECT_EQ(rama.CopyTo(0, (root / "nada").string(), false, {}),
            "No existe el directorio " + (root / "nada").string());
  EXPECT_EQ(rama.Files(0).size(), 3u);
}

TEST_F(SetFilesTest, DeletingARamaWithItsObrasLeavesOtherRamas) {
  SetFiles rama((root / "datos").string(), "A");
  ASSERT_EQ(rama.Count(), 4);
  EXPECT_EQ(rama.Name(3), "Todos los Archivos del Directorio");
  EXPECT_EQ(rama.Delete(2), "7 archivos borrados");
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(root / "datos")) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"ApError", "Apr06dat.B07"}));
}

}  // namespace
}  // namespace vantu
