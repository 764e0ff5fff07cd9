#pragma once
// A whole file's bytes, for tests that compare what was written.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vantu::test {

inline std::string FileContents(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vantu::test
