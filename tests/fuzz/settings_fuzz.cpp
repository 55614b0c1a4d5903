// The settings reader on any file gives a terminated name within its field that is the
// default or a piece of the file, and a plain value comes back cut to 19 bytes.
#include "base/file.h"
#include "base/profile.h"
#include "fuzz.h"

namespace {

std::string Answer(const std::string& file) {
  char out[20];  // exactly the field, so a write past it is caught
  const tolvi::File stream(
      file.empty() ? nullptr : fmemopen(const_cast<char*>(file.data()), file.size(), "r"));
  const std::size_t n =
      tolvi::ReadProfileStream(stream.get(), "Gelvo", "StringFile", "string.dat", out, sizeof out);
  tolvi::fuzz::Check(n < 20 && out[n] == '\0', "the answer is terminated within its field");
  return std::string(out, n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const std::string answer = Answer(file);
  tolvi::fuzz::Check(answer == "string.dat" || file.find(answer) != std::string::npos,
                     "the answer is the default or a piece of the file");
  if (size == 0 || data[0] % 2 == 0) return 0;  // every other input also makes a file of its own
  std::string value;
  for (char c : file) {
    if (c > ' ' && c < 0x7F && !std::strchr("\"'[]=;", c)) value += c;
  }
  tolvi::fuzz::Check(Answer("[Gelvo]\r\nStringFile = " + value + " \r\n") == value.substr(0, 19),
                     "a plain value comes back cut to 19 bytes");
  return 0;
}
