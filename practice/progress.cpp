// Reading history.csv back: each line checked field by field and either taken as a game or
// counted as skipped, in blocks, with only the last games, the sums and the missed
// characters' counts kept.
#include "practice/progress.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

#include "base/code_page.h"
#include "base/file.h"
#include "base/separator_scan.h"
#include "base/text_format.h"
#include "base/utf8_scan.h"
#include "practice/game.h"
#include "practice/history.h"

namespace tolvi {
namespace {

constexpr int kFields = 7;
// The longest game: four sentences of 79 bytes, less four.
constexpr std::int64_t kLongestGame = 4 * 79 - 4;
constexpr std::int64_t kShortestGame = -4;
constexpr std::size_t kRing = kChartGames + kAverageGames - 1;
constexpr std::size_t kFirstBlockBytes = 4096;
constexpr std::size_t kCacheLineBytes = 64;

// A field of a line: its text between any quotes, where that begins in the block, and
// whether it held a doubled quote. Set whole by the split, so that a line's fields cost no
// clearing.
struct Field {
  std::string_view text;
  std::size_t at;
  bool quoted;
  bool escaped;
};

// The line as the history writes it: six commas, then the last field in quotes, with no
// other quote. Split from its bits alone; false for any other line.
bool SplitWrittenLine(const char* text, const SeparatorScan& scan, std::size_t from, std::size_t to,
                      Field (&fields)[kFields]) {
  std::size_t comma[kFields] = {};
  std::size_t commas = 0;
  std::size_t quotes = 0;
  std::size_t first_quote = 0;
  for (std::size_t w = from / 64; w * 64 < to; ++w) {
    std::uint64_t in_line = ~std::uint64_t{0} << (w == from / 64 ? from % 64 : 0);
    if ((w + 1) * 64 > to) in_line &= (std::uint64_t{1} << (to % 64)) - 1;
    const std::uint64_t quote_bits = scan.words[w].quotes & in_line;
    if (quotes == 0 && quote_bits != 0) {
      first_quote = w * 64 + static_cast<std::size_t>(__builtin_ctzll(quote_bits));
    }
    quotes += static_cast<std::size_t>(CountBits(quote_bits));
    for (std::uint64_t bits = scan.words[w].commas & in_line; bits != 0 && commas < kFields - 1;
         bits &= bits - 1) {
      comma[commas++] = w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
    }
  }
  // The sixth comma, then the opening quote; the closing one ends the line, and the commas
  // after the opening one are the last field's.
  if (quotes != 2 || commas != kFields - 1 || comma[5] + 2 >= to || first_quote != comma[5] + 1 ||
      text[to - 1] != '"') {
    return false;
  }
  std::size_t start = from;
  for (int i = 0; i < kFields - 1; ++i) {
    fields[i] = {{text + start, comma[i] - start}, start, false, false};
    start = comma[i] + 1;
  }
  fields[kFields - 1] = {{text + start + 1, to - start - 2}, start + 1, true, false};
  return true;
}

// Splits the line [from, to) of text at its commas, quotes taken as RFC 4180 has them, from
// the scan of its separators. False unless there are exactly kFields fields, each quoted one
// quoted from its first byte to its last.
bool SplitFields(const char* text, const SeparatorScan& scan, std::size_t from, std::size_t to,
                 Field (&fields)[kFields]) {
  if (SplitWrittenLine(text, scan, from, to, fields)) return true;
  int count = 0;
  std::size_t start = from;
  int quotes = 0;  // in the field so far
  bool in_quotes = false;
  const auto end_field = [&](std::size_t end) {
    if (count == kFields) return false;
    Field& field = fields[count++];
    const std::size_t length = end - start;
    field.text = {text + start, length};
    field.at = start;
    field.quoted = false;
    field.escaped = false;
    if (quotes > 0) {
      if (quotes % 2 != 0 || length < 2 || text[start] != '"' || text[end - 1] != '"') {
        return false;
      }
      field.text = {text + start + 1, length - 2};
      field.at = start + 1;
      field.quoted = true;
      field.escaped = quotes > 2;
    }
    quotes = 0;
    return true;
  };
  for (std::size_t w = from / 64; w * 64 < to; ++w) {
    std::uint64_t bits = scan.words[w].commas | scan.words[w].quotes;
    if (w == from / 64) bits &= ~std::uint64_t{0} << (from % 64);
    if ((w + 1) * 64 > to) bits &= (std::uint64_t{1} << (to % 64)) - 1;
    for (; bits != 0; bits &= bits - 1) {
      const std::size_t at = w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
      if (text[at] == '"') {
        in_quotes = !in_quotes;
        ++quotes;
      } else if (!in_quotes) {
        if (!end_field(at)) return false;
        start = at + 1;
      }
    }
  }
  return !in_quotes && end_field(to) && count == kFields;
}

// The value of count bytes of digits.
std::uint64_t ValueOf(const char* digits, std::size_t count) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < count; ++i)
    value = value * 10 + static_cast<unsigned>(digits[i] - '0');
  return value;
}

