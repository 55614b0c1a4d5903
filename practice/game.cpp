// One game: four sentences typed exactly, timed, scored and offered to the table.
#include "practice/game.h"

#include <chrono>

#include "base/code_page.h"
#include "base/text_format.h"
#include "practice/history.h"
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

std::string_view SlotSentence(int slot) {
  return FieldText(g_game.sentences[slot].data(), g_game.sentences[slot].size());
}

std::string_view SlotTyped(int slot) {
  return FieldText(g_game.typed[slot].data(), g_game.typed[slot].size());
}

// A wrong entry: counted, and the character it missed kept, as UTF-8, while there is room.
void NoteMiss(int slot) {
  ++g_game.misses;
  const std::string_view missed = MissedCharacter(SlotSentence(slot), SlotTyped(slot));
  if (missed.empty()) return;
  std::string utf8 = Cp932ToUtf8(missed);
  if (utf8.empty()) utf8 = "?";  // a lead byte without its trail, as some builds read it
  if (g_game.missed.size() + utf8.size() <= kMissedBytes) g_game.missed += utf8;
}

}  // namespace

GameState& Game() { return g_game; }

char* PlayerName() { return g_player_name.data(); }

const char* SlotLabel(int slot) {
  static constexpr const char* kLabels[kSlots] = {"--1--", "--2--", "--3--", "--4--"};
  return slot >= 0 && slot < kSlots ? kLabels[slot] : "";
}

GameClock SystemClock() { return {SteadyMillis, LocalNow}; }

int PrepareGame() {
  g_game.slot = 0;
  g_game.misses = 0;
  g_game.missed.clear();
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

std::string_view MissedCharacter(std::string_view sentence, std::string_view typed) {
  for (std::size_t at = 0; at < sentence.size();) {
    // A lead byte at the very end has no trail to take with it.
    const std::size_t width =
        IsLeadByte(static_cast<unsigned char>(sentence[at])) && at + 1 < sentence.size() ? 2 : 1;
    if (typed.substr(at, width) != sentence.substr(at, width)) return sentence.substr(at, width);
    at += width;
  }
  return {};
}

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
    if (SlotTyped(g_game.slot) == SlotSentence(g_game.slot)) {
      ++g_game.slot;
    } else {
      NoteMiss(g_game.slot);
    }
  }
  g_game.timer_end = static_cast<double>(clock.millis()) * 0.001;

  const LocalTime now = clock.now();
  char date_text[kDateTextChars + 1];
  DateTextOf(now, date_text);
  const double speed = ComputeSpeed(g_game.total_length, g_game.timer_end - g_game.timer_start);
  InsertScore(PlayerName(), speed, date_text);
  FormatSpeedText(speed, g_game.speed_text.data(), g_game.speed_text.size());
  // A history that cannot be written changes nothing of the game.
  RecordGame(g_game, PlayerName(), now);

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
