// Writing history.csv: each game's fields, quoted as RFC 4180 says, appended in one write.
#include "practice/history.h"

#include <cerrno>
#include <cstdio>

#include "base/code_page.h"
#include "base/file.h"
#include "base/text_format.h"
#include "practice/game.h"
#include "scores/file_ops.h"

namespace tolvi {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kFormulaStarts = "=+-@'";

TailResult ReadLastByte(const char* path, char* byte) {
  File file{std::fopen(path, "rb")};
  if (!file) return errno == ENOENT ? TailResult::kMissing : TailResult::kUnreadable;
  if (!SeekFile(file.get(), 0, SEEK_END)) return TailResult::kUnreadable;
  if (std::ftell(file.get()) == 0) return TailResult::kEmpty;
  if (!SeekFile(file.get(), -1, SEEK_END)) return TailResult::kUnreadable;
  const int last = std::fgetc(file.get());
  if (last == EOF) return TailResult::kUnreadable;
  *byte = static_cast<char>(last);
  return TailResult::kLastByte;
}

bool AppendBytes(const char* path, const void* bytes, std::size_t size) {
  File file{std::fopen(path, "ab")};
  if (!file) return false;
  const bool written = std::fwrite(bytes, 1, size, file.get()) == size;
  return std::fclose(file.release()) == 0 && written;
}

// Quoted when a comma or a quote would end or break it, or a space at either end might be
// trimmed by a reader; always when asked, which the last field of a line is, so that a
// line torn inside it can never pass for a whole one.
void AppendField(std::string& line, std::string_view text, bool quoted) {
  quoted = quoted || text.find_first_of(",\"") != std::string_view::npos ||
           (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted) {
    line += text;
    return;
  }
  line += '"';
  for (const char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

}  // namespace

HistoryFileOps& HistoryOps() {
  static HistoryFileOps ops{ReadLastByte, AppendBytes, FlushFile};
  return ops;
}

std::string HistoryText(std::string_view utf8) {
  std::string text;
  if (!utf8.empty() && kFormulaStarts.find(utf8.front()) != std::string_view::npos) text += '\'';
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      // U+2400 to U+241F picture the controls, U+2421 DEL.
      text += "\xE2\x90";
      text += static_cast<char>(byte == 0x7F ? 0xA1 : 0x80 + byte);
    } else {
      text += c;
    }
  }
  return text;
}

std::string HistoryPlayer(std::string_view player_cp932) {
  return HistoryText(Cp932ToUtf8(player_cp932));
}

std::string HistoryRecord(const GameState& game, std::string_view player_cp932,
                          const LocalTime& when) {
  char date[kIsoDateBytes];
  FormatIsoDate(when, date);
  const double seconds = game.timer_end - game.timer_start;
  char number[kSpeedTextBytes];
  std::string line = date;
  line += ',';
  AppendField(line, HistoryPlayer(player_cp932), false);
  line += ',';
  line += std::to_string(game.total_length);
  line += ',';
  AppendFixed(number, sizeof number, 0, seconds, 3);
  line += number;
  line += ',';
  // The number SpeedText shows, rounded as it rounds.
  AppendFixed2(number, sizeof number, 0, ComputeSpeed(game.total_length, seconds));
  line += number;
  line += ',';
  line += std::to_string(game.misses);
  line += ',';
  AppendField(line, HistoryText(game.missed), true);
  return line;
}

int RecordGame(const GameState& game, std::string_view player_cp932, const LocalTime& when) {
  const HistoryFileOps& ops = HistoryOps();
  std::string bytes;
  char last = '\n';
  switch (ops.last_byte(kHistoryFile, &last)) {
    case TailResult::kMissing:
    case TailResult::kEmpty:
      bytes = std::string(kByteOrderMark) + std::string(kHistoryHeader) + std::string(kLineEnd);
      break;
    case TailResult::kLastByte:
      // A line that a crash or a full disk cut short ends here, unread, and this one begins
      // a line of its own.
      if (last != '\n') bytes = kLineEnd;
      break;
    case TailResult::kUnreadable: return 0;
  }
  bytes += HistoryRecord(game, player_cp932, when);
  bytes += kLineEnd;
  return ops.append(kHistoryFile, bytes.data(), bytes.size()) && ops.flush(kHistoryFile) ? 1 : 0;
}

}  // namespace tolvi
