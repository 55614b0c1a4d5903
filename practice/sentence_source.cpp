// The sentence file: text-mode lines read in large blocks, counted and drawn.
#include "practice/sentence_source.h"

#include <climits>
#include <cstring>

#include "base/byte_search.h"
#include "base/code_page.h"
#include "practice/random.h"
#include "practice/settings.h"

namespace tolvi {
namespace {

constexpr char kEndOfText = 0x1A;
constexpr std::size_t kPieceBytes = kSentenceBytes - 1;

int g_line_count = 0;

// The pieces of one line, fed its text in parts: whole characters fill pieces of
// kPieceBytes, and a character that does not fit begins the next piece.
class PieceCounter {
 public:
  bool open() const { return open_; }
  void Add(const char* text, std::size_t length) {
    open_ = true;
    for (std::size_t i = 0; i < length; ++i) {
      if (pending_cr_) Place('\r');
      pending_cr_ = text[i] == '\r';  // it may be the CR of a CR LF
      if (!pending_cr_) Place(text[i]);
    }
  }
  // The line's count: ended by an LF, or by the end of the text.
  int End(bool by_line_feed) {
    if (pending_cr_ && !by_line_feed) Place('\r');
    if (trail_due_) --fill_;  // a lead byte with no trail after it
    int pieces = pieces_ + (fill_ > 0);
    // An empty line is a line; after a full piece the reader meets the LF on its own.
    if (by_line_feed && (pieces == 0 || fill_ == kPieceBytes)) ++pieces;
    *this = PieceCounter();
    return pieces;
  }

 private:
  void Place(char byte) {
    if (trail_due_) {
      trail_due_ = false;
      return;
    }
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(byte)) ? 2 : 1;
    if (fill_ + width > kPieceBytes) {
      ++pieces_;
      fill_ = 0;
    }
    fill_ += width;
    trail_due_ = width == 2;
  }

  int pieces_ = 0;
  std::size_t fill_ = 0;
  bool trail_due_ = false;
  bool pending_cr_ = false;
  bool open_ = false;
};

}  // namespace

SentenceStream::SentenceStream(const char* path)
    : SentenceStream(File(std::fopen(path, "rb")), kSentenceBlockBytes) {}

SentenceStream::SentenceStream(File file, std::size_t block_bytes)
    : file_(std::move(file)), block_bytes_(block_bytes), block_(new char[block_bytes]) {}

std::string_view SentenceStream::Window() {
  if (pos_ == end_ && !text_over_ && file_) {
    pos_ = 0;
    end_ = std::fread(block_.get(), 1, block_bytes_, file_.get());
    const char* stop = FindByte(block_.get(), block_.get() + end_, kEndOfText);
    text_over_ = stop < block_.get() + end_ || end_ == 0;
    end_ = static_cast<std::size_t>(stop - block_.get());
  }
  return {block_.get() + pos_, end_ - pos_};
}

char* read_sentence_line(char* buffer, int capacity, SentenceStream& stream) {
  if (capacity <= 0 || !stream.is_open()) return nullptr;
  const std::size_t room = static_cast<std::size_t>(capacity) - 1;
  std::size_t stored = 0;
  bool read_any = false;
  while (stored < room) {
    const std::string_view part = stream.Window().substr(0, room - stored);
    if (part.empty()) break;
    read_any = true;
    const std::size_t lf = static_cast<std::size_t>(
        FindByte(part.data(), part.data() + part.size(), '\n') - part.data());
    if (lf < part.size()) {
      const std::size_t body = lf > 0 && part[lf - 1] == '\r' ? lf - 1 : lf;
      std::memcpy(buffer + stored, part.data(), body);
      buffer[stored + body] = '\0';
      stream.Skip(lf + 1);
      return buffer;
    }
    // A CR at the end of the part may pair with an LF beyond it.
    const bool ends_in_cr = part.back() == '\r';
    const std::size_t take = part.size() - ends_in_cr;
    std::memcpy(buffer + stored, part.data(), take);
    stored += take;
    stream.Skip(take);
    if (ends_in_cr) {
      stream.Skip(1);
      const std::string_view next = stream.Window();
      if (!next.empty() && next.front() == '\n') {
        stream.Skip(1);
        break;
      }
      buffer[stored++] = '\r';
    }
  }
  if (!read_any) return nullptr;
  // A cut by the capacity gives the split character's lead byte back to the next line.
  if (stored == room && WholeCharacterBytes(buffer, stored) < stored) {
    --stored;
    stream.Unread();
  }
  buffer[stored] = '\0';
  return buffer;
}

int CountLines(SentenceStream& stream) {
  long long count = 0;
  PieceCounter line;  // a line that runs on into the next block, or a long one
  for (std::string_view window; !(window = stream.Window()).empty(); stream.Skip(window.size())) {
    for (const char *p = window.data(), *end = p + window.size(); p < end;) {
      const char* lf = FindByte(p, end, '\n');
      const std::size_t length = static_cast<std::size_t>(lf - p);
      if (lf < end && !line.open() && length - (length > 0 && lf[-1] == '\r') < kPieceBytes) {
        ++count;  // the usual short line, one piece whatever its characters
      } else {
        line.Add(p, length);
        if (lf < end) count += line.End(true);
      }
      if (lf == end) break;
      p = lf + 1;
    }
  }
  count += line.End(false);
  return count < INT_MAX ? static_cast<int>(count) : INT_MAX;
}

int CountSentences() {
  SentenceStream stream(SentenceFileName());
  g_line_count = stream.is_open() ? CountLines(stream) : 0;
  return stream.is_open() ? 1 : 0;
}

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
