// history.csv: one line for each game that showed its result, appended and never rewritten,
// so that a player can follow their progress. UTF-8 with a byte-order mark and a header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/calendar.h"

namespace tolvi {

struct GameState;

constexpr char kHistoryFile[] = "history.csv";
constexpr std::string_view kHistoryHeader = "date,player,length,seconds,speed,misses,missed";

// The file operations of an append, in one table so that tests can put in their own.
enum class TailResult { kLastByte, kEmpty, kMissing, kUnreadable };
struct HistoryFileOps {
  // The last byte of path in *byte, or why there is none.
  TailResult (*last_byte)(const char* path, char* byte);
  // Appends size bytes to path, creating it when missing. True when all were written.
  bool (*append)(const char* path, const void* bytes, std::size_t size);
  // Returns once the data of path is on the disk.
  bool (*flush)(const char* path);
};

// The system's operations unless a test has put in others.
HistoryFileOps& HistoryOps();

// A text field as the history holds it, before any quotes: UTF-8 in which each control
// character is its visible picture (TAB as U+2409), so a line never breaks inside a field,
// and a text that a spreadsheet would take for a formula (= + - @) begins with an
// apostrophe, as does one that begins with an apostrophe itself.
std::string HistoryText(std::string_view utf8);

// The player's name (code page 932) as its field holds it, which is what the reader matches.
std::string HistoryPlayer(std::string_view player_cp932);

// The game's line, without its line ending.
std::string HistoryRecord(const GameState& game, std::string_view player_cp932,
                          const LocalTime& when);

// Appends the game's line, after the mark and the header when the file is new and on a
// line of its own after a torn one. Reads at most the file's last byte. 1, or 0 when the
// file could not be read, written or flushed.
int RecordGame(const GameState& game, std::string_view player_cp932, const LocalTime& when);

}  // namespace tolvi
