// Whole-file reads and writes, and a fresh working folder, for every test program.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace tolvi::test {

inline void WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The working folder for its lifetime: the core reads and writes fixed names there.
class FreshFolder {
 public:
  FreshFolder() : previous_(std::filesystem::current_path()) {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("tolvi-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~FreshFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::filesystem::path previous_, path_;
};

}  // namespace tolvi::test
