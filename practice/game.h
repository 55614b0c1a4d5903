// The typing game: its state, the presenter it talks through, and one game's flow.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/calendar.h"
#include "practice/sentence_source.h"

namespace tolvi {

constexpr int kSlots = 4;
constexpr int kTypedBytes = 255;
constexpr int kTypedReadBytes = 254;  // a prompt keeps two bytes of the field unused
constexpr int kPlayerNameBytes = 9;
constexpr int kSpeedTextBytes = 64;
// The missed characters a game keeps: thousands of wrong entries, far past any real game.
constexpr std::size_t kMissedBytes = 4096;

// What the result dialog ends with.
enum GameOutcome { kOutcomeOk = 1, kOutcomeCancel = 2, kOutcomeHighScore = 3, kOutcomeRetry = 4 };

struct GameState {
  std::array<std::array<char, kSentenceBytes>, kSlots> sentences{};
  std::array<std::array<char, kTypedBytes>, kSlots> typed{};
  std::int32_t slot = 0;
  std::int32_t total_length = 0;
  double timer_start = 0.0;  // seconds
  double timer_end = 0.0;
  std::array<char, kSpeedTextBytes> speed_text{};
  std::int32_t misses = 0;  // wrong entries
  std::string missed;       // UTF-8: for each wrong entry, the sentence's character it missed
};

GameState& Game();

char* PlayerName();

// Empty for a slot out of range.
const char* SlotLabel(int slot);

// How a game reaches the player. The shell implements it with dialogs.
class GamePresenter {
 public:
  virtual ~GamePresenter() = default;
  // 1 confirmed, 2 cancelled, 0 when the owner window is gone, -1 on other failure.
  virtual int AskPlayerName() = 0;
  // 1 when the typed text of the current slot was replaced; anything else quits.
  virtual int PromptSentence() = 0;
  // A GameOutcome.
  virtual int ShowGameResult() = 0;
  virtual void ShowHighScores() = 0;
  // No sentence can be drawn from the named file; the game does not start.
  virtual void ReportNoSentences(const char* sentence_file) = 0;
  // The name dialog could not be shown for want of an owner: make the program quit.
  virtual void EndProgram() = 0;
};

// Where a game reads its time; tests supply their own.
struct GameClock {
  std::int64_t (*millis)();  // a steady count; only differences matter
  LocalTime (*now)();        // calendar time for the date texts
};
GameClock SystemClock();

// 1, or 0 as soon as a draw fails.
int PrepareGame();

double ComputeSpeed(int length, double seconds);

// The character of sentence (one byte or a lead and its trail) at the first place where typed
// differs from it; empty when typed holds the whole sentence and only goes on past it.
std::string_view MissedCharacter(std::string_view sentence, std::string_view typed);

// Runs games until one ends without Retry.
void PlayGame(GamePresenter& presenter, const GameClock& clock = SystemClock());

}  // namespace tolvi
