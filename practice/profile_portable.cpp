// Our INI reader: the answers of the system's reader for a plain settings file.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "practice/file.h"
#include "practice/profile.h"
#include "practice/text_format.h"

namespace tolvi {
namespace {

// A longer line is kept only up to here; a key that long matches nothing we look for.
constexpr std::size_t kLineKeepBytes = 4096;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Lower(x) == Lower(y);
         });
}

// Reads one line without its LF into line, keeping at most kLineKeepBytes of it.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = std::fgetc(file);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::fgetc(file)) {
    if (line.size() < kLineKeepBytes) line.push_back(static_cast<char>(c));
  }
  return true;
}

}  // namespace

std::size_t ReadProfileStringPortable(const char* section, const char* key,
                                      const char* fallback, char* out,
                                      std::size_t capacity, const char* path) {
  const std::string_view fallback_text = fallback ? Trim(fallback) : std::string_view();
  File file(std::fopen(path, "rb"));
  if (!file) return AppendText(out, capacity, 0, fallback_text);

  std::string line;
  bool in_section = false;
  while (ReadLine(file.get(), line)) {
    std::string_view text = Trim(line);
    if (!text.empty() && text.front() == '[') {
      const std::size_t close = text.find(']');
      const std::string_view name =
          Trim(text.substr(1, close == std::string_view::npos ? std::string_view::npos
                                                              : close - 1));
      in_section = SameIgnoringCase(name, section);
      continue;
    }
    if (!in_section) continue;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    if (!SameIgnoringCase(Trim(text.substr(0, equals)), key)) continue;
    std::string_view value = Trim(text.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return AppendText(out, capacity, 0, value);
  }
  return AppendText(out, capacity, 0, fallback_text);
}

}  // namespace tolvi
