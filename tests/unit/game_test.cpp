// Whole games against a scripted presenter: prompts, timing, scoring and outcomes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "practice/game.h"
#include "practice/random.h"
#include "scores/high_scores.h"
#include "temp_folder.h"

namespace tolvi {
namespace {

std::int64_t g_now_millis = 0;
std::int64_t FakeMillis() { return g_now_millis; }
std::time_t g_calendar = 0;
std::time_t FakeCalendar() { return g_calendar; }

// Plays the part of the player: what to type at each prompt and how to end each result.
class ScriptedPlayer : public GamePresenter {
 public:
  struct Prompt {
    int slot;
    std::string label, sentence, shown_typed;
  };

  int name_result = 1;
  std::string name_to_enter = "Ann";
  // Returns the text to confirm, or nullptr to quit the game.
  std::function<const char*(int prompt_number)> typing = [](int) { return nullptr; };
  std::int64_t millis_per_prompt = 0;
  std::vector<int> outcomes = {kOutcomeOk};

  int names_asked = 0, results_shown = 0, high_scores_shown = 0, ends = 0;
  std::vector<Prompt> prompts;
  std::vector<std::string> reported_files;
  std::vector<const void*> result_frames;
  std::string shown_speed, shown_name, top_name_at_high_scores;
  int shown_length = 0;

  int AskPlayerName() override {
    ++names_asked;
    if (name_result == 1) std::strcpy(PlayerName(), name_to_enter.c_str());
    return name_result;
  }
  int PromptSentence() override {
    const GameState& game = Game();
    prompts.push_back({game.slot, SlotLabel(game.slot), game.sentences[game.slot].data(),
                       game.typed[game.slot].data()});
    g_now_millis += millis_per_prompt;
    const char* entry = typing(static_cast<int>(prompts.size()) - 1);
    if (!entry) return 2;
    std::strncpy(Game().typed[game.slot].data(), entry, kTypedReadBytes - 1);
    return 1;
  }
  int ShowGameResult() override {
    int here = 0;
    result_frames.push_back(&here);
    shown_speed = Game().speed_text.data();
    shown_name = PlayerName();
    shown_length = Game().total_length;
    const int outcome = outcomes[results_shown % outcomes.size()];
    ++results_shown;
    return outcome;
  }
  void ShowHighScores() override {
    ++high_scores_shown;
    top_name_at_high_scores = std::string(EntryName(0));
  }
  void ReportNoSentences(const char* file) override { reported_files.push_back(file); }
  void EndProgram() override { ++ends; }
};

const char* TypeTheSentence(int) { return Game().sentences[Game().slot].data(); }

class GameTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    InTempFolder::SetUp();
    PlayerName()[0] = '\0';
    HighScores() = HighScoreTable{};
    Game() = GameState{};
    g_now_millis = 5000;
    g_calendar = 0;
    SeedRandom(1);
  }
  static void Play(ScriptedPlayer& player) { PlayGame(player, GameClock{FakeMillis, FakeCalendar}); }
};

TEST_F(GameTest, FourSentencesOfTenToFortyBytesTypedInSixtyAndThirtySeconds) {
  // With a one-line file every draw is that line, so LENGTH is 4 * 25 - 4 = 96.
  WriteFile("string.dat", std::string(25, 's') + "\r\n");
  for (const auto& timing : {std::pair<std::int64_t, const char*>{15000, "96.00 char/60s"},
                             {7500, "192.00 char/60s"}}) {
    ScriptedPlayer player;
    player.typing = TypeTheSentence;
    player.millis_per_prompt = timing.first;
    Play(player);
    EXPECT_EQ(player.shown_length, 96);
    EXPECT_EQ(player.shown_speed, timing.second);
    EXPECT_EQ(Game().timer_end - Game().timer_start, timing.first * 4 / 1000.0);
  }
}

TEST_F(GameTest, TotalLengthIsTheFourDrawnLengthsLessFour) {
  WriteFile("string.dat", std::string(10, 'a') + "\n" + std::string(20, 'b') + "\n" +
                              std::string(30, 'c') + "\n" + std::string(40, 'd') + "\n");
  for (std::uint32_t seed = 0; seed < 50; ++seed) {
    SeedRandom(seed);
    ASSERT_EQ(PrepareGame(), 1);
    int sum = 0;
    for (const auto& sentence : Game().sentences) sum += static_cast<int>(std::strlen(sentence.data()));
    ASSERT_EQ(Game().total_length, sum - 4) << "seed " << seed;
    ASSERT_EQ(Game().slot, 0);
  }
}

TEST_F(GameTest, AWrongEntryBringsTheSameSlotBackWithTheRejectedText) {
  WriteFile("string.dat", "Hello world.\n");
  ScriptedPlayer player;
  player.typing = [](int prompt) -> const char* {
    if (prompt == 2) return "Hello world. ";  // a trailing space is not the sentence
    return TypeTheSentence(prompt);
  };
  Play(player);
  ASSERT_EQ(player.prompts.size(), 5u);
  EXPECT_EQ(player.prompts[3].slot, 2);
  EXPECT_EQ(player.prompts[3].label, "--3--");
  EXPECT_EQ(player.prompts[3].sentence, "Hello world.");
  EXPECT_EQ(player.prompts[3].shown_typed, "Hello world. ");
  EXPECT_EQ(player.prompts[2].shown_typed, "") << "a slot's first prompt starts empty";
  EXPECT_EQ(player.results_shown, 1);
}

