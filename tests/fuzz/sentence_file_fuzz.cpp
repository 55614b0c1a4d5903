// The sentence reader on any text, read from memory in blocks of any size: lines are
// terminated within 80 bytes and hold no LF, whole lines give back the text, and the
// count is the number of lines. Input: one byte that picks the block size, then the file.
#include "fuzz.h"
#include "practice/sentence_source.h"

namespace {

// Every line read with the given capacity, joined by LFs; and how many there were.
std::string ReadAll(std::string& raw, std::size_t block_bytes, int capacity, int* count) {
  tolvi::SentenceStream stream(tolvi::File(fmemopen(raw.data(), raw.size(), "rb")), block_bytes);
  std::vector<char> buffer(capacity);  // exactly the capacity, so a write past it is caught
  std::string lines;
  *count = 0;
  while (const char* line = tolvi::read_sentence_line(buffer.data(), capacity, stream)) {
    tolvi::fuzz::Check(std::memchr(line, '\0', capacity) && !std::strchr(line, '\n'),
                       "a line is terminated and holds no LF");
    if (*count > 0) lines += '\n';
    lines += line;
    ++*count;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t block_bytes = data[0] < 250 ? 1 + data[0] % 100 : tolvi::kSentenceBlockBytes;
  std::string raw(reinterpret_cast<const char*>(data + 1), size - 1);
  if (raw.empty()) raw = "\x1A";  // the same empty text, and a stream needs a byte
  int pieces = 0;
  int lines = 0;
  ReadAll(raw, block_bytes, tolvi::kSentenceBytes, &pieces);
  tolvi::SentenceStream stream(tolvi::File(fmemopen(raw.data(), raw.size(), "rb")), block_bytes);
  tolvi::fuzz::Check(tolvi::CountLines(stream) == pieces, "the count is the number of lines");
  if (raw.find('\0') != std::string::npos) return 0;
  // The text as a text-mode read sees it: 0x1A ends it, CR LF reads as LF.
  std::string text;
  for (std::size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i) {
    if (raw[i] != '\r' || i + 1 == raw.size() || raw[i + 1] != '\n') text += raw[i];
  }
  if (!text.empty() && text.back() == '\n') text.pop_back();
  tolvi::fuzz::Check(ReadAll(raw, block_bytes, static_cast<int>(raw.size()) + 2, &lines) == text,
                     "whole lines joined by LF are the text");
  return 0;
}
