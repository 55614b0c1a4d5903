// The settings reader on any file gives a terminated name within its field that is the
// default or a piece of the file, and a plain key gives back its value cut to 19 bytes.
// Input: the file; its first byte also picks a smaller field.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz.h"
#include "practice/file.h"
#include "practice/profile.h"

namespace {

using tolvi::fuzz::Check;

std::string Answer(const std::string& file, std::size_t capacity) {
  char out[32];
  std::memset(out, '#', sizeof out);
  const tolvi::File stream(file.empty() ? nullptr : fmemopen(const_cast<char*>(file.data()), file.size(), "r"));
  const std::size_t n = tolvi::ReadProfileStream(stream.get(), "Gelvo", "StringFile", "string.dat", out, capacity);
  Check(out[capacity] == '#', "nothing is written past the capacity");
  Check(capacity == 0 ? n == 0 && out[0] == '#' : n < capacity && out[n] == '\0',
        "the answer is terminated within the capacity");
  return std::string(out, capacity == 0 ? 0 : n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const std::string answer = Answer(file, 20);
  Check(answer == "string.dat" || file.find(answer) != std::string::npos,
        "the answer is the default or a piece of the file");
  Check(answer.rfind(Answer(file, size > 0 ? data[0] % 21 : 0), 0) == 0, "a smaller field holds a prefix");

  // A value of plain characters comes back as it was written.
  std::string value;
  for (char c : file) {
    if (c > ' ' && c < 0x7F && !std::strchr("\"'[]=;", c)) value += c;
  }
  Check(Answer("[Gelvo]\r\nStringFile = " + value + " \r\n", 20) == value.substr(0, 19),
        "a plain value comes back cut to 19 bytes");
  return 0;
}
