// A thousand games in one run: after each one the file is the table in memory, the
// scores fall, nothing is left behind, and memory does not grow.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "practice/game.h"
#include "practice/random.h"
#include "save_tables.h"
#include "scores/high_scores.h"
#include "scripted_player.h"
#include "temp_folder.h"

// AddressSanitizer holds freed blocks back (256 MB of them by default) to catch late
// uses; this test measures the program's own memory, so it holds back only 1 MB.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=1"; }

namespace tolvi {
namespace {

constexpr long kGames = 1000;
constexpr long kFirstMeasuredGame = 10;
constexpr long kRssGrowthLimitKib = 1024;
const std::string kTempFile = std::string(kHighScoreFile) + ".tmp";

long PeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class LongPlay : public test::InTempFolder {};

TEST_F(LongPlay, AThousandGamesKeepTheFileWholeAndMemoryFlat) {
  WriteFile("string.dat",
            "The quick brown fox jumps over the lazy dog.\r\n"
            "Pack my box with five dozen liquor jugs.\r\n"
            "\x8d\xa1\x93\xfa\x82\xcd\x82\xa2\x82\xa2\x93\x56\x8b\x43\x82\xc5\x82\xb7\x81\x42\r\n"
            "Sphinx of black quartz, judge my vow.\r\n"
            "How vexingly quick daft zebras jump!\r\n"
            "A sentence that is exactly long enough to be cut at the seventy-ninth byte here.\r\n");
  PlayerName()[0] = '\0';
  HighScores() = HighScoreTable{};
  Game() = GameState{};
  SeedRandom(2024);
  stress::g_now_millis = 1000;
  stress::g_calendar = 946684800;

  std::mt19937 random(1999);
  stress::ScriptedPlayer player;
  // One prompt in nine is answered wrongly first; prompts take 0.2 to 9 seconds.
  player.typing = [&random](long) -> std::string {
    const std::string sentence = Game().sentences[Game().slot].data();
    return random() % 9 == 0 ? sentence + " " : sentence;
  };
  player.millis_for_prompt = [&random](long) { return static_cast<std::int64_t>(200 + random() % 8800); };

  std::vector<double> best(kHighScoreEntries, 0.0);  // the default table
  long games = 0, rss_at_first = 0, rss_at_last = 0;
  player.outcome = [&](long result) {
    ++games;
    stress::g_calendar += 61;
    const GameState& game = Game();
    const double speed = ComputeSpeed(game.total_length, game.timer_end - game.timer_start);
    std::size_t place = 0;
    while (place < best.size() && !(speed >= best[place])) ++place;
    best.insert(best.begin() + static_cast<std::ptrdiff_t>(place), speed);
    best.resize(kHighScoreEntries);

    const std::string bytes = ReadFile(kHighScoreFile);
    EXPECT_EQ(bytes.size(), 480u) << "game " << games;
    EXPECT_EQ(bytes, stress::ImageOf(HighScores())) << "game " << games;
    EXPECT_FALSE(Exists(kTempFile)) << "game " << games;
    for (int i = 0; i < kHighScoreEntries; ++i) {
      EXPECT_EQ(EntryScore(i), best[i]) << "game " << games << ", entry " << i;
      if (i > 0) {
        EXPECT_LE(EntryScore(i), EntryScore(i - 1)) << "game " << games << ", entry " << i;
      }
    }
    if (games == kFirstMeasuredGame) rss_at_first = PeakRssKib();
    if (games == kGames) rss_at_last = PeakRssKib();
    if (games >= kGames) return kOutcomeOk;
    // Mostly single games, now and then a retry or a look at the table.
    switch (result % 7) {
      case 3: return kOutcomeRetry;
      case 5: return kOutcomeHighScore;
      case 6: return kOutcomeCancel;
      default: return kOutcomeOk;
    }
  };

  while (games < kGames && !HasFailure()) PlayGame(player, stress::FakeClock());

  ASSERT_EQ(games, kGames);
  EXPECT_EQ(player.reports, 0);
  EXPECT_GT(player.high_scores_shown, 0);
  EXPECT_GT(EntryScore(kHighScoreEntries - 1), 0.0) << "the table filled up with real games";
  std::printf("[ stress   ] %ld games, %ld prompts; peak RSS %ld KiB at game %ld, %ld KiB at game %ld "
              "(growth %ld KiB); best %.2f, tenth %.2f char/60s\n",
              games, player.prompts, rss_at_first, kFirstMeasuredGame, rss_at_last, kGames,
              rss_at_last - rss_at_first, EntryScore(0), EntryScore(kHighScoreEntries - 1));
  RecordProperty("games", static_cast<int>(games));
  RecordProperty("rss_kib_first", static_cast<int>(rss_at_first));
  RecordProperty("rss_kib_last", static_cast<int>(rss_at_last));
  EXPECT_LT(rss_at_last - rss_at_first, kRssGrowthLimitKib);
}

}  // namespace
}  // namespace tolvi
