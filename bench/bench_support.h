#pragma once
// What the benchmarks share: a private scratch folder removed at exit, the
// thread's processor time, the files of a generated set, and the plain
// sequential read of them that the ratios are measured against.

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "dataset_generator.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"

namespace vantu::bench {

namespace fs = std::filesystem;

// A folder of this run's own, removed at exit. With `programDir` it also
// holds the program folder, where the configuration file is written.
struct ScratchDir {
  fs::path dir;
  ScratchDir(const std::string& name, bool programDir = false)
      : dir(fs::temp_directory_path() / ("vantu-" + name + "-" + std::to_string(::getpid()))) {
    fs::create_directories(dir);
    if (programDir) {
      fs::create_directories(dir / "prog");
      Shell().programDir = (dir / "prog").string();
    }
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
};

// Processor seconds of this thread: on a busy machine the wall clock
// counts other programs too.
inline double ThreadCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The data files `areas` of a set (file 6 with the Obra's extension), each
// followed by its index file when `withIndexes` and the file has one.
inline std::vector<fs::path> SetFiles(const dataset::DatasetShape& shape,
                                      std::initializer_list<int> areas, bool withIndexes) {
  std::vector<fs::path> files;
  for (int n : areas) {
    const std::string ext = n == 6 ? shape.rama + shape.obra : shape.rama;
    files.push_back(fs::path(shape.directory) / DataBaseName(n, ext));
    if (withIndexes && n != 1 && n != 5)
      files.push_back(fs::path(shape.directory) / ("Apr0" + std::to_string(n) + "ixc." + ext));
  }
  return files;
}

// Reads each file once from start to end; the bytes read.
inline size_t ReadPlain(const std::vector<fs::path>& files) {
  static std::vector<char> buffer(1 << 16);
  size_t total = 0;
  for (const fs::path& f : files) {
    std::ifstream in(f, std::ios::binary);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
      total += static_cast<size_t>(in.gcount());
  }
  return total;
}

// The generated files reach the disk before any timing, so that the first
// timed sync does not write the generator's data too.
inline void SyncToDisk(const std::vector<fs::path>& files) {
  for (const fs::path& f : files) {
    const int fd = ::open(f.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace vantu::bench
