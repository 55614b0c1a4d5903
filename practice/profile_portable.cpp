// Our INI reader: the answers of the system's reader for a plain settings file.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "practice/profile.h"

namespace tolvi {
namespace {

// A longer line is kept only up to here; a key that long matches nothing we look for.
constexpr std::size_t kLineKeepBytes = 4096;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
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

std::size_t CopyCut(std::string_view text, char* out, std::size_t capacity) {
  const std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return n;
}

}  // namespace

std::size_t ReadProfileStringPortable(const char* section, const char* key,
                                      const char* fallback, char* out,
                                      std::size_t capacity, const char* path) {
  if (capacity == 0) return 0;
  const std::string_view fallback_text = fallback ? Trim(fallback) : std::string_view();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return CopyCut(fallback_text, out, capacity);

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
    return CopyCut(value, out, capacity);
  }
  return CopyCut(fallback_text, out, capacity);
}

}  // namespace tolvi
