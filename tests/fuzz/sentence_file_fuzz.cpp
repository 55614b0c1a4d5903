// The sentence reader on any text, read from memory in blocks of any size: lines are
// bounded and terminated, whole lines give back the text, pieces join to the same
// bytes and never end inside a character, and the count is the number of lines.
// Input: one byte that picks the block size, then the file.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "fuzz.h"
#include "practice/code_page.h"
#include "practice/sentence_source.h"

namespace {

using tolvi::fuzz::Check;

tolvi::SentenceStream Open(std::string& raw, std::size_t block_bytes) {
  return tolvi::SentenceStream(tolvi::File(fmemopen(raw.data(), raw.size(), "rb")), block_bytes);
}

bool EndsInsideACharacter(const char* piece, std::size_t length) {
  std::size_t i = 0;
  while (i < length) i += tolvi::IsLeadByte(static_cast<unsigned char>(piece[i])) ? 2 : 1;
  return i > length;
}

// Reads every line with the given capacity: how many, and all of them joined by separator.
std::pair<int, std::string> ReadAll(std::string& raw, std::size_t block_bytes, int capacity,
                                    const char* separator) {
  tolvi::SentenceStream stream = Open(raw, block_bytes);
  std::vector<char> buffer(capacity);  // exactly the capacity, so a write past it is caught
  std::pair<int, std::string> lines;
  while (const char* line = tolvi::read_sentence_line(buffer.data(), capacity, stream)) {
    Check(std::memchr(line, '\0', capacity) != nullptr, "a line is terminated within its capacity");
    const std::size_t length = std::strlen(line);
    Check(std::memchr(line, '\n', length) == nullptr, "a line holds no LF");
    Check(capacity != tolvi::kSentenceBytes || length < 79 || (length == 79 && !EndsInsideACharacter(line, length)),
          "a piece is at most 79 bytes, and a full one ends with a whole character");
    lines.second += lines.first++ ? separator : "";
    lines.second.append(line, length);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t block_bytes = data[0] < 250 ? 1 + data[0] % 100 : tolvi::kSentenceBlockBytes;
  std::string raw(reinterpret_cast<const char*>(data + 1), size - 1);
  if (raw.empty()) raw = "\x1A";  // the same empty text, and a stream needs a byte

  const auto pieces = ReadAll(raw, block_bytes, tolvi::kSentenceBytes, "");
  if (raw.find('\0') == std::string::npos) {
    // The text as a text-mode read sees it: 0x1A ends it, CR LF reads as LF.
    std::string text;
    for (std::size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i) {
      if (raw[i] != '\r' || i + 1 == raw.size() || raw[i + 1] != '\n') text += raw[i];
    }
    if (!text.empty() && text.back() == '\n') text.pop_back();
    Check(ReadAll(raw, block_bytes, static_cast<int>(raw.size()) + 2, "\n").second == text,
          "whole lines joined by LF are the text");
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    Check(pieces.second == text, "pieces join to the lines' bytes");
  }
  tolvi::SentenceStream stream = Open(raw, block_bytes);
  Check(tolvi::CountLines(stream) == pieces.first, "the count is the number of lines");
  return 0;
}
