// Runs a fuzz target once over each file of its corpus, so that every build of the
// tests checks its properties without a fuzzer.
#include <cstdint>
#include <filesystem>
#include <string>

#include "files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  for (const auto& entry : std::filesystem::directory_iterator(argv[argc - 1])) {
    const std::string bytes = tolvi::test::ReadFile(entry.path().string());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  return 0;
}
