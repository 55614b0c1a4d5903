// The sentence file: text-mode lines read in large blocks, counted and drawn.
#include "practice/sentence_source.h"

#include <climits>
#include <cstring>

#include "practice/random.h"
#include "practice/settings.h"

namespace tolvi {
namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr char kEndOfText = 0x1A;

int g_line_count = 0;

}  // namespace

SentenceStream::SentenceStream(const char* path) : file_(std::fopen(path, "rb")) {
  if (file_) block_.resize(kBlockBytes);
}

bool SentenceStream::Refill() {
  if (text_over_ || !file_) return false;
  pos_ = 0;
  end_ = std::fread(block_.data(), 1, block_.size(), file_.get());
  if (const void* stop = std::memchr(block_.data(), kEndOfText, end_)) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(stop) - block_.data());
    text_over_ = true;
  } else if (end_ == 0) {
    text_over_ = true;
  }
  return end_ > 0;
}

int SentenceStream::Peek() {
  if (pos_ == end_ && !Refill()) return EOF;
  return static_cast<unsigned char>(block_[pos_]);
}

char* read_sentence_line(char* buffer, int capacity, SentenceStream& stream) {
  if (capacity <= 0 || !stream.is_open()) return nullptr;
  const std::size_t room = static_cast<std::size_t>(capacity) - 1;
  std::size_t stored = 0;
  bool read_any = false;
  while (stored < room) {
    if (stream.Peek() == EOF) break;
    read_any = true;
    const char* window = stream.block_.data() + stream.pos_;
    const std::size_t avail = stream.end_ - stream.pos_;
    const std::size_t width = avail < room - stored ? avail : room - stored;
    if (const void* found = std::memchr(window, '\n', width)) {
      const std::size_t before_lf = static_cast<std::size_t>(static_cast<const char*>(found) - window);
      const std::size_t body = before_lf > 0 && window[before_lf - 1] == '\r' ? before_lf - 1 : before_lf;
      std::memcpy(buffer + stored, window, body);
      stored += body;
      stream.pos_ += before_lf + 1;
      break;
    }
    // A CR at the end of the window may pair with an LF beyond it.
    const bool ends_in_cr = window[width - 1] == '\r';
    const std::size_t take = ends_in_cr ? width - 1 : width;
    std::memcpy(buffer + stored, window, take);
    stored += take;
    stream.pos_ += take;
    if (ends_in_cr) {
      ++stream.pos_;
      if (stream.Peek() == '\n') {
        ++stream.pos_;
        break;
      }
      buffer[stored++] = '\r';
    }
  }
  if (!read_any) return nullptr;
  buffer[stored] = '\0';
  return buffer;
}

int CountSentences() {
  g_line_count = 0;
  SentenceStream stream(SentenceFileName());
  if (!stream.is_open()) return 0;
  char line[kSentenceBytes];
  while (read_sentence_line(line, kSentenceBytes, stream)) {
    if (g_line_count == INT_MAX) break;
    ++g_line_count;
  }
  return 1;
}

int SentenceCount() { return g_line_count; }

int DrawSentence(char* destination) {
  if (g_line_count < 1) return 0;
  SentenceStream stream(SentenceFileName());
  if (!stream.is_open()) return 0;
  const int drawn = rand15() % g_line_count;
  // A file shortened since it was counted gives its last line, or an empty one.
  char line[kSentenceBytes] = "";
  for (int i = 0; i <= drawn; ++i) {
    if (!read_sentence_line(line, kSentenceBytes, stream)) break;
  }
  std::memcpy(destination, line, kSentenceBytes);
  return 1;
}

}  // namespace tolvi
