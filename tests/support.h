// What every test program shares: GoogleTest, the standard headers the tests use,
// whole-file reads and writes, and a fresh working folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace tolvi::test {

inline void WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

// The working folder for its lifetime: the core reads and writes fixed names there.
class FreshFolder {
 public:
  FreshFolder() {
    std::filesystem::create_directory(path_);
    std::filesystem::current_path(path_);
  }
  ~FreshFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  const std::filesystem::path previous_ = std::filesystem::current_path();
  const std::filesystem::path path_ =
      std::filesystem::temp_directory_path() / ("tolvi-" + std::to_string(std::random_device()()));
};

}  // namespace tolvi::test
