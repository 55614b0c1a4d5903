// The settings reader on any file gives a terminated name within its field that is the
// default or a piece of the file, and a plain key gives back its value cut to 19 bytes.
// Input: the file; its first bytes also pick a capacity and a value.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz.h"
#include "practice/profile.h"
#include "practice/settings.h"

namespace {

using tolvi::fuzz::Check;

std::string Answer(std::size_t capacity) {
  std::vector<char> out(capacity + 1, '#');  // one guard byte after the field
  const std::size_t n = tolvi::ReadProfileStringPortable("Gelvo", "StringFile", "string.dat",
                                                         out.data(), capacity, tolvi::kSettingsFile);
  Check(out[capacity] == '#', "nothing is written past the capacity");
  Check(capacity == 0 ? n == 0 && out[0] == '#' : n < capacity && out[n] == '\0',
        "the answer is terminated within the capacity");
  return std::string(out.data(), capacity == 0 ? 0 : n);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tolvi::fuzz::EnterOwnFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  tolvi::test::WriteFile("Gelvo.ini", file);
  const std::string answer = Answer(tolvi::kSentenceFileNameBytes);
  Check(answer == "string.dat" || file.find(answer) != std::string::npos,
        "the answer is the default or a piece of the file");
  Check(answer.rfind(Answer(size > 0 ? data[0] % 21 : 0), 0) == 0, "a smaller field holds a prefix");
  tolvi::LoadSettings();
  Check(std::strcmp(answer.c_str(), tolvi::SentenceFileName()) == 0, "LoadSettings takes the same answer");

  // A value of plain characters comes back as it was written.
  std::string value;
  for (char c : file) {
    if (c > ' ' && c < 0x7F && !std::strchr("\"'[]=;", c)) value += c;
  }
  tolvi::test::WriteFile("Gelvo.ini", "[Gelvo]\r\nStringFile = " + value + " \r\n");
  Check(Answer(tolvi::kSentenceFileNameBytes) == (value.empty() ? "" : value.substr(0, 19)),
        "a plain value comes back cut to 19 bytes");
  return 0;
}
