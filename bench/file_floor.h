#pragma once
// The file floor of a run that reads a set and writes some of its pages:
// every file read once from start to end, exactly the pages the run
// changed written again, and one sync for each file written. No reckoning
// is cheaper; a run measured against it shows what it costs beyond its
// file work.
//
// The pages are found by comparing the files before and after one run, so
// the floor follows whatever that run changed (every page of a full
// recalculation, a few for one price changed).

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace vantu::bench {

class FileFloor {
 public:
  static constexpr size_t kPage = 4096;

  explicit FileFloor(std::vector<std::filesystem::path> files) : files_(std::move(files)) {}

  // Keeps the files' bytes as they are before the run.
  void Before() {
    before_.clear();
    for (const auto& f : files_) before_.push_back(Bytes(f));
  }
  // Notes the pages the run changed since Before.
  void After() {
    pages_.assign(files_.size(), {});
    for (size_t i = 0; i < files_.size(); ++i) {
      const std::vector<char> now = Bytes(files_[i]);
      const std::vector<char>& was = before_[i];
      for (size_t at = 0; at < now.size(); at += kPage) {
        const size_t n = std::min(kPage, now.size() - at);
        if (at + n > was.size() ||
            !std::equal(now.begin() + at, now.begin() + at + n, was.begin() + at))
          pages_[i].push_back(at);
      }
    }
  }
  // Pages changed by the run After saw.
  size_t ChangedPages() const {
    size_t n = 0;
    for (const auto& p : pages_) n += p.size();
    return n;
  }
  // The floor itself: each file read whole, its changed pages written back
  // with the bytes they hold, then synced. The bytes read.
  size_t Run() const {
    static std::vector<char> bytes;
    size_t total = 0;
    for (size_t i = 0; i < files_.size(); ++i) {
      const bool writes = i < pages_.size() && !pages_[i].empty();
      const int fd = ::open(files_[i].c_str(), (writes ? O_RDWR : O_RDONLY) | O_CLOEXEC);
      if (fd < 0) continue;
      bytes.resize(std::filesystem::file_size(files_[i]));
      const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), 0);
      if (got > 0) total += static_cast<size_t>(got);
      if (writes) {
        for (size_t at : pages_[i]) {
          const size_t n = std::min(kPage, bytes.size() - at);
          if (::pwrite(fd, bytes.data() + at, n, static_cast<off_t>(at)) < 0) break;
        }
        ::fdatasync(fd);
      }
      ::close(fd);
    }
    return total;
  }

 private:
  static std::vector<char> Bytes(const std::filesystem::path& f) {
    std::ifstream in(f, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::vector<std::filesystem::path> files_;
  std::vector<std::vector<char>> before_;
  std::vector<std::vector<size_t>> pages_;  // offsets of changed pages, by file
};

}  // namespace vantu::bench