// A whole number of one to ten digits, perhaps negative.
bool ReadInteger(const Field& field, const SeparatorScan& scan, std::int64_t* value) {
  const bool minus = !field.text.empty() && field.text[0] == '-';
  const std::size_t count = field.text.size() - minus;
  if (count == 0 || count > 10 ||
      BitsAt(scan, &ByteKinds::digits, field.at + minus, count) !=
          (std::uint64_t{1} << count) - 1) {
    return false;
  }
  const auto magnitude = static_cast<std::int64_t>(ValueOf(field.text.data() + minus, count));
  *value = minus ? -magnitude : magnitude;
  return true;
}

// Digits, a point and digits, perhaps negative, as the history writes its seconds and
// speeds (a spreadsheet may leave the point out): at most nine digits before the point, so
// below a billion, and six after it. No exponent, NaN or infinity. Where the point is.
struct Decimal {
  bool minus = false;
  std::size_t point = 0;  // in the digits after any minus; their count when there is none
};

bool ReadDecimal(const Field& field, const SeparatorScan& scan, Decimal* decimal) {
  decimal->minus = !field.text.empty() && field.text[0] == '-';
  const std::size_t count = field.text.size() - decimal->minus;
  if (count == 0 || count > 16) return false;
  const std::uint64_t others = ~BitsAt(scan, &ByteKinds::digits, field.at + decimal->minus, count) &
                               ((std::uint64_t{1} << count) - 1);
  if (others == 0) {
    decimal->point = count;
    return count <= 9;
  }
  decimal->point = static_cast<std::size_t>(__builtin_ctzll(others));
  return (others & (others - 1)) == 0 && field.text[decimal->minus + decimal->point] == '.' &&
         decimal->point >= 1 && decimal->point <= 9 && count - decimal->point - 1 >= 1 &&
         count - decimal->point - 1 <= 6;
}

double ValueOf(std::string_view text, const Decimal& decimal) {
  const std::string_view digits = text.substr(decimal.minus);
  std::uint64_t value = ValueOf(digits.data(), decimal.point);
  double scale = 1;
  for (std::size_t i = decimal.point + 1; i < digits.size(); ++i) {
    value = value * 10 + static_cast<unsigned>(digits[i] - '0');
    scale *= 10;
  }
  // One division of two exact doubles: the double nearest to the decimal.
  const double magnitude = static_cast<double>(value) / scale;
  return decimal.minus ? -magnitude : magnitude;
}

// Whether [at, at + count) of text is well-formed UTF-8: ASCII, kana and kanji by their bits
// alone, anything else by the thorough check.
bool IsUtf8Field(const char* text, const SeparatorScan& scan, std::size_t at, std::size_t count) {
  if (count > 62) return IsUtf8({text + at, count}, false);
  const std::uint64_t high = BitsAt(scan, &ByteKinds::high, at, count);
  if (high == 0) return true;
  const std::uint64_t leads = BitsAt(scan, &ByteKinds::plain_leads, at, count);
  const std::uint64_t trails = leads << 1 | leads << 2;
  return ((leads | trails) == high &&
          BitsAt(scan, &ByteKinds::continuations, at, count) == trails) ||
         IsUtf8({text + at, count}, false);
}

// A text field as the history writes it (a line has no control character), each quote
// inside it doubled, made single in *text; well-formed UTF-8 where it is not ASCII.
bool TakeText(const Field& field, const SeparatorScan& scan, std::string* scratch,
              std::string_view* text) {
  *text = field.text;
  if (field.escaped) {
    scratch->clear();
    for (std::size_t i = 0; i < field.text.size(); ++i) {
      *scratch += field.text[i];
      if (field.text[i] != '"') continue;
      if (i + 1 == field.text.size() || field.text[i + 1] != '"') return false;
      ++i;
    }
    *text = *scratch;
  }
  return field.escaped
             ? IsUtf8(*text, false)
             : IsUtf8Field(field.text.data() - field.at, scan, field.at, field.text.size());
}

