// A presenter that plays the player from a script: what to type at each prompt,
// how to end each result, and a check to run when a result is shown.
#pragma once

#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

#include "practice/game.h"

namespace tolvi::stress {

// The game's clocks, moved on by the player's prompts.
inline std::int64_t g_now_millis = 0;
inline std::time_t g_calendar = 0;
inline std::int64_t FakeMillis() { return g_now_millis; }
inline std::time_t FakeCalendar() { return g_calendar; }
inline GameClock FakeClock() { return {FakeMillis, FakeCalendar}; }

class ScriptedPlayer : public GamePresenter {
 public:
  std::string name_to_enter = "Ann";
  // The text to confirm at a prompt, numbered from 0 over the whole run.
  std::function<std::string(long prompt)> typing = [](long) { return Game().sentences[Game().slot].data(); };
  // How long each prompt takes, on the fake clock.
  std::function<std::int64_t(long prompt)> millis_for_prompt = [](long) { return 1000; };
  // The outcome of each result, numbered from 0; called after the result is seen.
  std::function<int(long result)> outcome = [](long) { return kOutcomeOk; };

  long prompts = 0, results = 0, high_scores_shown = 0, reports = 0;
  std::string shown_speed;

  int AskPlayerName() override {
    std::strcpy(PlayerName(), name_to_enter.c_str());
    return 1;
  }
  int PromptSentence() override {
    g_now_millis += millis_for_prompt(prompts);
    const std::string entry = typing(prompts++);
    // The typing dialog keeps at most 253 bytes.
    const std::size_t n = entry.size() < kTypedReadBytes - 1 ? entry.size() : kTypedReadBytes - 1;
    std::memcpy(Game().typed[Game().slot].data(), entry.data(), n);
    Game().typed[Game().slot][n] = '\0';
    return 1;
  }
  int ShowGameResult() override {
    shown_speed = Game().speed_text.data();
    return outcome(results++);
  }
  void ShowHighScores() override { ++high_scores_shown; }
  void ReportNoSentences(const char*) override { ++reports; }
  void EndProgram() override {}
};

}  // namespace tolvi::stress
