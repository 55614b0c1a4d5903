// The sentence file: text-mode lines read in large blocks, counted and drawn.
#include "practice/sentence_source.h"

#include <algorithm>
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
// kPieceBytes, and a character that does not fit begins the next piece. A UTF-8 line is
// counted as the code page 932 it reads as.
class PieceCounter {
 public:
  explicit PieceCounter(bool utf8) : utf8_(utf8) {}
  bool open() const { return open_; }
  // more_follows: the line may go on past this part.
  void Add(const char* text, std::size_t length, bool more_follows) {
    open_ = true;
    if (!utf8_) {
      for (std::size_t i = 0; i < length; ++i) Place(static_cast<unsigned char>(text[i]));
      return;
    }
    std::string_view rest(text, length);
    if (!cut_off_.empty()) {
      cut_off_.append(text, length);
      rest = cut_off_;
    }
    std::size_t i = 0;
    while (i < rest.size()) {
      std::size_t bytes;
      const std::uint16_t form = Cp932FormAt(rest.substr(i), more_follows, &bytes);
      if (bytes == 0) break;
      Place(form);
      i += bytes;
    }
    cut_off_ = std::string(rest.substr(i));
  }
  // The line's count: ended by an LF, or by the end of the text.
  int End(bool by_line_feed) {
    if (!cut_off_.empty()) Add("", 0, false);
    if (pending_cr_ && !by_line_feed) PlaceByte('\r');
    if (trail_due_) --fill_;  // a lead byte with no trail after it
    int pieces = pieces_ + (fill_ > 0);
    // An empty line is a line; after a full piece the reader meets the LF on its own.
    if (by_line_feed && (pieces == 0 || fill_ == kPieceBytes)) ++pieces;
    *this = PieceCounter(utf8_);
    return pieces;
  }

 private:
  // One byte, or in a UTF-8 line the code page 932 form of one character.
  void Place(std::uint16_t form) {
    if (pending_cr_) PlaceByte('\r');
    pending_cr_ = form == '\r';  // it may be the CR of a CR LF
    if (pending_cr_) return;
    if (form <= 0xFF) {
      PlaceByte(static_cast<char>(form));
    } else {
      PlaceWidth(2);
    }
  }
  void PlaceByte(char byte) {
    if (trail_due_) {
      trail_due_ = false;
      return;
    }
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(byte)) ? 2 : 1;
    PlaceWidth(width);
    trail_due_ = width == 2;
  }
  // A whole character of width bytes.
  void PlaceWidth(std::size_t width) {
    if (fill_ + width > kPieceBytes) {
      ++pieces_;
      fill_ = 0;
    }
    fill_ += width;
  }

  bool utf8_;
  std::string cut_off_;
  int pieces_ = 0;
  std::size_t fill_ = 0;
  bool trail_due_ = false;
  bool pending_cr_ = false;
  bool open_ = false;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

SentenceStream::SentenceStream(const char* path)
    : SentenceStream(File(std::fopen(path, "rb")), kSentenceBlockBytes) {}

SentenceStream::SentenceStream(File file, std::size_t block_bytes)
    : file_(std::move(file)), block_bytes_(block_bytes), block_(new char[block_bytes]) {
  DetectUtf8();
}

void SentenceStream::DetectUtf8() {
  if (!file_) return;
  std::string head(kUtf8SniffBytes, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file_.get()));
  const bool bom = head.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0;
  next_offset_ = bom ? static_cast<long long>(kByteOrderMark.size()) : 0;
  SeekFile(file_.get(), next_offset_);
  const std::size_t text_end = head.find(kEndOfText);
  const bool more_follows = text_end == std::string::npos && head.size() == kUtf8SniffBytes;
  head.resize(std::min(text_end, head.size()));
  const bool ascii = std::all_of(head.begin(), head.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  utf8_ = bom || (!ascii && IsUtf8(head, more_follows));
}

