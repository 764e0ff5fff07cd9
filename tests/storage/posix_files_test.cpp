// The POSIX file layer: reads come from the open file's image, writes reach
// the file at once, or at Sync and Close when deferred.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "storage/file_io.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

std::string OnDisk(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PosixFiles, WritesReachTheFileAtOnceUnlessDeferred) {
  const fs::path dir = fs::path(std::getenv("VANTU_HOME")) / "posix";
  fs::create_directories(dir);
  for (bool deferred : {false, true}) {
    SCOPED_TRACE(deferred ? "deferred" : "at once");
    StorageFiles& files = PosixStorageFiles();
    const fs::path p = dir / (deferred ? "Apr02ixc.A" : "Apr02dat.A");
    int h = -1;
    ASSERT_EQ(files.Create(p.string(), h), 0);
    if (deferred) files.DeferWrites(h);
    size_t done = 0;
    ASSERT_EQ(files.WriteAt(h, 5000, "xyz", 3, done), 0);
    char back[4] = {};
    ASSERT_EQ(files.ReadAt(h, 5000, back, 3, done), 0);
    EXPECT_EQ(std::string(back), "xyz");
    EXPECT_EQ(OnDisk(p).size(), deferred ? 0u : 5003u);
    ASSERT_EQ(files.Sync(h), 0);
    EXPECT_EQ(OnDisk(p).substr(5000), "xyz");
    ASSERT_EQ(files.WriteAt(h, 1, "ab", 2, done), 0);
    ASSERT_EQ(files.Close(h), 0);
    EXPECT_EQ(OnDisk(p).substr(1, 2), "ab");
    // Reopened, the image holds what the file holds.
    ASSERT_EQ(files.Open(p.string(), h), 0);
    int64_t size = 0;
    files.Size(h, size);
    EXPECT_EQ(size, 5003);
    ASSERT_EQ(files.ReadAt(h, 5000, back, 8, done), 0);
    EXPECT_EQ(done, 3u);
    EXPECT_EQ(files.Close(h), 0);
  }
  int h = -1;
  EXPECT_EQ(PosixStorageFiles().Open((dir / "none").string(), h), ENOENT);
}

}  // namespace
}  // namespace vantu
