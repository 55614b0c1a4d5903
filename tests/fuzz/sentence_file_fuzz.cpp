// The sentence reader on any file: lines are bounded and terminated, whole lines give
// back the text, pieces of any size join to the same bytes, the count is the number
// of lines, and a draw is the line that rand15 picks.
// Input: one steering byte, then the file; steering bits 0-1 both set put the text
// near the reader's 64 KiB block edge, the rest pick a seed.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz.h"
#include "practice/random.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"

namespace {

using tolvi::fuzz::Check;
using Lines = std::vector<std::string>;

Lines ReadAll(int capacity) {
  tolvi::SentenceStream stream(tolvi::kDefaultSentenceFile);
  std::vector<char> buffer(capacity);  // exactly the capacity, so a write past it is caught
  Lines lines;
  while (const char* line = tolvi::read_sentence_line(buffer.data(), capacity, stream)) {
    Check(std::memchr(line, '\0', capacity) != nullptr, "a line is terminated within its capacity");
    Check(std::strchr(line, '\n') == nullptr, "a line holds no LF");
    lines.emplace_back(line);
  }
  return lines;
}

std::string Joined(const Lines& lines, const char* separator) {
  std::string text;
  for (const std::string& line : lines) text += line + (&line == &lines.back() ? "" : separator);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tolvi::fuzz::EnterOwnFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string raw = (data[0] & 3) == 3 ? std::string(64 * 1024 - data[0], 'p') : "";
  raw.append(reinterpret_cast<const char*>(data + 1), size - 1);
  tolvi::test::WriteFile(tolvi::kDefaultSentenceFile, raw);

  const Lines pieces = ReadAll(tolvi::kSentenceBytes);
  const Lines whole = ReadAll(static_cast<int>(raw.size()) + 2);
  for (const std::string& piece : pieces) Check(piece.size() < 80, "a piece is at most 79 bytes");
  if (raw.find('\0') == std::string::npos) {
    // The text as a text-mode read sees it: 0x1A ends it, CR LF reads as LF.
    std::string text = raw.substr(0, raw.find('\x1A'));
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    Check(Joined(whole, "\n") == text, "whole lines joined by LF are the text");
    Check(Joined(pieces, "") == Joined(whole, ""), "pieces join to the lines' bytes");
  }

  Check(tolvi::CountSentences() == 1, "the file counts");
  Check(tolvi::SentenceCount() == static_cast<int>(pieces.size()), "the count is the number of lines");
  for (std::uint32_t seed = data[0]; seed < data[0] + 4u; ++seed) {
    char sentence[tolvi::kSentenceBytes] = "unchanged";
    tolvi::SeedRandom(seed);
    const int picked = tolvi::rand15();
    tolvi::SeedRandom(seed);
    const int drawn = tolvi::DrawSentence(sentence);
    Check(drawn == !pieces.empty(), "a draw succeeds when there is a line");
    Check(sentence == (drawn ? pieces[picked % pieces.size()] : "unchanged"), "the draw is the picked line");
  }
  return 0;
}
