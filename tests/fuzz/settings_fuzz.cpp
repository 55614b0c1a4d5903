// Fuzzes the settings file: any bytes as ./Gelvo.ini give a terminated name of at
// most 19 bytes, and a plain model's answer whenever the file is well formed.
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "practice/profile.h"
#include "practice/settings.h"
#include "private_folder.h"

namespace {

using tolvi::fuzz::Check;

constexpr std::size_t kLongestModelLine = 4000;

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// The answer for a well-formed file: lines of printable ASCII and tabs ending in LF
// or CR LF, each blank, a ';' comment, a "[section]" header or "key = value".
// Anything else gives no answer, and only the general properties are checked.
std::optional<std::string> ModelAnswer(std::string_view file) {
  bool in_gelvo = false;
  while (!file.empty()) {
    const std::size_t lf = file.find('\n');
    std::string_view line = file.substr(0, lf);
    file = lf == std::string_view::npos ? std::string_view() : file.substr(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kLongestModelLine) return std::nullopt;
    for (char c : line) {
      if (c != '\t' && (c < 0x20 || c > 0x7E)) return std::nullopt;
    }
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::string_view name = line.substr(1, line.size() - 1);
      if (line.back() != ']' || name.find_first_of("[]") != name.size() - 1) return std::nullopt;
      in_gelvo = Lower(TrimBlanks(name.substr(0, name.size() - 1))) == "gelvo";
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || TrimBlanks(line.substr(0, equals)).empty()) return std::nullopt;
    if (!in_gelvo || Lower(TrimBlanks(line.substr(0, equals))) != "stringfile") continue;
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, 19));
  }
  return std::string(tolvi::kDefaultSentenceFile);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tolvi::fuzz::EnterPrivateFolder("settings");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  tolvi::fuzz::WriteWholeFile("Gelvo.ini", data, size);

  // The field is exactly 20 bytes on the heap, so a write past it is caught.
  const std::size_t capacity = tolvi::kSentenceFileNameBytes;
  std::unique_ptr<char[]> out(new char[capacity]);
  std::memset(out.get(), 0xCC, capacity);
  const std::size_t n = tolvi::ReadProfileStringPortable("Gelvo", "StringFile", tolvi::kDefaultSentenceFile,
                                                         out.get(), capacity, tolvi::kSettingsFile);
  Check(n <= 19, "at most 19 bytes copied");
  Check(out[n] == '\0', "the copy is terminated");
  const std::string_view answer(out.get(), n);
  Check(answer == tolvi::kDefaultSentenceFile || file.find(answer) != std::string_view::npos,
        "the answer is the default or a piece of the file");

  if (const std::optional<std::string> expected = ModelAnswer(file)) {
    Check(answer == *expected, "a well-formed file gives the model's answer");
  }

  tolvi::LoadSettings();
  Check(std::strcmp(tolvi::SentenceFileName(), out.get()) == 0, "LoadSettings takes the same answer");
  return 0;
}
