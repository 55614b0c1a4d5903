// Reading, counting and drawing lines of the sentence file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

#include "practice/file.h"

namespace tolvi {

constexpr int kSentenceBytes = 80;

// A sentence file opened in binary, read in large blocks and handed out with the
// line-ending rules of a text-mode read: CR LF reads as LF, a lone CR stays, and
// 0x1A ends the text. Every build reads every file alike this way.
class SentenceStream {
 public:
  explicit SentenceStream(const char* path);
  bool is_open() const { return file_ != nullptr; }

 private:
  friend char* read_sentence_line(char* buffer, int capacity, SentenceStream& stream);
  bool Refill();
  int Peek();  // the next byte without taking it, or EOF

  File file_;
  std::vector<char> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool text_over_ = false;
};

// One line, without its LF, cut to capacity - 1 bytes; the rest of a cut line is the
// next line. Returns buffer, or nullptr when the text ended before any byte.
char* read_sentence_line(char* buffer, int capacity, SentenceStream& stream);

// Counts the lines of the sentence file. 1, or 0 when it cannot be opened (count 0).
int CountSentences();
int SentenceCount();

// Copies a random line, of the latest count, into an 80-byte destination.
// 1, or 0 when the file cannot be opened or holds no line (destination unchanged).
int DrawSentence(char* destination);

}  // namespace tolvi
