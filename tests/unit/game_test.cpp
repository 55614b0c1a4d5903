// Whole games against a scripted player: prompts, timing, scoring and outcomes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "files.h"
#include "practice/game.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

using Log = std::vector<std::string>;
std::int64_t g_millis = 0;

// Types what it is told at each prompt ("" the sentence, "quit" to quit), taking
// millis_per_prompt each, ends each result with the next outcome, and logs what it saw.
struct ScriptedPlayer : GamePresenter {
  int name_result = 1;
  Log typing, log;
  std::int64_t millis_per_prompt = 0;
  std::vector<int> outcomes = {kOutcomeOk};
  const void* first_frame = nullptr;
  const void* last_frame = nullptr;

  int AskPlayerName() override {
    if (name_result == 1) std::strcpy(PlayerName(), "Ann");
    return log.push_back("name?"), name_result;
  }
  int PromptSentence() override {
    char* typed = Game().typed[Game().slot].data();
    const char* sentence = Game().sentences[Game().slot].data();
    log.push_back(std::string(SlotLabel(Game().slot)) + " " + sentence + "|" + typed);
    g_millis += millis_per_prompt;
    const std::string entry = typing.size() < log.size() ? "" : typing[log.size() - 1];
    std::strcpy(typed, entry.empty() ? sentence : entry.c_str());
    return entry == "quit" ? kOutcomeCancel : 1;
  }
  int ShowGameResult() override {
    const int here = 0;
    last_frame = &here, first_frame = first_frame ? first_frame : &here;
    log.push_back(std::string(PlayerName()) + " " + std::to_string(Game().total_length) + " " + Game().speed_text.data());
    const int outcome = outcomes.front();
    if (outcomes.size() > 1) outcomes.erase(outcomes.begin());
    return outcome;
  }
  void ShowHighScores() override { log.push_back("top " + std::string(EntryName(0)) + " " + std::string(EntryDate(0))); }
  void ReportNoSentences(const char* file) override { log.push_back(std::string("no sentence in ") + file); }
  void EndProgram() override { log.push_back("end program"); }
};

class GameTest : public ::testing::Test {
 protected:
  GameTest() { PlayerName()[0] = '\0'; }
  static Log Play(ScriptedPlayer& player) {
    const auto august_fourth = [] {
      std::tm local{};
      local.tm_year = 99, local.tm_mon = 7, local.tm_mday = 4, local.tm_hour = 7, local.tm_min = 4;
      local.tm_sec = 32, local.tm_isdst = -1;
      return std::mktime(&local);
    };
    PlayGame(player, GameClock{[] { return g_millis; }, august_fourth});
    return player.log;
  }
  test::FreshFolder folder_;
};

TEST_F(GameTest, FourSentencesTimedScoredAndSaved) {
  // Every draw is the one line; the second game's prompts start empty again.
  test::WriteFile("string.dat", "25 bytes for each prompt.\r\n");  // LENGTH 4 * 25 - 4
  for (const auto& [millis, speed] : {std::pair<int, const char*>{15000, "96.00"}, {7500, "192.00"}}) {
    ScriptedPlayer player;
    player.millis_per_prompt = millis;
    player.outcomes = {kOutcomeHighScore};
    const Log log = Play(player);
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(Log(log.end() - 6, log.end()),
              (Log{"--1-- 25 bytes for each prompt.|", "--2-- 25 bytes for each prompt.|",
                   "--3-- 25 bytes for each prompt.|", "--4-- 25 bytes for each prompt.|",
                   std::string("Ann 96 ") + speed + " char/60s", "top Ann Aug 04 07:04:32 1999"}));
  }
  const std::string bytes = test::ReadFile(kHighScoreFile);
  EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(24, 21), std::string("Ann\0Aug 04 07:04:32 1999\0", 25));
  EXPECT_EQ(EntryScore(0) + EntryScore(1) / 1000, 192.096);
}

TEST_F(GameTest, AWrongEntryComesBackAndQuittingScoresNothing) {
  test::WriteFile("string.dat", "Hi.\n");
  ScriptedPlayer player;
  player.typing = {"", "", "", "Hi. ", "", "quit"};  // by log line: the name is the first
  EXPECT_EQ(Play(player), (Log{"name?", "--1-- Hi.|", "--2-- Hi.|", "--3-- Hi.|", "--3-- Hi.|Hi. ", "--4-- Hi.|"}));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
  EXPECT_EQ(Game().slot, 3) << "the slot stays where the game was left";
}

TEST_F(GameTest, NoSentenceNoNameNoOwnerAndARefusedSave) {
  for (const char* content : {static_cast<const char*>(nullptr), "", "\x1A" "after\n"}) {
    std::remove("string.dat");
    if (content) test::WriteFile("string.dat", content);
    ScriptedPlayer player;
    EXPECT_EQ(Play(player), Log{"no sentence in string.dat"});
  }
  test::WriteFile("string.dat", "x\n");
  ScriptedPlayer cancelled, ownerless;
  cancelled.name_result = 2, ownerless.name_result = 0;
  EXPECT_EQ(Play(cancelled).back(), " 0 nan char/60s") << "an empty name; no length in no time";
  std::remove(kHighScoreFile);
  const FileOps system = ScoreFileOps();
  ScoreFileOps().write = [](const char*, const void*, std::size_t) { return WriteResult::kFailed; };
  const Log log = Play(ownerless);
  ScoreFileOps() = system;
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(log[1], "end program") << "the program is told to end, the game goes on";
  EXPECT_EQ(log[6], " 0 nan char/60s") << "a refused save still shows the result";
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
}

TEST_F(GameTest, AThousandRetriesOnOneStack) {
  test::WriteFile("string.dat", "one\ntwo\nthree\n");
  ScriptedPlayer player;
  player.millis_per_prompt = 700;
  player.outcomes = std::vector<int>(1000, kOutcomeRetry);
  player.outcomes.push_back(kOutcomeOk);
  const Log log = Play(player);
  EXPECT_EQ(log.size(), 1 + 5 * 1001u);
  EXPECT_EQ(std::count(log.begin(), log.end(), "name?"), 1);
  EXPECT_EQ(player.first_frame, player.last_frame) << "each game begins after the last returned";
  EXPECT_EQ(std::string(SlotLabel(4)) + SlotLabel(-1), "");
}

}  // namespace
}  // namespace tolvi
