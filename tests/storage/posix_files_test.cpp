// The POSIX file layer: positional reads and writes straight to the
// operating system, one handle per file, truncation and existence.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "storage/file_io.h"
#include "storage/memory_files.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

std::string OnDisk(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path Scratch(const char* name) {
  const fs::path dir = fs::path(std::getenv("VANTU_HOME")) / "posix";
  fs::create_directories(dir);
  fs::remove(dir / name);
  return dir / name;
}

TEST(PosixFiles, WritesReachTheFileAtOnceAndReadsSeeThem) {
  StorageFiles& files = SystemStorageFiles();
  const fs::path p = Scratch("Apr02dat.A");
  int h = -1;
  ASSERT_EQ(files.Create(p.string(), h), 0);
  size_t done = 0;
  ASSERT_EQ(files.WriteAt(h, 5000, "xyz", 3, done), 0);
  EXPECT_EQ(OnDisk(p).size(), 5003u);
  EXPECT_EQ(OnDisk(p).substr(5000), "xyz");
  // A write made outside the handle is what the handle reads next.
  {
    std::fstream out(p, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(5001);
    out.write("Q", 1);
  }
  char back[4] = {};
  ASSERT_EQ(files.ReadAt(h, 5000, back, 8, done), 0);
  EXPECT_EQ(done, 3u);
  EXPECT_EQ(std::string(back, 3), "xQz");
  ASSERT_EQ(files.Truncate(h, 5001), 0);
  int64_t size = 0;
  ASSERT_EQ(files.Size(h, size), 0);
  EXPECT_EQ(size, 5001);
  EXPECT_EQ(files.Sync(h), 0);
  EXPECT_EQ(files.Close(h), 0);
  EXPECT_EQ(files.Close(h), EBADF);
  EXPECT_TRUE(files.Exists(p.string()));
  EXPECT_FALSE(files.Exists((p.parent_path() / "none").string()));
  EXPECT_EQ(files.Open((p.parent_path() / "none").string(), h), ENOENT);
}

// Reads served from the mapping of the file see every write, however the
// file grows or shrinks, and never read past its end.
TEST(PosixFiles, ManyReadsSeeEveryWriteAsTheFileGrowsAndShrinks) {
  StorageFiles& files = SystemStorageFiles();
  const fs::path p = Scratch("Apr06dat.A01");
  int h = -1;
  ASSERT_EQ(files.Create(p.string(), h), 0);
  std::vector<uint8_t> block(4096);
  size_t done = 0;
  int64_t size = 0;
  for (int round = 0; round < 400; ++round) {
    std::fill(block.begin(), block.end(), static_cast<uint8_t>(round));
    ASSERT_EQ(files.WriteAt(h, int64_t{round} * 4096, block.data(), block.size(), done), 0);
    for (int back = 0; back <= round; back += 37) {
      uint8_t b = 0;
      ASSERT_EQ(files.ReadAt(h, int64_t{back} * 4096 + 100, &b, 1, done), 0);
      ASSERT_EQ(b, static_cast<uint8_t>(back)) << "round " << round << ", block " << back;
    }
    if (round % 100 == 99) {
      ASSERT_EQ(files.Truncate(h, int64_t{round} * 4096 - 10), 0);
      ASSERT_EQ(files.Size(h, size), 0);
      uint8_t tail[20] = {};
      ASSERT_EQ(files.ReadAt(h, int64_t{round} * 4096 - 15, tail, 20, done), 0);
      EXPECT_EQ(done, 5u);
      ASSERT_EQ(files.WriteAt(h, int64_t{round} * 4096, block.data(), block.size(), done), 0);
    }
  }
  EXPECT_EQ(files.Close(h), 0);
}

// After enough transfers a handle copies through a mapping of the file.
// Its stores are in the file at once for any other reader, and a file cut
// short by another program makes neither reads nor writes crash: a read
// past the new end finds nothing, a write still lands where it was aimed.
TEST(PosixFiles, MappedTransfersReachTheFileAndSurviveACutByAnotherProgram) {
  StorageFiles& files = SystemStorageFiles();
  const fs::path p = Scratch("Apr04dat.A");
  int h = -1;
  ASSERT_EQ(files.Create(p.string(), h), 0);
  std::vector<uint8_t> block(3 * 4096, 'a');
  size_t done = 0;
  ASSERT_EQ(files.WriteAt(h, 0, block.data(), block.size(), done), 0);
  for (int i = 0; i < 100; ++i) {
    const char c = static_cast<char>('b' + i % 20);
    ASSERT_EQ(files.WriteAt(h, 4096 + i * 7, &c, 1, done), 0);
    ASSERT_EQ(done, 1u);
    char back = 0;
    ASSERT_EQ(files.ReadAt(h, 4096 + i * 7, &back, 1, done), 0);
    ASSERT_EQ(back, c);
    ASSERT_EQ(OnDisk(p).at(4096 + i * 7), c) << "store " << i;
  }
  EXPECT_EQ(OnDisk(p).size(), block.size());

  fs::resize_file(p, 100);  // another program cuts the file
  char tail[16] = {};
  ASSERT_EQ(files.ReadAt(h, 2 * 4096, tail, sizeof tail, done), 0);
  EXPECT_EQ(done, 0u);
  ASSERT_EQ(files.WriteAt(h, 2 * 4096, "xyz", 3, done), 0);
  EXPECT_EQ(done, 3u);
  const std::string after = OnDisk(p);
  ASSERT_EQ(after.size(), 2u * 4096 + 3);
  EXPECT_EQ(after.substr(2 * 4096), "xyz");
  EXPECT_EQ(after.substr(0, 100), std::string(100, 'a'));
  EXPECT_EQ(files.Close(h), 0);
}

// One file, one handle: a second Open or Create of an open file is refused
// and leaves the file whole, in both layers.
TEST(PosixFiles, ASecondHandleToAnOpenFileIsRefused) {
  MemoryFiles memory;
  struct Layer {
    const char* name;
    StorageFiles* files;
    std::string path;
  } layers[] = {{"posix", &SystemStorageFiles(), Scratch("Apr03dat.A").string()},
                {"memory", &memory, "Apr03dat.A"}};
  for (Layer& l : layers) {
    SCOPED_TRACE(l.name);
    int h = -1, second = -1;
    size_t done = 0;
    ASSERT_EQ(l.files->Create(l.path, h), 0);
    ASSERT_EQ(l.files->WriteAt(h, 0, "abcdef", 6, done), 0);
    EXPECT_EQ(l.files->Open(l.path, second), EBUSY);
    EXPECT_EQ(l.files->Create(l.path, second), EBUSY);
    int64_t size = 0;
    ASSERT_EQ(l.files->Size(h, size), 0);
    EXPECT_EQ(size, 6);
    ASSERT_EQ(l.files->Close(h), 0);
    ASSERT_EQ(l.files->Open(l.path, second), 0);
    EXPECT_EQ(l.files->Close(second), 0);
  }
}

}  // namespace
}  // namespace vantu
