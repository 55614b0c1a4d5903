// Our INI reader: the answers of the system's reader for a plain settings file.
#include "base/profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "base/file.h"
#include "base/text_format.h"

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
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// The lines of a stream without their LFs, read in blocks; each is kept only up to
// kLineKeepBytes.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file_(file) {}
  bool Next(std::string& line) {
    line.clear();
    for (bool any = false;; any = true) {
      if (pos_ == end_) {
        pos_ = 0;
        end_ = file_ ? std::fread(block_, 1, sizeof block_, file_) : 0;
        if (end_ == 0) return any;
      }
      const char* start = block_ + pos_;
      const auto* lf = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
      const std::size_t length = static_cast<std::size_t>((lf ? lf : block_ + end_) - start);
      line.append(start, std::min(length, kLineKeepBytes - line.size()));
      pos_ += length + (lf != nullptr);
      if (lf) return true;
    }
  }

 private:
  std::FILE* file_;
  char block_[4096];
  std::size_t pos_ = 0, end_ = 0;
};

}  // namespace

std::size_t ReadProfileStringPortable(const char* section, const char* key, const char* fallback,
                                      char* out, std::size_t capacity, const char* path) {
  return ReadProfileStream(File(std::fopen(path, "rb")).get(), section, key, fallback, out,
                           capacity);
}

std::size_t ReadProfileStream(std::FILE* file, const char* section, const char* key,
                              const char* fallback, char* out, std::size_t capacity) {
  const std::string_view fallback_text = fallback ? Trim(fallback) : std::string_view();
  LineReader lines(file);
  std::string line;
  bool in_section = false;
  while (lines.Next(line)) {
    std::string_view text = Trim(line);
    if (!text.empty() && text.front() == '[') {
      const std::size_t close = text.find(']');
      const std::string_view name = Trim(
          text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
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
