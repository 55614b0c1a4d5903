// Each fuzz target works in a folder of its own, made the working folder once:
// the core reads and writes fixed names in the working folder.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tolvi::fuzz {

inline std::string& PrivateFolder() {
  static std::string folder;
  return folder;
}

inline void RemovePrivateFolder() {
  std::error_code ignored;
  std::filesystem::current_path("/", ignored);
  std::filesystem::remove_all(PrivateFolder(), ignored);
}

inline void EnterPrivateFolder(const char* target) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tolvi-fuzz-" + target + "-XXXXXX";
  if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
    std::perror("private folder");
    std::abort();
  }
  PrivateFolder() = pattern;
  std::atexit(RemovePrivateFolder);
}

inline void WriteWholeFile(const char* name, const void* bytes, std::size_t size) {
  std::FILE* file = std::fopen(name, "wb");
  if (!file || std::fwrite(bytes, 1, size, file) != size || std::fclose(file) != 0) {
    std::perror(name);
    std::abort();
  }
}

inline bool ReadWholeFile(const char* name, std::string& bytes) {
  std::FILE* file = std::fopen(name, "rb");
  if (!file) return false;
  bytes.clear();
  char block[4096];
  for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, n);
  std::fclose(file);
  return true;
}

// A failed property: say which and stop, so libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace tolvi::fuzz