// The code point of the well-formed UTF-8 character at text[*at], which moves past it.
std::uint32_t NextCodePoint(std::string_view text, std::size_t* at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[*at + i]); };
  const unsigned lead = byte(0);
  std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  std::uint32_t c = bytes == 1 ? lead : lead & (0x7Fu >> bytes);
  for (std::size_t i = 1; i < bytes; ++i) c = c << 6 | (byte(i) & 0x3Fu);
  *at += bytes;
  return c;
}

std::size_t CountCharacters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// One game's line, checked; its two decimals are read only for a game that is taken.
struct Record {
  std::string_view date;
  std::string_view player;
  std::int64_t length;
  std::string_view seconds;
  Decimal seconds_shape;
  std::string_view speed;
  Decimal speed_shape;
  std::int64_t misses;
  std::string_view missed;  // without the apostrophe that keeps it from being a formula
};

// What reading a line needs beyond the line: room for a text whose quotes are made single.
struct Scratch {
  std::string player;
  std::string missed;
};

bool ParseRecord(const char* text, const SeparatorScan& scan, std::size_t from, std::size_t to,
                 Scratch* scratch, Record* record) {
  // A control character, a NUL among them, belongs to no field of any game.
  if (AnyBitIn(scan, &ByteKinds::controls, from, to)) return false;
  Field fields[kFields];
  if (!SplitFields(text, scan, from, to, fields)) return false;
  for (int i : {0, 2, 3, 4, 5}) {
    if (fields[i].escaped) return false;
  }
  record->date = fields[0].text;
  if (!IsIsoDate(record->date, static_cast<std::uint32_t>(BitsAt(
                                   scan, &ByteKinds::digits, fields[0].at, record->date.size())))) {
    return false;
  }
  if (!TakeText(fields[1], scan, &scratch->player, &record->player)) {
    return false;
  }
  if (!ReadInteger(fields[2], scan, &record->length) || record->length < kShortestGame ||
      record->length > kLongestGame) {
    return false;
  }
  record->seconds = fields[3].text;
  if (!ReadDecimal(fields[3], scan, &record->seconds_shape) || record->seconds_shape.minus) {
    return false;
  }
  // A speed is the length in a time, so it has the length's sign.
  record->speed = fields[4].text;
  if (!ReadDecimal(fields[4], scan, &record->speed_shape) ||
      record->speed_shape.minus != (record->length < 0)) {
    return false;
  }
  if (!ReadInteger(fields[5], scan, &record->misses) || record->misses < 0 ||
      record->misses > INT32_MAX) {
    return false;
  }
  if (!TakeText(fields[6], scan, &scratch->missed, &record->missed)) {
    return false;
  }
  if (!record->missed.empty() && record->missed[0] == '\'') record->missed.remove_prefix(1);
  // Each wrong entry misses one character at most.
  return CountCharacters(record->missed) <= static_cast<std::size_t>(record->misses);
}

// How often each character was missed, in a table that grows with the characters seen,
// never with the games.
class MissedCounts {
 public:
  void Add(std::uint32_t c) {
    if (2 * (used_ + 1) > slots_.size()) Grow();
    MissedCount& slot = Find(c);
    if (slot.count == 0) {
      slot.character = c;
      ++used_;
    }
    ++slot.count;
  }
  const std::vector<MissedCount>& slots() const { return slots_; }

 private:
  MissedCount& Find(std::uint32_t c) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = (c * 0x9E3779B1u) & mask;
    while (slots_[i].count != 0 && slots_[i].character != c) i = (i + 1) & mask;
    return slots_[i];
  }
  void Grow() {
    std::vector<MissedCount> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : 2 * old.size(), MissedCount());
    for (const MissedCount& slot : old) {
      if (slot.count != 0) Find(slot.character) = slot;
    }
  }

  std::vector<MissedCount> slots_;
  std::size_t used_ = 0;
};

class ProgressReader {
 public:
  explicit ProgressReader(std::string_view player)
      : player_(player), every_player_(player.empty()) {}