std::string_view SentenceStream::ReadBlock() {
  std::size_t size = std::fread(block_.get(), 1, block_bytes_, file_.get());
  block_offset_ = next_offset_;
  next_offset_ += static_cast<long long>(size);
  const char* stop = FindByte(block_.get(), block_.get() + size, kEndOfText);
  text_over_ = stop < block_.get() + size || size == 0;
  size = static_cast<std::size_t>(stop - block_.get());
  return {block_.get(), size};
}

std::string_view SentenceStream::RawWindow() {
  if (pos_ == end_ && !text_over_ && file_) {
    const std::string_view block = ReadBlock();
    data_ = block.data();
    pos_ = 0;
    end_ = block.size();
  }
  return {data_ + pos_, end_ - pos_};
}

void SentenceStream::Seek(long long offset) {
  if (!file_) return;
  SeekFile(file_.get(), offset);
  next_offset_ = offset;
  block_offset_ = offset;
  pos_ = 0;
  end_ = 0;
  text_over_ = false;
  cut_off_.clear();
}

std::string_view SentenceStream::Window() {
  if (!utf8_) return RawWindow();
  while (pos_ == end_ && !text_over_ && file_) {
    cut_off_.append(ReadBlock());
    converted_.clear();
    const std::size_t used = AppendCp932FromUtf8(cut_off_, converted_, !text_over_);
    cut_off_.erase(0, used);
    data_ = converted_.data();
    pos_ = 0;
    end_ = converted_.size();
  }
  return {data_ + pos_, end_ - pos_};
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

WholeLine FindWholeLine(SentenceStream& stream, long long piece) {
  WholeLine found;
  long long& seen = found.pieces_seen;
  long long line_offset = 0;  // where a line that runs on, or a long one, began
  // A line of n pieces, begun at offset, has gone by: whether it holds the piece.
  const auto holds_piece = [&](int n, long long offset) {
    seen += n;
    if (seen <= piece) return false;
    found.offset = offset;
    found.pieces_before = seen - n;
    return true;
  };
  PieceCounter line(stream.is_utf8());
  for (std::string_view window; !(window = stream.RawWindow()).empty();
       stream.Skip(window.size())) {
    const long long window_offset = stream.RawOffset();
    for (const char *p = window.data(), *end = p + window.size(); p < end;) {
      if (!line.open() && seen < piece) {
        // The usual short lines, one piece each, counted by their line feeds alone.
        long long skipped;
        p = SkipShortLines(p, end, kPieceBytes, piece - seen, &skipped);
        seen += skipped;
        if (p == end) break;
      }
      const char* lf = FindByte(p, end, '\n');
      const std::size_t length = static_cast<std::size_t>(lf - p);
      if (lf < end && !line.open() && length - (length > 0 && lf[-1] == '\r') < kPieceBytes) {
        // The usual short line, one piece whatever its characters.
        if (seen++ == piece) {
          found.offset = window_offset + (p - window.data());
          found.pieces_before = piece;
          return found;
        }
      } else {
        if (!line.open()) line_offset = window_offset + (p - window.data());
        line.Add(p, length, lf == end);
        if (lf < end && holds_piece(line.End(true), line_offset)) return found;
      }
      if (lf == end) break;
      p = lf + 1;
    }
  }
  holds_piece(line.End(false), line_offset);
  return found;
}

int CountLines(SentenceStream& stream) {
  const long long count = FindWholeLine(stream, LLONG_MAX).pieces_seen;
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
  // Only the drawn line is read, and converted: the lines before it are only counted. A
  // file shortened since it was counted gives its last line, or an empty one.
  WholeLine found = FindWholeLine(stream, drawn);
  if (found.offset < 0 && found.pieces_seen > 0) {
    stream = SentenceStream(SentenceFileName());
    found = FindWholeLine(stream, found.pieces_seen - 1);
  }
  char line[kSentenceBytes] = "";
  if (found.offset >= 0) {
    stream.Seek(found.offset);
    for (long long i = found.pieces_before; i <= drawn; ++i) {
      if (!read_sentence_line(line, kSentenceBytes, stream)) break;
    }
  }
  std::memcpy(destination, line, kSentenceBytes);
  return 1;
}

}  // namespace tolvi
