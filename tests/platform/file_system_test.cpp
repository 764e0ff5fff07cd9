#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_lock.h"
#include "support/file_contents.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& p) {
  return test::FileContents(p);
}

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("vantu-os-" + std::to_string(CurrentProcessId()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    for (os::FileHandle f : open) os::CloseFile(f);
    fs::remove_all(dir);
  }
  os::FileHandle Open(const fs::path& p, os::OpenMode mode) {
    os::FileHandle f = os::kNoFile;
    EXPECT_EQ(os::OpenFile(p.string(), mode, f), 0) << p;
    if (f != os::kNoFile) open.push_back(f);
    return f;
  }
  void Close(os::FileHandle f) {
    EXPECT_EQ(os::CloseFile(f), 0);
    std::erase(open, f);
  }

  fs::path dir;
  std::vector<os::FileHandle> open;
};

TEST_F(FileSystemTest, PositionalWritesExtendTheFileAndReadsStopAtItsEnd) {
  const os::FileHandle f = Open(dir / "Apr03dat.A", os::OpenMode::kReadWriteCreate);
  size_t done = 0;
  // A write past the end leaves zeros between, as every system does.
  ASSERT_EQ(os::WriteAt(f, 6, "mundo", 5, done), 0);
  EXPECT_EQ(done, 5u);
  ASSERT_EQ(os::WriteAt(f, 0, "hola", 4, done), 0);
  int64_t size = 0;
  ASSERT_EQ(os::FileSizeOf(f, size), 0);
  EXPECT_EQ(size, 11);

  char buffer[32] = {};
  ASSERT_EQ(os::ReadAt(f, 2, buffer, sizeof buffer, done), 0);
  EXPECT_EQ(done, 9u) << "a read is short only at the end of the file";
  EXPECT_EQ(std::string(buffer, done), std::string("la\0\0mundo", 9));
  ASSERT_EQ(os::ReadAt(f, 100, buffer, 4, done), 0);
  EXPECT_EQ(done, 0u);

  ASSERT_EQ(os::TruncateFile(f, 3), 0);
  ASSERT_EQ(os::SyncFile(f), 0);
  ASSERT_EQ(os::FileSizeOf(f, size), 0);
  EXPECT_EQ(size, 3);
  Close(f);
  EXPECT_EQ(Contents(dir / "Apr03dat.A"), "hol");
}

TEST_F(FileSystemTest, OpenModesCreateTruncateOrRefuseAsNamed) {
  const fs::path p = dir / "nota.txt";
  os::FileHandle f = os::kNoFile;
  EXPECT_EQ(os::OpenFile(p.string(), os::OpenMode::kReadWrite, f), ENOENT);
  EXPECT_EQ(os::OpenFile(p.string(), os::OpenMode::kRead, f), ENOENT);
  EXPECT_EQ(os::OpenFile((dir / "no" / "x").string(), os::OpenMode::kReadWriteCreate, f), ENOENT);
  EXPECT_EQ(os::OpenFile(dir.string(), os::OpenMode::kReadWrite, f), EISDIR);
  EXPECT_FALSE(os::PathExists(p.string()));

  size_t done = 0;
  f = Open(p, os::OpenMode::kWriteCreateTruncate);
  ASSERT_EQ(os::WriteAt(f, 0, "linea\n", 6, done), 0);
  Close(f);
  EXPECT_TRUE(os::PathExists(p.string()));
  EXPECT_EQ(Contents(p), "linea\n") << "bytes go out as given, line ends too";

  f = Open(p, os::OpenMode::kReadWriteCreate);
  Close(f);
  EXPECT_EQ(Contents(p), "linea\n") << "opening to create keeps what is there";
  f = Open(p, os::OpenMode::kWriteCreateTruncate);
  Close(f);
  EXPECT_EQ(Contents(p), "");
}

TEST_F(FileSystemTest, TwoHandlesOfOneFileShareAnIdentityThatOtherFilesDoNot) {
  std::ofstream(dir / "a") << "a";
  std::ofstream(dir / "b") << "b";
  os::FileId a1, a2, b;
  ASSERT_EQ(os::IdentifyFile(Open(dir / "a", os::OpenMode::kRead), a1), 0);
  ASSERT_EQ(os::IdentifyFile(Open(dir / "a", os::OpenMode::kReadWrite), a2), 0);
  ASSERT_EQ(os::IdentifyFile(Open(dir / "b", os::OpenMode::kRead), b), 0);
  EXPECT_EQ(a1, a2);
  EXPECT_NE(a1, b);
}

