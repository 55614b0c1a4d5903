// Runs a fuzz target once over each file of its corpus, so that every build of the
// tests checks its properties without a fuzzer.
#include <cstdint>
#include <filesystem>
#include <string>

#include "files.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  const std::filesystem::path corpus = std::filesystem::absolute(argv[1]);
  LLVMFuzzerInitialize(&argc, &argv);
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string bytes = tolvi::test::ReadFile(entry.path().string());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  return 0;
}
