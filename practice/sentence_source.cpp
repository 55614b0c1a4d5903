// The sentence file: text-mode lines read in large blocks, counted and drawn.
#include "practice/sentence_source.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/byte_search.h"
#include "base/code_page.h"
#include "base/utf8_scan.h"
#include "practice/random.h"
#include "practice/settings.h"

namespace tolvi {
namespace {

constexpr char kEndOfText = 0x1A;
constexpr std::size_t kPieceBytes = kSentenceBytes - 1;

int g_line_count = 0;

// Whole characters of one line filling pieces of kPieceBytes: a character that does not
// fit begins the next piece.
class PieceFill {
 public:
  void Place(std::size_t width) {
    if (fill_ + width > kPieceBytes) {
      ++pieces_;
      fill_ = 0;
    }
    fill_ += width;
  }
  // A lead byte with no trail after it takes one byte, not two.
  void DropTrail() { --fill_; }
  // The line's count: ended by an LF, or by the end of the text.
  int End(bool by_line_feed) const {
    int pieces = pieces_ + (fill_ > 0);
    // An empty line is a line; after a full piece the reader meets the LF on its own.
    if (by_line_feed && (pieces == 0 || fill_ == kPieceBytes)) ++pieces;
    return pieces;
  }

 private:
  int pieces_ = 0;
  std::size_t fill_ = 0;
};

// The pieces of a UTF-8 line that lies whole before its LF (without the LF and a CR
// before it), counted from the width of each character in code page 932, which is all the
// cut needs: the line is not converted.
int PiecesOfWholeUtf8Line(std::string_view line) {
  PieceFill fill;
  std::size_t bytes;
  for (std::size_t i = 0; i < line.size(); i += bytes) {
    fill.Place(Cp932FormAt({line.data() + i, line.size() - i}, false, &bytes) > 0xFF ? 2 : 1);
  }
  return fill.End(true);
}

// The pieces of a line of ASCII and leads plain three-byte characters alone (as a scan
// finds them), without its LF and a CR before it. Its code page 932 is at most
// line.size() - leads bytes, each character that has no double-byte form one byte less;
// only as many characters are looked up as it takes to tell one piece from two.
int PiecesOfPlainUtf8Line(std::string_view line, std::size_t leads) {
  const std::size_t most = line.size() - leads;
  if (most < kPieceBytes) return 1;
  if (most > 2 * kPieceBytes - 2) return PiecesOfWholeUtf8Line(line);
  // From kPieceBytes bytes up to twice a piece less two, the line fills two pieces.
  const std::size_t singles_allowed = most - kPieceBytes;
  if (leads <= singles_allowed) return 2;
  const std::size_t doubles_wanted = leads - singles_allowed;
  static const std::uint64_t* const doubles = Cp932DoubleBitsOfBmp();
  const auto double_at = [](const unsigned char* s) -> std::size_t {
    const unsigned c = (s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
    return doubles[c >> 6] >> (c & 63) & 1;
  };
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  std::size_t seen = 0;
  std::size_t found = 0;
  while (found < doubles_wanted && seen - found <= singles_allowed) {
    if (*s < 0x80) {
      ++s;
      continue;
    }
    found += double_at(s);
    ++seen;
    s += 3;
  }
  return found < doubles_wanted ? 1 : 2;
}

// Each line of UTF-8 that lies whole between begin and end, before an LF, with its pieces,
// to each(pieces, line) until each returns true. Returns the end of the last line given, or
// null once each has returned true.
template <typename Each>
const char* ForEachUtf8Line(const char* begin, const char* end, Utf8Scan* scan, Each each) {
  ScanUtf8(begin, static_cast<std::size_t>(end - begin), scan);
  std::size_t start = 0;
  std::size_t leads_before_line = 0;
  std::size_t leads_before_word = 0;
  bool others_in_line = false;  // in the words before this one
  for (std::size_t w = 0; w < scan->line_feeds.size(); ++w) {
    const std::uint64_t leads = scan->leads[w];
    const std::uint64_t others = scan->others[w];
    std::uint64_t in_line = ~std::uint64_t{0};  // the bits of the line that ends next
    for (std::uint64_t feeds = scan->line_feeds[w]; feeds != 0; feeds &= feeds - 1) {
      const int bit = __builtin_ctzll(feeds);
      const std::uint64_t below = (std::uint64_t{1} << bit) - 1;
      const std::size_t lf = 64 * w + static_cast<std::size_t>(bit);
      const std::size_t leads_before = leads_before_word + CountBits(leads & below);
      std::string_view line(begin + start, lf - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // the CR of a CR LF
      int pieces = 1;
      if (line.size() >= kPieceBytes) {
        pieces = others_in_line || (others & in_line & below) != 0
                     ? PiecesOfWholeUtf8Line(line)
                     : PiecesOfPlainUtf8Line(line, leads_before - leads_before_line);
      }
      if (each(pieces, begin + start)) return nullptr;
      start = lf + 1;
      leads_before_line = leads_before;
      others_in_line = false;
      in_line = ~below << 1;
    }
    others_in_line = others_in_line || (others & in_line) != 0;
    leads_before_word += CountBits(leads);
  }
  return begin + start;
}

// The pieces of one line, fed its text in parts: a line that runs on past the window. A
// UTF-8 line is counted as the code page 932 it reads as.
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
      const std::uint16_t form =
          Cp932FormAt({rest.data() + i, rest.size() - i}, more_follows, &bytes);
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
    if (trail_due_) fill_.DropTrail();
    const int pieces = fill_.End(by_line_feed);
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
      fill_.Place(2);
    }
  }
  void PlaceByte(char byte) {
    if (trail_due_) {
      trail_due_ = false;
      return;
    }
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(byte)) ? 2 : 1;
    fill_.Place(width);
    trail_due_ = width == 2;
  }