TEST_F(FileSystemTest, ReplacingRenamesOverAFileThatIsOpen) {
  std::ofstream(dir / "Apr07ct1.A") << "viejo";
  std::ofstream(dir / "nuevo.tmp") << "nuevo";
  const os::FileHandle reader = Open(dir / "Apr07ct1.A", os::OpenMode::kRead);
  ASSERT_EQ(os::ReplaceFile((dir / "nuevo.tmp").string(), (dir / "Apr07ct1.A").string()), 0);
  os::SyncFolder(dir.string());
  EXPECT_EQ(Contents(dir / "Apr07ct1.A"), "nuevo");
  EXPECT_FALSE(fs::exists(dir / "nuevo.tmp"));
  Close(reader);
  EXPECT_EQ(os::ReplaceFile((dir / "falta.tmp").string(), (dir / "Apr07ct1.A").string()), ENOENT);
  EXPECT_EQ(Contents(dir / "Apr07ct1.A"), "nuevo");
}

TEST_F(FileSystemTest, ALockBelongsToTheOpenFileAndGoesWithIt) {
  const fs::path p = dir / "Apr00blq.A";
  const os::FileHandle first = Open(p, os::OpenMode::kReadWriteCreate);
  EXPECT_FALSE(os::LockHeldElsewhere(p.string()));
  ASSERT_EQ(os::TryLockFile(first), 0);
  EXPECT_TRUE(os::LockHeldElsewhere(p.string()));
  // A second open in this same process is refused like another program.
  const os::FileHandle second = Open(p, os::OpenMode::kReadWrite);
  EXPECT_EQ(os::TryLockFile(second), EAGAIN);
  // The locked file's text can still be read by anyone.
  size_t done = 0;
  ASSERT_EQ(os::WriteAt(first, 0, "quien", 5, done), 0);
  EXPECT_EQ(Contents(p), "quien");
  Close(first);
  EXPECT_FALSE(os::LockHeldElsewhere(p.string()));
  EXPECT_EQ(os::TryLockFile(second), 0);
  EXPECT_FALSE(os::LockHeldElsewhere((dir / "falta").string()));
}

TEST_F(FileSystemTest, SpanishNamesReachTheSameFileAsTheStandardLibrary) {
  // Windows-1252 bytes, as the core's texts are, and UTF-8, as a POSIX
  // file name usually is: each reaches one file by every route.
  for (const std::string name : {std::string("A\xF1o 2024"), std::string("A\xC3\xB1o 2024")}) {
    const std::string folder = (dir / name).string();
    fs::create_directories(folder);
    const std::string file = (fs::path(folder) / "Apr01dat.A").string();
    os::FileHandle f = Open(file, os::OpenMode::kWriteCreateTruncate);
    size_t done = 0;
    ASSERT_EQ(os::WriteAt(f, 0, "rama", 4, done), 0);
    Close(f);
    EXPECT_TRUE(fs::is_regular_file(file)) << name;
    EXPECT_EQ(Contents(file), "rama") << name;
    EXPECT_TRUE(os::FolderWritable(folder)) << name;
  }
  EXPECT_FALSE(os::FolderWritable((dir / "falta").string()));
}

TEST_F(FileSystemTest, TemporaryFoldersAreNewEachTime) {
  std::string a, b;
  ASSERT_EQ(os::MakeTempFolder("vantu-os-test-", a), 0);
  ASSERT_EQ(os::MakeTempFolder("vantu-os-test-", b), 0);
  EXPECT_NE(a, b);
  EXPECT_TRUE(fs::is_directory(a));
  EXPECT_TRUE(fs::is_empty(b));
  EXPECT_EQ(fs::path(a).filename().string().rfind("vantu-os-test-", 0), 0u);
  fs::remove_all(a);
  fs::remove_all(b);
}

TEST_F(FileSystemTest, ThisProgramAndProcessAreFound) {
  EXPECT_TRUE(fs::is_regular_file(os::ExecutablePath())) << os::ExecutablePath();
  EXPECT_TRUE(ProcessRunning(CurrentProcessId()));
  EXPECT_GT(os::PageSize(), 0u);
  os::SetEnvironment("VANTU_PRUEBA_OS", "uno");
  ASSERT_NE(std::getenv("VANTU_PRUEBA_OS"), nullptr);
  EXPECT_STREQ(std::getenv("VANTU_PRUEBA_OS"), "uno");
  const std::tm tm = os::LocalTime(86400 * 365);
  EXPECT_TRUE(tm.tm_year == 70 || tm.tm_year == 71) << tm.tm_year;
}

}  // namespace
}  // namespace vantu
