// One game: four sentences typed exactly, timed, scored and offered to the table.
#include "practice/game.h"

#include <chrono>

#include "base/text_format.h"
#include "practice/settings.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

GameState g_game;
std::array<char, kPlayerNameBytes> g_player_name{};

std::int64_t SteadyMillis() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::time_t CurrentTime() { return std::time(nullptr); }

bool SlotTypedCorrectly(int slot) {
  const auto& typed = g_game.typed[slot];
  const auto& sentence = g_game.sentences[slot];
  return FieldText(typed.data(), typed.size()) == FieldText(sentence.data(), sentence.size());
}

}  // namespace

GameState& Game() { return g_game; }

char* PlayerName() { return g_player_name.data(); }

const char* SlotLabel(int slot) {
  static constexpr const char* kLabels[kSlots] = {"--1--", "--2--", "--3--", "--4--"};
  return slot >= 0 && slot < kSlots ? kLabels[slot] : "";
}

GameClock SystemClock() { return {SteadyMillis, CurrentTime}; }

int PrepareGame() {
  g_game.slot = 0;
  CountSentences();
  for (int slot = 0; slot < kSlots; ++slot) {
    g_game.typed[slot][0] = '\0';
    if (!DrawSentence(g_game.sentences[slot].data())) return 0;
  }
  std::int32_t total = 0;
  for (const auto& sentence : g_game.sentences) {
    total += static_cast<std::int32_t>(FieldText(sentence.data(), sentence.size()).size());
  }
  g_game.total_length = total - 4;
  return 1;
}

double ComputeSpeed(int length, double seconds) { return length * 60.0 / seconds; }

namespace {

// One game from its draw to its result; whether the player asked for another.
bool PlayOneGame(GamePresenter& presenter, const GameClock& clock) {
  // Drawn before the name is asked, so a game that cannot start asks nothing.
  if (!PrepareGame()) {
    presenter.ReportNoSentences(SentenceFileName());
    return false;
  }
  if (PlayerName()[0] == '\0' && presenter.AskPlayerName() == 0) presenter.EndProgram();

  g_game.timer_start = static_cast<double>(clock.millis()) * 0.001;
  while (g_game.slot < kSlots) {
    if (presenter.PromptSentence() != 1) return false;
    if (SlotTypedCorrectly(g_game.slot)) ++g_game.slot;
  }
  g_game.timer_end = static_cast<double>(clock.millis()) * 0.001;

  char date_text[kDateTextChars + 1];
  LocalDateText(clock.now(), date_text);
  const double speed = ComputeSpeed(g_game.total_length, g_game.timer_end - g_game.timer_start);
  InsertScore(PlayerName(), speed, date_text);
  FormatSpeedText(speed, g_game.speed_text.data(), g_game.speed_text.size());

  const int outcome = presenter.ShowGameResult();
  if (outcome == kOutcomeHighScore) presenter.ShowHighScores();
  return outcome == kOutcomeRetry;
}

}  // namespace

void PlayGame(GamePresenter& presenter, const GameClock& clock) {
  // Retry plays the next game here, after the finished one has returned, so a long
  // run of retries does not deepen the stack.
  while (PlayOneGame(presenter, clock)) {
  }
}

}  // namespace tolvi
