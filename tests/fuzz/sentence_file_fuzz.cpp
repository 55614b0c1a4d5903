// The sentence reader on any text, CP932 or UTF-8, read from memory in blocks of any
// size: lines are terminated within 80 bytes and hold no LF, whole lines give back the
// text, the count is the number of lines, and the line found for any piece by counting is
// that piece. Input: one byte that picks the block size, one that picks the piece, then
// the file.
#include "base/code_page.h"
#include "fuzz.h"
#include "practice/sentence_source.h"

namespace {

using Lines = std::vector<std::string>;
using tolvi::fuzz::Check;

tolvi::SentenceStream Open(std::string& raw, std::size_t block_bytes) {
  std::FILE* const file = fmemopen(raw.data(), raw.size(), "rb");
  return tolvi::SentenceStream(tolvi::File(file), block_bytes);
}

// Every line read with the given capacity, from where the stream is, up to limit lines.
Lines ReadLines(tolvi::SentenceStream& stream, int capacity, long long limit) {
  std::vector<char> buffer(capacity);  // exactly the capacity, so a write past it is caught
  Lines lines;
  while (static_cast<long long>(lines.size()) < limit) {
    const char* line = tolvi::read_sentence_line(buffer.data(), capacity, stream);
    if (!line) break;
    Check(std::memchr(line, '\0', capacity) && !std::strchr(line, '\n'),
          "a line is terminated and holds no LF");
    lines.emplace_back(line);
  }
  return lines;
}

std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t block_bytes = data[0] < 250 ? 1 + data[0] % 100 : tolvi::kSentenceBlockBytes;
  std::string raw(reinterpret_cast<const char*>(data + 2), size - 2);
  if (raw.empty()) raw = "\x1A";  // the same empty text, and a stream needs a byte
  tolvi::SentenceStream read = Open(raw, block_bytes);
  const Lines pieces = ReadLines(read, tolvi::kSentenceBytes, LLONG_MAX);
  tolvi::SentenceStream count = Open(raw, block_bytes);
  Check(tolvi::CountLines(count) == static_cast<int>(pieces.size()),
        "the count is the number of lines");

  if (!pieces.empty()) {
    const long long piece = data[1] % pieces.size();
    tolvi::SentenceStream find = Open(raw, block_bytes);
    const tolvi::WholeLine found = tolvi::FindWholeLine(find, piece);
    find.Seek(found.offset);
    const Lines from_there =
        ReadLines(find, tolvi::kSentenceBytes, piece - found.pieces_before + 1);
    Check(found.offset >= 0 && !from_there.empty() && from_there.back() == pieces[piece],
          "the line found by counting is the piece");
  }

  if (raw.find('\0') != std::string::npos) return 0;
  // The text as a text-mode read sees it: 0x1A ends it, UTF-8 reads as CP932, CR LF as LF.
  std::string source = raw.substr(0, raw.find('\x1A'));
  if (read.is_utf8()) {
    if (source.rfind("\xEF\xBB\xBF", 0) == 0) source.erase(0, 3);
    source = tolvi::Utf8ToCp932(source);
  }
  std::string text;
  for (std::size_t i = 0; i < source.size(); ++i) {
    if (source[i] != '\r' || i + 1 == source.size() || source[i + 1] != '\n') text += source[i];
  }
  if (!text.empty() && text.back() == '\n') text.pop_back();
  tolvi::SentenceStream whole = Open(raw, block_bytes);
  Check(Joined(ReadLines(whole, static_cast<int>(raw.size()) + 2, LLONG_MAX)) == text,
        "whole lines joined by LF are the text");
  return 0;
}