  // The line [from, to) of text, without its line feed.
  void Line(const char* text, const SeparatorScan& scan, std::size_t from, std::size_t to) {
    // Every CR at the end: a line torn after its CR gets its LF from the next append.
    while (to > from && text[to - 1] == '\r') --to;
    const std::size_t mark = kByteOrderMark.size();
    if (to - from >= mark && std::memcmp(text + from, kByteOrderMark.data(), mark) == 0) {
      from += mark;
    }
    if (from == to) return;
    Record record;
    if (!ParseRecord(text, scan, from, to, &scratch_, &record)) {
      if (std::string_view(text + from, to - from) != kHistoryHeader) ++progress_.skipped_lines;
      return;
    }
    if (every_player_ || record.player == player_) Take(record);
  }

  void Skipped() { ++progress_.skipped_lines; }

  Progress Finish() {
    Progress& p = progress_;
    const std::int64_t n = p.games;
    const std::int64_t shown = std::min<std::int64_t>(n, kChartGames);
    const auto speed_at = [&](std::int64_t i) {
      return ring_[static_cast<std::size_t>(i) % kRing].speed;
    };
    for (std::int64_t i = n - shown; i < n; ++i) {
      p.recent.push_back(ring_[static_cast<std::size_t>(i) % kRing]);
      double sum = 0;
      const std::int64_t from = std::max<std::int64_t>(0, i - (kAverageGames - 1));
      for (std::int64_t j = from; j <= i; ++j) sum += speed_at(j);
      p.averages.push_back(sum / static_cast<double>(i - from + 1));
    }
    const auto mean_of = [&](std::int64_t from, std::int64_t to, int* count) {
      double sum = 0;
      for (std::int64_t j = from; j < to; ++j) sum += speed_at(j);
      *count = static_cast<int>(to - from);
      return *count > 0 ? sum / *count : 0.0;
    };
    const std::int64_t recent_from = std::max<std::int64_t>(0, n - kAverageGames);
    p.recent_mean = mean_of(recent_from, n, &p.recent_count);
    p.earlier_mean = mean_of(std::max<std::int64_t>(0, recent_from - kAverageGames), recent_from,
                             &p.earlier_count);
    PickMostMissed();
    return std::move(progress_);
  }

 private:
  void Take(const Record& record) {
    Progress& p = progress_;
    ProgressGame& game = ring_[static_cast<std::size_t>(p.games) % kRing];
    const double speed = ValueOf(record.speed, record.speed_shape);
    game.speed = speed;
    game.misses = static_cast<std::int32_t>(record.misses);
    game.date.fill('\0');
    record.date.copy(game.date.data(), game.date.size() - 1);
    p.best_speed = p.games == 0 ? speed : std::max(p.best_speed, speed);
    ++p.games;
    p.total_seconds += ValueOf(record.seconds, record.seconds_shape);
    p.total_misses += record.misses;
    for (std::size_t at = 0; at < record.missed.size();)
      missed_.Add(NextCodePoint(record.missed, &at));
  }

  // The most missed first; among equal counts, the lower code point.
  void PickMostMissed() {
    std::vector<MissedCount>& most = progress_.most_missed;
    const auto before = [](const MissedCount& a, const MissedCount& b) {
      return a.count > b.count || (a.count == b.count && a.character < b.character);
    };
    for (const MissedCount& slot : missed_.slots()) {
      if (slot.count == 0) continue;
      if (most.size() == kMostMissed && !before(slot, most.back())) continue;
      most.insert(std::upper_bound(most.begin(), most.end(), slot, before), slot);
      if (most.size() > kMostMissed) most.pop_back();
    }
  }

  std::string player_;
  bool every_player_;
  Progress progress_;
  std::array<ProgressGame, kRing> ring_{};
  MissedCounts missed_;
  Scratch scratch_;
};

std::string Fill(const char* format, std::initializer_list<std::string_view> values) {
  std::string text;
  auto value = values.begin();
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's' && value != values.end()) {
      text += *value++;
      ++p;
    } else {
      text += *p;
    }
  }
  return text;
}

std::string SpeedText(double speed) {
  char text[kSpeedTextBytes];
  FormatSpeedText(speed, text, sizeof text);
  return text;
}

