// Whole games against a scripted player: prompts, timing, scoring and outcomes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "files.h"
#include "practice/game.h"
#include "practice/random.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

std::int64_t g_millis = 0;
std::int64_t Millis() { return g_millis; }
std::time_t AugustFourth() {
  std::tm local{};
  local.tm_year = 99, local.tm_mon = 7, local.tm_mday = 4, local.tm_hour = 7, local.tm_min = 4;
  local.tm_sec = 32, local.tm_isdst = -1;
  return std::mktime(&local);
}

// Types what it is told at each prompt ("" the sentence, "quit" to quit), taking
// millis_per_prompt each time, and writes down what each dialog showed.
struct ScriptedPlayer : GamePresenter {
  int name_result = 1;
  std::vector<std::string> typing;
  std::int64_t millis_per_prompt = 0;
  std::vector<int> outcomes = {kOutcomeOk};
  int names = 0, results = 0, ends = 0;
  std::vector<std::string> prompts, shown, reported;
  std::vector<const void*> frames;

  int AskPlayerName() override {
    if (name_result == 1) std::strcpy(PlayerName(), "Ann");
    return ++names, name_result;
  }
  int PromptSentence() override {
    GameState& game = Game();
    char* typed = game.typed[game.slot].data();
    prompts.push_back(std::string(SlotLabel(game.slot)) + "|" + game.sentences[game.slot].data() + "|" + typed);
    g_millis += millis_per_prompt;
    const std::string entry = prompts.size() <= typing.size() ? typing[prompts.size() - 1] : "";
    if (entry == "quit") return kOutcomeCancel;
    std::strcpy(typed, entry.empty() ? game.sentences[game.slot].data() : entry.c_str());
    return 1;
  }
  int ShowGameResult() override {
    const int here = 0;
    frames.push_back(&here);
    shown.push_back(std::string(PlayerName()) + "|" + std::to_string(Game().total_length) + "|" +
                    Game().speed_text.data());
    return outcomes[results++ % outcomes.size()];
  }
  void ShowHighScores() override { shown.push_back(std::string(EntryName(0)) + "|" + std::string(EntryDate(0))); }
  void ReportNoSentences(const char* file) override { reported.push_back(file); }
  void EndProgram() override { ++ends; }
};

class GameTest : public ::testing::Test {
 protected:
  GameTest() {
    PlayerName()[0] = '\0';
    g_millis = 5000;
  }
  static void Play(ScriptedPlayer& player) { PlayGame(player, GameClock{Millis, AugustFourth}); }
  test::FreshFolder folder_;
};

TEST_F(GameTest, FourSentencesTimedScoredAndSaved) {
  test::WriteFile("string.dat", std::string(25, 's') + "\r\n");  // LENGTH 4 * 25 - 4
  for (const auto& [millis, speed] : {std::pair<int, const char*>{15000, "96.00"}, {7500, "192.00"}}) {
    ScriptedPlayer player;
    player.millis_per_prompt = millis;
    player.outcomes = {kOutcomeHighScore};
    Play(player);
    ASSERT_EQ(player.prompts.size(), 4u);
    EXPECT_EQ(player.prompts[3], "--4--|" + std::string(25, 's') + "|");
    EXPECT_EQ(player.shown, (std::vector<std::string>{std::string("Ann|96|") + speed + " char/60s",
                                                      "Ann|Aug 04 07:04:32 1999"}));
  }
  const std::string bytes = test::ReadFile(kHighScoreFile);
  EXPECT_EQ(bytes.substr(0, 4), std::string("Ann\0", 4));
  EXPECT_EQ(bytes.substr(24, 21), std::string("Aug 04 07:04:32 1999\0", 21));
  EXPECT_EQ(EntryScore(0), 192.0);
  EXPECT_EQ(EntryScore(1), 96.0);
}

TEST_F(GameTest, AWrongEntryComesBackAndQuittingScoresNothing) {
  test::WriteFile("string.dat", "Hello world.\n");
  ScriptedPlayer player;
  player.typing = {"", "", "Hello world. ", "", "quit"};
  Play(player);
  EXPECT_EQ(player.prompts, (std::vector<std::string>{"--1--|Hello world.|", "--2--|Hello world.|",
                                                      "--3--|Hello world.|", "--3--|Hello world.|Hello world. ",
                                                      "--4--|Hello world.|"}));
  EXPECT_EQ(player.results, 0);
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
  EXPECT_EQ(Game().slot, 3) << "the slot stays where the game was left";
}

TEST_F(GameTest, PrepareDrawsFourAndEmptiesTheTypedTexts) {
  test::WriteFile("string.dat", "a\nbbbbbbbbbb\nccccccccccccccccccccccccccccc\n" + std::string(77, 'd') + "\n");
  for (auto& typed : Game().typed) std::strcpy(typed.data(), "old");
  Game().slot = 3;
  SeedRandom(7);
  ASSERT_EQ(PrepareGame(), 1);
  std::string drawn;
  for (int slot = 0; slot < kSlots; ++slot) {
    drawn += Game().sentences[slot].data();
    EXPECT_STREQ(Game().typed[slot].data(), "") << "slot " << slot;
  }
  EXPECT_EQ(Game().total_length, static_cast<int>(drawn.size()) - 4);
  EXPECT_EQ(Game().slot, 0);
}

TEST_F(GameTest, NoSentenceFileNoOwnerAndARefusedSave) {
  for (const char* content : {static_cast<const char*>(nullptr), "", "\x1A" "after\n"}) {
    std::remove("string.dat");
    if (content) test::WriteFile("string.dat", content);
    ScriptedPlayer player;
    Play(player);
    EXPECT_EQ(player.reported, std::vector<std::string>{"string.dat"});
    EXPECT_EQ(player.names + player.results + static_cast<int>(player.prompts.size()), 0);
  }
  test::WriteFile("string.dat", "x\n");
  ScriptedPlayer cancelled;
  cancelled.name_result = 2;
  Play(cancelled);
  EXPECT_EQ(cancelled.shown[0], "|0|nan char/60s") << "an empty name; no length in no time";

  std::remove(kHighScoreFile);
  ScriptedPlayer ownerless;
  ownerless.name_result = 0;
  const FileOps system = ScoreFileOps();
  ScoreFileOps().write = [](const char*, const void*, std::size_t) { return WriteResult::kFailed; };
  Play(ownerless);
  ScoreFileOps() = system;
  EXPECT_EQ(ownerless.ends, 1) << "the program is told to end, the game goes on";
  EXPECT_EQ(ownerless.results, 1) << "a refused save still shows the result";
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
}

TEST_F(GameTest, AThousandRetriesOnOneStack) {
  test::WriteFile("string.dat", "one\ntwo\nthree\n");
  ScriptedPlayer player;
  player.millis_per_prompt = 700;
  player.outcomes = std::vector<int>(1000, kOutcomeRetry);
  player.outcomes.push_back(kOutcomeOk);
  Play(player);
  EXPECT_EQ(player.results, 1001);
  EXPECT_EQ(player.names, 1);
  EXPECT_EQ(player.prompts.size(), 4u * 1001);
  EXPECT_EQ(player.frames.front(), player.frames.back()) << "each game begins after the last returned";
  EXPECT_EQ(std::string(SlotLabel(4)) + SlotLabel(-1), "");
}

}  // namespace
}  // namespace tolvi
