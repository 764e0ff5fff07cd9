// Where the program keeps its files: a build folder beside the program, an
// installed tree (<prefix>/bin beside <prefix>/share/vantu) never written,
// its shared files found from the executable's folder.
#include "session/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/headless_fixture.h"

namespace vantu::test {
namespace {

namespace fs = std::filesystem;

class PathsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    char tmpl[] = "/tmp/vantu-paths-XXXXXX";
    root = ::mkdtemp(tmpl);
    if (const char* home = std::getenv("VANTU_HOME")) savedHome = home;
    unsetenv("VANTU_HOME");
    setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
  }
  void TearDown() override {
    if (!savedHome.empty()) setenv("VANTU_HOME", savedHome.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(root);
    HeadlessTest::TearDown();
  }
  fs::path Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
    return file;
  }
  fs::path root;
  std::string savedHome;
};

TEST_F(PathsTest, ABuildFolderKeepsTheFilesBesideTheProgram) {
  const fs::path build = root / "build" / "src";
  const fs::path manual = Touch(build / "gui" / "Vantu.pdf");
  EXPECT_EQ(ProgramDirFor(build.string()), build.string());
  EXPECT_EQ(FindProgramFileFor((build / "gui").string(), "Vantu.pdf"), manual.string());
  EXPECT_FALSE(fs::exists(root / "xdg"));
}

TEST_F(PathsTest, AnInstalledTreeIsReadAndNeverWritten) {
  const fs::path bin = root / "usr" / "bin";
  fs::create_directories(bin);
  const fs::path shared = Touch(root / "usr" / "share" / "vantu" / "Vantu.pdf");
  const fs::path userDir = root / "xdg" / "vantu";
  // Writable or not (an administrator's run), bin/ is not the program folder.
  EXPECT_EQ(ProgramDirFor(bin.string()), userDir.string());
  EXPECT_TRUE(fs::is_directory(userDir));
  EXPECT_EQ(FindProgramFileFor(bin.string(), "Vantu.pdf"), shared.string());
  // Not found anywhere: where it would be written.
  EXPECT_EQ(FindProgramFileFor(bin.string(), "Vantu.TTF"), (userDir / "Vantu.TTF").string());
  // A user's own copy in the program folder comes first.
  const fs::path own = Touch(userDir / "Vantu.pdf");
  EXPECT_EQ(FindProgramFileFor(bin.string(), "Vantu.pdf"), own.string());
  setenv("VANTU_HOME", (root / "casa").c_str(), 1);
  EXPECT_EQ(ProgramDirFor(bin.string()), (root / "casa").string());
  unsetenv("VANTU_HOME");
}

TEST_F(PathsTest, AReadOnlyFolderSendsTheFilesToTheUsersData) {
  if (::geteuid() == 0) GTEST_SKIP() << "an administrator writes into any folder";
  const fs::path bin = root / "solo-lectura";
  fs::create_directories(bin);
  fs::permissions(bin, fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(ProgramDirFor(bin.string()), (root / "xdg" / "vantu").string());
  fs::permissions(bin, fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace vantu::test
