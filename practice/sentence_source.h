// Reading, counting and drawing lines of the sentence file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "base/file.h"

namespace tolvi {

constexpr int kSentenceBytes = 80;
constexpr std::size_t kSentenceBlockBytes = 64 * 1024;
// How much of a file's start decides whether it is UTF-8.
constexpr std::size_t kUtf8SniffBytes = 64 * 1024;

// A sentence file opened in binary, read in blocks and handed out with the line-ending
// rules of a text-mode read: CR LF reads as LF, a lone CR stays, and 0x1A ends the
// text. Every build reads every file alike this way.
// A file is UTF-8 when it begins with the byte-order mark (which is not text), or when
// the text of its first kUtf8SniffBytes holds non-ASCII bytes, all of well-formed UTF-8;
// any other file is code page 932 bytes.
class SentenceStream {
 public:
  explicit SentenceStream(const char* path);
  // Any open stream (tests give one in memory), read in blocks of block_bytes.
  SentenceStream(File file, std::size_t block_bytes);
  bool is_open() const { return file_ != nullptr; }
  bool is_utf8() const { return utf8_; }

  // The unread text of the current block as code page 932, the next block once it is
  // used up, and empty at the end of the text.
  std::string_view Window();
  // The same as the file holds it, UTF-8 unconverted. A stream is read by one of the two.
  std::string_view RawWindow();
  // Where in the file the raw window begins.
  long long RawOffset() const { return block_offset_ + static_cast<long long>(pos_); }
  // Goes back or on to a byte of the file, from which the next window begins.
  void Seek(long long offset);
  void Skip(std::size_t bytes) { pos_ += bytes; }
  // Gives back the last byte taken; it must be of the current block.
  void Unread() { --pos_; }

 private:
  void DetectUtf8();
  // The next block of the file, cut at the end of the text.
  std::string_view ReadBlock();

  File file_;
  std::size_t block_bytes_;
  std::unique_ptr<char[]> block_storage_;
  char* block_;  // in block_storage_, at a cache line's start
  std::string converted_;
  std::string cut_off_;  // a UTF-8 character that the block's end cut in two
  const char* data_ = nullptr;
  long long block_offset_ = 0;
  long long next_offset_ = 0;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool text_over_ = false;
  bool utf8_ = false;
};

// One line, without its LF, cut to capacity - 1 bytes, or a byte less where the cut
// would split a double-byte character; the rest of a cut line is the next line.
// Returns buffer, or nullptr when the text ended before any byte.
char* read_sentence_line(char* buffer, int capacity, SentenceStream& stream);

// The lines read_sentence_line gives with an 80-byte buffer, counted without reading them.
int CountLines(SentenceStream& stream);

// The whole line of the file that holds a line (piece) of read_sentence_line's, found by
// counting: where it begins, and how many pieces the lines before it hold.
struct WholeLine {
  long long offset = -1;  // -1 when the text ends before the piece
  long long pieces_before = 0;
  long long pieces_seen = 0;  // the pieces counted, its own included
};
WholeLine FindWholeLine(SentenceStream& stream, long long piece);

// Counts the lines of the sentence file. 1, or 0 when it cannot be opened (count 0).
int CountSentences();

// Copies a random line, of the latest count, into an 80-byte destination.
// 1, or 0 when the file cannot be opened or holds no line (destination unchanged).
int DrawSentence(char* destination);

}  // namespace tolvi
