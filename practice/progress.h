// What the progress window shows of history.csv: the player's games read back in one pass
// that keeps only what it shows, so memory stays the same however long the history grows.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tolvi {

constexpr int kChartGames = 100;
constexpr int kAverageGames = 10;
constexpr int kMostMissed = 10;
// No game's line is as long: a longer one is skipped without being held.
constexpr std::size_t kHistoryLineBytes = 64 * 1024;

struct ProgressGame {
  double speed = 0;
  std::int32_t misses = 0;
  std::array<char, 26> date{};  // as the line has it: 2026-12-08T23:16:22+09:00
};

struct MissedCount {
  std::uint32_t character = 0;  // a code point
  std::int64_t count = 0;
};

struct Progress {
  std::int64_t games = 0;
  std::int64_t skipped_lines = 0;  // lines that are neither a game, the header nor empty
  double total_seconds = 0;
  double best_speed = 0;
  std::int64_t total_misses = 0;
  std::vector<ProgressGame> recent;  // the last kChartGames, oldest first
  std::vector<double> averages;      // for each of them, its mean with the nine before it
  int recent_count = 0;              // the last kAverageGames games and their mean speed
  double recent_mean = 0;
  int earlier_count = 0;  // the kAverageGames before those
  double earlier_mean = 0;
  std::vector<MissedCount> most_missed;  // at most kMostMissed, the most missed first
};

// The games of history.csv in the working folder played under the name (code page 932),
// or of every player when it is empty. The file is only read; a missing one has no games.
Progress ReadProgress(std::string_view player_cp932);

// The same from any stream, for the player as HistoryPlayer gives it ("" for all).
Progress ReadProgress(std::FILE* file, std::string_view player_field);

// The texts that go with the numbers, from the program's texts.
struct ProgressFormats {
  const char* none;              // a number there is none of: "-----"
  const char* missed_item;       // a character and its count: "「%s」%s"
  const char* missed_separator;  // between two items
  const char* period;            // the first and last date shown: "%s ～ %s"
};

// Each number as the window shows it, in UTF-8.
struct ProgressTexts {
  std::string games;
  std::string best;          // "96.00 char/60s", as the result shows a speed
  std::string recent_mean;   // of the last ten
  std::string earlier_mean;  // of the ten before them
  std::string total_time;    // "1:02:05"
  std::string misses;
  std::string most_missed;
  std::string period;   // the days of the games the chart shows
  std::string skipped;  // the lines skipped, empty when none was
  bool empty = true;    // no game to show
};
ProgressTexts ProgressTextsOf(const Progress& progress, const ProgressFormats& formats);

// The window's rows from the top: the text of each, as every program lays them out.
constexpr std::string ProgressTexts::*kProgressRows[] = {
    &ProgressTexts::games,        &ProgressTexts::best,       &ProgressTexts::recent_mean,
    &ProgressTexts::earlier_mean, &ProgressTexts::total_time, &ProgressTexts::misses,
    &ProgressTexts::most_missed,  &ProgressTexts::period};

}  // namespace tolvi