TEST_F(GameTest, QuittingTheLastPromptScoresNothing) {
  WriteFile("string.dat", "abc\n");
  ScriptedPlayer player;
  player.typing = [](int prompt) { return prompt < 3 ? TypeTheSentence(prompt) : nullptr; };
  Play(player);
  EXPECT_EQ(player.prompts.size(), 4u);
  EXPECT_EQ(player.results_shown, 0);
  EXPECT_FALSE(Exists(kHighScoreFile));
  EXPECT_EQ(Game().slot, 3) << "the slot stays where the game was left";
}

TEST_F(GameTest, AFinishedGameIsSavedWithItsDate) {
  WriteFile("string.dat", "abcdef\n");
  std::tm local{};
  local.tm_year = 99;
  local.tm_mon = 7;
  local.tm_mday = 4;
  local.tm_hour = 7;
  local.tm_min = 4;
  local.tm_sec = 32;
  local.tm_isdst = -1;
  g_calendar = std::mktime(&local);
  ScriptedPlayer player;
  player.typing = TypeTheSentence;
  player.millis_per_prompt = 1000;
  player.outcomes = {kOutcomeHighScore};
  Play(player);

  const std::string bytes = ReadFile(kHighScoreFile);
  ASSERT_EQ(bytes.size(), 480u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("Ann\0", 4));
  EXPECT_EQ(bytes.substr(24, 21), std::string("Aug 04 07:04:32 1999\0", 21));
  EXPECT_EQ(EntryScore(0), 20 * 60.0 / 4.0);
  EXPECT_EQ(player.high_scores_shown, 1);
  EXPECT_EQ(player.top_name_at_high_scores, "Ann");
}

TEST_F(GameTest, RetryPlaysAnotherGameWithTheSameNameAndNoDeeperStack) {
  WriteFile("string.dat", "one\ntwo\nthree\n");
  ScriptedPlayer player;
  player.typing = TypeTheSentence;
  player.millis_per_prompt = 700;
  player.outcomes = std::vector<int>(1000, kOutcomeRetry);
  player.outcomes.push_back(kOutcomeOk);
  Play(player);
  EXPECT_EQ(player.results_shown, 1001);
  EXPECT_EQ(player.names_asked, 1);
  EXPECT_EQ(player.prompts.size(), 4u * 1001);
  EXPECT_EQ(player.result_frames.front(), player.result_frames.back())
      << "each retry must begin after the previous game returned";
  EXPECT_EQ(ReadFile(kHighScoreFile).size(), 480u);
}

TEST_F(GameTest, CancellingTheNamePlaysUnderAnEmptyName) {
  WriteFile("string.dat", "x\n");
  ScriptedPlayer player;
  player.name_result = 2;
  player.typing = TypeTheSentence;
  player.millis_per_prompt = 100;
  Play(player);
  EXPECT_EQ(player.results_shown, 1);
  EXPECT_EQ(player.shown_name, "");
  EXPECT_EQ(EntryName(0), "");
  EXPECT_EQ(player.shown_length, 0);
}

TEST_F(GameTest, ANameDialogWithoutAnOwnerEndsTheProgramButNotTheGame) {
  WriteFile("string.dat", "x\n");
  ScriptedPlayer player;
  player.name_result = 0;
  player.typing = TypeTheSentence;
  Play(player);
  EXPECT_EQ(player.ends, 1);
  EXPECT_EQ(player.prompts.size(), 4u);
}

TEST_F(GameTest, NoSentenceToDrawTellsThePlayerAndStartsNothing) {
  for (const char* content : {static_cast<const char*>(nullptr), "", "\x1A" "after the end\n"}) {
    std::remove("string.dat");
    if (content) WriteFile("string.dat", content);
    ScriptedPlayer player;
    player.typing = TypeTheSentence;
    Play(player);
    ASSERT_EQ(player.reported_files.size(), 1u);
    EXPECT_EQ(player.reported_files[0], "string.dat");
    EXPECT_TRUE(player.prompts.empty());
    EXPECT_EQ(player.names_asked, 0);
    EXPECT_EQ(player.results_shown, 0);
    EXPECT_FALSE(Exists(kHighScoreFile));
  }
}

TEST_F(GameTest, ZeroElapsedTimeStillGivesABoundedSpeedText) {
  WriteFile("string.dat", "abc\n");
  ScriptedPlayer player;
  player.typing = TypeTheSentence;
  player.millis_per_prompt = 0;
  Play(player);
  EXPECT_EQ(player.shown_speed, "inf char/60s");
}

TEST(ComputeSpeed, LengthTimesSixtyOverSeconds) {
  EXPECT_EQ(ComputeSpeed(96, 60.0), 96.0);
  EXPECT_EQ(ComputeSpeed(96, 30.0), 192.0);
  EXPECT_EQ(ComputeSpeed(-4, 60.0), -4.0);
}

TEST(SlotLabel, OneToFour) {
  EXPECT_STREQ(SlotLabel(0), "--1--");
  EXPECT_STREQ(SlotLabel(3), "--4--");
  EXPECT_STREQ(SlotLabel(4), "");
}

}  // namespace
}  // namespace tolvi
