// Reading, counting and drawing lines of the sentence file.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "base/file.h"

namespace tolvi {

constexpr int kSentenceBytes = 80;
constexpr std::size_t kSentenceBlockBytes = 64 * 1024;

// A sentence file opened in binary, read in blocks and handed out with the line-ending
// rules of a text-mode read: CR LF reads as LF, a lone CR stays, and 0x1A ends the
// text. Every build reads every file alike this way.
class SentenceStream {
 public:
  explicit SentenceStream(const char* path);
  // Any open stream (tests give one in memory), read in blocks of block_bytes.
  SentenceStream(File file, std::size_t block_bytes);
  bool is_open() const { return file_ != nullptr; }

  // The unread text of the current block, the next block once it is used up, and
  // empty at the end of the text.
  std::string_view Window();
  void Skip(std::size_t bytes) { pos_ += bytes; }
  // Gives back the last byte taken; it must be of the current block.
  void Unread() { --pos_; }

 private:
  File file_;
  std::size_t block_bytes_;
  std::unique_ptr<char[]> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool text_over_ = false;
};

// One line, without its LF, cut to capacity - 1 bytes, or a byte less where the cut
// would split a double-byte character; the rest of a cut line is the next line.
// Returns buffer, or nullptr when the text ended before any byte.
char* read_sentence_line(char* buffer, int capacity, SentenceStream& stream);

// The lines read_sentence_line gives with an 80-byte buffer, counted without reading them.
int CountLines(SentenceStream& stream);

// Counts the lines of the sentence file. 1, or 0 when it cannot be opened (count 0).
int CountSentences();

// Copies a random line, of the latest count, into an 80-byte destination.
// 1, or 0 when the file cannot be opened or holds no line (destination unchanged).
int DrawSentence(char* destination);

}  // namespace tolvi
