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

// Aug 04 07:04:32 1999, local time.
inline std::tm AugustFourth1999() {
  std::tm when{};
  when.tm_year = 99;
  when.tm_mon = 7;
  when.tm_mday = 4;
  when.tm_hour = 7;
  when.tm_min = 4;
  when.tm_sec = 32;
  when.tm_isdst = -1;
  return when;
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