  bool utf8_;
  std::string cut_off_;
  PieceFill fill_;
  bool trail_due_ = false;
  bool pending_cr_ = false;
  bool open_ = false;
};

// Some processors copy from the system's file cache at a third of the speed into a block
// that begins a few bytes into a cache line.
constexpr std::uintptr_t kCacheLineBytes = 64;
constexpr std::size_t kShortFileBytes = 4096;

}  // namespace

SentenceStream::SentenceStream(const char* path)
    : SentenceStream(File(std::fopen(path, "rb")), kSentenceBlockBytes) {}

SentenceStream::SentenceStream(File file, std::size_t block_bytes)
    : file_(std::move(file)),
      block_bytes_(block_bytes),
      block_storage_(new char[block_bytes + kCacheLineBytes]) {
  const auto start = reinterpret_cast<std::uintptr_t>(block_storage_.get());
  block_ = block_storage_.get() + (kCacheLineBytes - start % kCacheLineBytes) % kCacheLineBytes;
  DetectUtf8();
}

void SentenceStream::DetectUtf8() {
  if (!file_) return;
  // A short file is looked at where it is read; only a longer one takes a buffer as long
  // as the look.
  char start[kShortFileBytes];
  std::string_view head(start, std::fread(start, 1, sizeof start, file_.get()));
  std::unique_ptr<char[]> buffer;
  if (head.size() == sizeof start) {
    buffer.reset(new char[kUtf8SniffBytes]);
    std::memcpy(buffer.get(), start, sizeof start);
    const std::size_t rest =
        std::fread(buffer.get() + sizeof start, 1, kUtf8SniffBytes - sizeof start, file_.get());
    head = {buffer.get(), sizeof start + rest};
  }
  const bool bom = head.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  next_offset_ = bom ? static_cast<long long>(kByteOrderMark.size()) : 0;
  SeekFile(file_.get(), next_offset_);
  const std::size_t text_end = head.find(kEndOfText);
  const bool more_follows = text_end == std::string_view::npos && head.size() == kUtf8SniffBytes;
  head = head.substr(0, text_end);
  const bool ascii = std::all_of(head.begin(), head.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  utf8_ = bom || (!ascii && IsUtf8(head, more_follows));
}

std::string_view SentenceStream::ReadBlock() {
  std::size_t size = std::fread(block_, 1, block_bytes_, file_.get());
  block_offset_ = next_offset_;
  next_offset_ += static_cast<long long>(size);
  const char* stop = FindByte(block_, block_ + size, kEndOfText);
  text_over_ = stop < block_ + size || size == 0;
  size = static_cast<std::size_t>(stop - block_);
  return {block_, size};
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
  Utf8Scan scan;
  for (std::string_view window; !(window = stream.RawWindow()).empty();
       stream.Skip(window.size())) {
    const long long window_offset = stream.RawOffset();
    const auto offset_of = [&](const char* p) { return window_offset + (p - window.data()); };
    for (const char *p = window.data(), *end = p + window.size(); p < end;) {
      if (!line.open() && stream.is_utf8()) {
        // The lines that lie whole in the window, measured from a scan of their bytes.
        p = ForEachUtf8Line(p, end, &scan, [&](int pieces, const char* begin) {
          return holds_piece(pieces, offset_of(begin));
        });
        if (p == nullptr) return found;
        if (p == end) break;
      } else if (!line.open() && seen < piece) {
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
          found.offset = offset_of(p);
          found.pieces_before = piece;
          return found;
        }
      } else {
        if (!line.open()) line_offset = offset_of(p);
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