// H:MM:SS, the hours as many as there are.
std::string DurationText(double seconds) {
  const auto whole = static_cast<long long>(std::llround(seconds));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  return text;
}

}  // namespace

Progress ReadProgress(std::FILE* file, std::string_view player_field) {
  ProgressReader reader(player_field);
  if (file == nullptr) return reader.Finish();
  // A short history is read on the stack; a longer one in blocks. The part of a line that a
  // block's end cut off goes just before the next block, which the file's cache copies into
  // at the start of a cache line: some processors copy at a third of the speed elsewhere.
  alignas(kCacheLineBytes) char small[2 * kFirstBlockBytes];
  std::unique_ptr<char[]> large;
  char* block = small + kFirstBlockBytes;
  std::size_t block_bytes = kFirstBlockBytes;
  std::size_t kept = 0;
  bool overlong = false;  // in a line too long to be a game's, till its line feed
  SeparatorScan scan;
  for (std::size_t read; (read = std::fread(block, 1, block_bytes, file)) > 0;) {
    char* const text = block - kept;
    const std::size_t size = kept + read;
    ScanSeparators(text, size, &scan);
    std::size_t start = 0;
    for (std::size_t w = 0; w * 64 < size; ++w) {
      for (std::uint64_t feeds = scan.words[w].line_feeds; feeds != 0; feeds &= feeds - 1) {
        const std::size_t lf = w * 64 + static_cast<std::size_t>(__builtin_ctzll(feeds));
        if (overlong) {
          overlong = false;
          reader.Skipped();
        } else {
          reader.Line(text, scan, start, lf);
        }
        start = lf + 1;
      }
    }
    kept = size - start;
    if (kept >= kHistoryLineBytes || overlong) {
      overlong = overlong || kept >= kHistoryLineBytes;
      kept = 0;
    }
    if (block == small + kFirstBlockBytes && read == block_bytes) {
      // Room for a line's start before each block, the block itself, and a cache line over.
      large.reset(new char[2 * kHistoryLineBytes + kCacheLineBytes]);
      const auto at = reinterpret_cast<std::uintptr_t>(large.get()) % kCacheLineBytes;
      block = large.get() + (kCacheLineBytes - at) % kCacheLineBytes + kHistoryLineBytes;
      block_bytes = kHistoryLineBytes;
    }
    std::memmove(block - kept, text + start, kept);
  }
  // The last line, without a line feed: a torn one fails its checks.
  if (overlong) {
    reader.Skipped();
  } else if (kept > 0) {
    ScanSeparators(block - kept, kept, &scan);
    reader.Line(block - kept, scan, 0, kept);
  }
  return reader.Finish();
}

Progress ReadProgress(std::string_view player_cp932) {
  const File file{std::fopen(kHistoryFile, "rb")};
  return ReadProgress(file.get(), player_cp932.empty() ? "" : HistoryPlayer(player_cp932));
}

ProgressTexts ProgressTextsOf(const Progress& progress, const ProgressFormats& formats) {
  ProgressTexts texts;
  texts.empty = progress.games == 0;
  texts.games = std::to_string(progress.games);
  texts.best = texts.empty ? formats.none : SpeedText(progress.best_speed);
  texts.recent_mean = progress.recent_count > 0 ? SpeedText(progress.recent_mean) : formats.none;
  texts.earlier_mean = progress.earlier_count > 0 ? SpeedText(progress.earlier_mean) : formats.none;
  texts.total_time = DurationText(progress.total_seconds);
  texts.misses = std::to_string(progress.total_misses);
  for (const MissedCount& missed : progress.most_missed) {
    if (!texts.most_missed.empty()) texts.most_missed += formats.missed_separator;
    std::string character;
    AppendUtf8(missed.character, character);
    texts.most_missed += Fill(formats.missed_item, {character, std::to_string(missed.count)});
  }
  if (texts.most_missed.empty()) texts.most_missed = formats.none;
  if (texts.empty) {
    texts.period = formats.none;
  } else {
    // The days of the first and the last game the chart shows.
    const std::string_view first(progress.recent.front().date.data(), 10);
    const std::string_view last(progress.recent.back().date.data(), 10);
    texts.period = first == last ? std::string(first) : Fill(formats.period, {first, last});
  }
  if (progress.skipped_lines > 0) texts.skipped = std::to_string(progress.skipped_lines);
  return texts;
}

}  // namespace tolvi
