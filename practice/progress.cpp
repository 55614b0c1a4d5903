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
#include "base/text_format.h"
#include "practice/game.h"
#include "practice/history.h"

namespace tolvi {
namespace {

constexpr int kFields = 7;
// The longest game: four sentences of 79 bytes, less four.
constexpr std::int64_t kLongestGame = 4 * 79 - 4;
constexpr std::int64_t kShortestGame = -4;
// A bound far past any real game, so a garbled number is not summed.
constexpr double kMostSecondsOrSpeed = 1e9;
constexpr std::size_t kRing = kChartGames + kAverageGames - 1;
constexpr std::size_t kFirstBlockBytes = 4096;

// A field of a line: its text between any quotes, and whether it held a doubled quote.
struct Field {
  std::string_view text;
  bool quoted = false;
  bool escaped = false;
};

// Splits the line at its commas, quotes taken as RFC 4180 has them. False unless there are
// exactly kFields fields, each quoted field closed right before a comma or the end.
bool SplitFields(const char* p, const char* end, Field (&fields)[kFields]) {
  int count = 0;
  for (;;) {
    if (count == kFields) return false;
    Field& field = fields[count++];
    if (p < end && *p == '"') {
      const char* start = ++p;
      for (;;) {
        p = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
        if (p == nullptr) return false;
        if (p + 1 < end && p[1] == '"') {
          field.escaped = true;
          p += 2;
          continue;
        }
        break;
      }
      field.text = {start, static_cast<std::size_t>(p - start)};
      field.quoted = true;
      if (++p == end) break;
      if (*p++ != ',') return false;
    } else {
      const char* comma = p;
      while (comma < end && *comma != ',') ++comma;
      field.text = {p, static_cast<std::size_t>(comma - p)};
      if (comma == end) break;
      p = comma + 1;
    }
  }
  return count == kFields;
}

// A whole number of at most ten digits, perhaps negative.
bool ParseInteger(std::string_view text, std::int64_t* value) {
  const bool minus = !text.empty() && text[0] == '-';
  text.remove_prefix(minus);
  if (text.empty() || text.size() > 10) return false;
  std::int64_t n = 0;
  for (const char c : text) {
    const unsigned digit = static_cast<unsigned char>(c) - '0';
    if (digit > 9) return false;
    n = n * 10 + digit;
  }
  *value = minus ? -n : n;
  return true;
}

// Digits, a point and digits, perhaps negative, as the history writes its seconds and
// speeds; a spreadsheet may leave the point out. No exponent, NaN or infinity.
bool ParseDecimal(std::string_view text, double* value) {
  const std::size_t point = text.find('.');
  std::int64_t whole = 0;
  const std::string_view whole_text = text.substr(0, point);
  if (whole_text == "-" || !ParseInteger(whole_text, &whole)) return false;
  std::uint64_t fraction = 0;
  std::uint64_t scale = 1;
  if (point != std::string_view::npos) {
    const std::string_view digits = text.substr(point + 1);
    if (digits.empty() || digits.size() > 6) return false;
    for (const char c : digits) {
      const unsigned digit = static_cast<unsigned char>(c) - '0';
      if (digit > 9) return false;
      fraction = fraction * 10 + digit;
      scale *= 10;
    }
  }
  const bool minus = text[0] == '-';
  const auto magnitude = static_cast<std::uint64_t>(minus ? -whole : whole) * scale + fraction;
  // One division of two exact doubles: the double nearest to the decimal.
  const double v = static_cast<double>(magnitude) / static_cast<double>(scale);
  *value = minus ? -v : v;
  return true;
}

// A text field as the history writes it: well-formed UTF-8 without a control character (or
// a quote, unless the field was quoted), its doubled quotes made single in *text.
bool TakeText(const Field& field, std::string* scratch, std::string_view* text) {
  for (const char c : field.text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || (byte == '"' && !field.quoted)) return false;
  }
  *text = field.text;
  if (field.escaped) {
    scratch->clear();
    for (std::size_t i = 0; i < field.text.size(); ++i) {
      *scratch += field.text[i];
      if (field.text[i] == '"') ++i;
    }
    *text = *scratch;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(text->data());
  const bool ascii = std::all_of(bytes, bytes + text->size(), [](unsigned char b) { return b < 0x80; });
  return ascii || IsUtf8(*text, false);
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

// One game's line, checked.
struct Record {
  std::string_view date;
  std::string_view player;
  std::int64_t length = 0;
  double seconds = 0;
  double speed = 0;
  std::int64_t misses = 0;
  std::string_view missed;  // without the apostrophe that keeps it from being a formula
};

bool ParseRecord(const char* begin, const char* end, std::string* player_scratch,
                 std::string* missed_scratch, Record* record) {
  Field fields[kFields];
  if (!SplitFields(begin, end, fields)) return false;
  for (int i : {0, 2, 3, 4, 5}) {
    if (fields[i].escaped) return false;
  }
  record->date = fields[0].text;
  if (!IsIsoDate(record->date)) return false;
  if (!TakeText(fields[1], player_scratch, &record->player)) return false;
  if (!ParseInteger(fields[2].text, &record->length) || record->length < kShortestGame ||
      record->length > kLongestGame) {
    return false;
  }
  if (!ParseDecimal(fields[3].text, &record->seconds) || record->seconds < 0 ||
      record->seconds > kMostSecondsOrSpeed) {
    return false;
  }
  // A speed is the length in a time, so it has the length's sign.
  if (!ParseDecimal(fields[4].text, &record->speed) ||
      std::fabs(record->speed) > kMostSecondsOrSpeed ||
      (record->length < 0 ? record->speed > 0 : record->speed < 0)) {
    return false;
  }
  if (!ParseInteger(fields[5].text, &record->misses) || record->misses < 0 ||
      record->misses > INT32_MAX) {
    return false;
  }
  if (!TakeText(fields[6], missed_scratch, &record->missed)) return false;
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
  explicit ProgressReader(std::string_view player) : player_(player), every_player_(player.empty()) {}

  // One line, without its line feed.
  void Line(const char* begin, const char* end) {
    // Every CR at the end: a line torn after its CR gets its LF from the next append.
    while (end > begin && end[-1] == '\r') --end;
    const std::size_t mark = kByteOrderMark.size();
    if (static_cast<std::size_t>(end - begin) >= mark &&
        std::memcmp(begin, kByteOrderMark.data(), mark) == 0) {
      begin += mark;
    }
    if (begin == end) return;
    Record record;
    if (!ParseRecord(begin, end, &player_scratch_, &missed_scratch_, &record)) {
      if (std::string_view(begin, static_cast<std::size_t>(end - begin)) != kHistoryHeader) {
        ++progress_.skipped_lines;
      }
      return;
    }
    if (every_player_ || record.player == player_) Take(record);
  }

  void Skipped() { ++progress_.skipped_lines; }

  Progress Finish() {
    Progress& p = progress_;
    const std::int64_t n = p.games;
    const std::int64_t shown = std::min<std::int64_t>(n, kChartGames);
    const auto speed_at = [&](std::int64_t i) { return ring_[static_cast<std::size_t>(i) % kRing].speed; };
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
    p.earlier_mean =
        mean_of(std::max<std::int64_t>(0, recent_from - kAverageGames), recent_from, &p.earlier_count);
    PickMostMissed();
    return std::move(progress_);
  }

 private:
  void Take(const Record& record) {
    Progress& p = progress_;
    ProgressGame& game = ring_[static_cast<std::size_t>(p.games) % kRing];
    game.speed = record.speed;
    game.misses = static_cast<std::int32_t>(record.misses);
    game.date.fill('\0');
    record.date.copy(game.date.data(), game.date.size() - 1);
    p.best_speed = p.games == 0 ? record.speed : std::max(p.best_speed, record.speed);
    ++p.games;
    p.total_seconds += record.seconds;
    p.total_misses += record.misses;
    for (std::size_t at = 0; at < record.missed.size();) missed_.Add(NextCodePoint(record.missed, &at));
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
  std::string player_scratch_;
  std::string missed_scratch_;
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

std::string Utf8Of(std::uint32_t c) {
  std::string utf8;
  if (c < 0x80) {
    utf8 += static_cast<char>(c);
  } else if (c < 0x800) {
    utf8 += static_cast<char>(0xC0 | c >> 6);
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    utf8 += static_cast<char>(0xE0 | c >> 12);
    utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    utf8 += static_cast<char>(0xF0 | c >> 18);
    utf8 += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
  }
  return utf8;
}

}  // namespace

Progress ReadProgress(std::FILE* file, std::string_view player_field) {
  ProgressReader reader(player_field);
  if (file == nullptr) return reader.Finish();
  // A short history is read on the stack; a longer one in blocks, with room for a line that
  // runs past a block and for the next block after it.
  char small[2 * kFirstBlockBytes];
  std::unique_ptr<char[]> large;
  char* buffer = small;
  std::size_t block = kFirstBlockBytes;
  std::size_t kept = 0;
  bool overlong = false;  // in a line too long to be a game's, till its line feed
  for (std::size_t read; (read = std::fread(buffer + kept, 1, block, file)) > 0;) {
    const char* p = buffer;
    const char* end = p + kept + read;
    for (const char* lf; (lf = static_cast<const char*>(
                              std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr;
         p = lf + 1) {
      if (overlong) {
        overlong = false;
        reader.Skipped();
      } else {
        reader.Line(p, lf);
      }
    }
    kept = static_cast<std::size_t>(end - p);
    if (kept >= kHistoryLineBytes) {
      overlong = true;
      kept = 0;
    } else if (overlong) {
      kept = 0;
    }
    if (buffer == small && read == block) {
      large.reset(new char[2 * kHistoryLineBytes]);
      buffer = large.get();
      block = kHistoryLineBytes;
    }
    std::memmove(buffer, p, kept);
  }
  // The last line, without a line feed: a torn one fails its checks.
  if (overlong) {
    reader.Skipped();
  } else if (kept > 0) {
    reader.Line(buffer, buffer + kept);
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
    texts.most_missed +=
        Fill(formats.missed_item, {Utf8Of(missed.character), std::to_string(missed.count)});
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
