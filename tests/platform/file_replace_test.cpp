#include "platform/file_replace.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/file_contents.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& p) {
  return test::FileContents(p);
}

class FileReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("vantu-replace-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(FileReplaceTest, TheNewContentsReplaceTheOldAndNoTemporaryFileStays) {
  const fs::path target = dir / "Apr07ct1.A";
  std::ofstream(target) << "viejo contenido, mas largo que el nuevo";
  const std::string data("nuevo\0con cero", 14);
  EXPECT_EQ(ReplaceFileWith(target.string(), (dir / "t.tmp").string(), data.data(), data.size()),
            0);
  EXPECT_EQ(Contents(target), data);
  EXPECT_FALSE(fs::exists(dir / "t.tmp"));
}

TEST_F(FileReplaceTest, AFailedReplaceLeavesTheOldFileAndReportsTheError) {
  const fs::path target = dir / "Config.Cfg";
  std::ofstream(target) << "intacto";
  // The temporary file cannot be created in a folder that does not exist.
  const std::string temp = (dir / "no-existe" / "t.tmp").string();
  EXPECT_EQ(ReplaceFileWith(target.string(), temp, "x", 1), ENOENT);
  EXPECT_EQ(Contents(target), "intacto");
  // Renaming over a folder fails: the temporary file is removed again.
  fs::create_directories(dir / "carpeta" / "llena");
  const std::string temp2 = (dir / "t2.tmp").string();
  EXPECT_NE(ReplaceFileWith((dir / "carpeta").string(), temp2, "x", 1), 0);
  EXPECT_FALSE(fs::exists(temp2));
  EXPECT_TRUE(fs::is_directory(dir / "carpeta" / "llena"));
}

TEST_F(FileReplaceTest, AnOverwriteChangesOnlyItsBytesAndNeverCreatesTheFile) {
  const fs::path target = dir / "Config.Cfg";
  std::ofstream(target) << "0123456789";
  EXPECT_EQ(OverwriteInPlace(target.string(), 3, "ab", 2), 0);
  EXPECT_EQ(Contents(target), "012ab56789");
  const fs::path missing = dir / "falta.Cfg";
  EXPECT_EQ(OverwriteInPlace(missing.string(), 0, "x", 1), ENOENT);
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
}  // namespace vantu
