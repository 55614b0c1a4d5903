// Whole games against a scripted player: prompts, timing, scoring and outcomes.
#include <ctime>

#include "support.h"
#include "practice/game.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

using Log = std::vector<std::string>;
std::int64_t g_millis = 0;
std::time_t AugustFourth() {
  std::tm local{};
  local.tm_year = 99, local.tm_mon = 7, local.tm_mday = 4, local.tm_hour = 7, local.tm_min = 4, local.tm_sec = 32;
  return local.tm_isdst = -1, std::mktime(&local);
}

// Types what it is told at each line of its log ("" the sentence, "quit" to quit),
// taking millis_per_prompt each, ends the results with its outcomes (the last one
// again and again), and logs what it was shown.
struct Player : GamePresenter {
  int name_result = 1;
  std::int64_t millis_per_prompt = 0;
  Log typing, log;
  std::vector<int> outcomes = {kOutcomeOk};
  std::size_t results = 0;
  const void* frames[2] = {};  // of the first and the latest result

  int AskPlayerName() override {
    if (name_result == 1) std::strcpy(PlayerName(), "Ann");
    return log.push_back("name?"), name_result;
  }
  int PromptSentence() override {
    char* typed = Game().typed[Game().slot].data();
    const char* sentence = Game().sentences[Game().slot].data();
    log.push_back(std::string(SlotLabel(Game().slot)) + " " + sentence + "|" + typed);
    const std::string entry = typing.size() < log.size() ? "" : typing[log.size() - 1];
    std::strcpy(typed, entry.empty() ? sentence : entry.c_str());
    return g_millis += millis_per_prompt, entry == "quit" ? kOutcomeCancel : 1;
  }
  int ShowGameResult() override {
    const int here = 0;
    frames[1] = &here, frames[0] = frames[0] ? frames[0] : &here;
    log.push_back(std::string(PlayerName()) + " " + std::to_string(Game().total_length) + " " + Game().speed_text.data());
    return outcomes[std::min(results++, outcomes.size() - 1)];
  }
  void ShowHighScores() override { log.push_back("top " + std::string(EntryName(0)) + " " + std::string(EntryDate(0))); }
  void ReportNoSentences(const char* file) override { log.push_back(std::string("no sentence in ") + file); }
  void EndProgram() override { log.push_back("end program"); }
  Log Play() { return PlayGame(*this, GameClock{[] { return g_millis; }, AugustFourth}), log; }
};

class GameTest : public ::testing::Test {
 protected:
  GameTest() { PlayerName()[0] = '\0'; }
  test::FreshFolder folder_;
};

TEST_F(GameTest, FourSentencesTimedScoredAndSaved) {
  test::WriteFile("string.dat", "25 bytes for each prompt.\r\n");  // every draw; LENGTH 4 * 25 - 4
  for (const auto& [millis, speed] : {std::pair<int, const char*>{15000, "96.00"}, {7500, "192.00"}}) {
    Player player;
    player.millis_per_prompt = millis, player.outcomes = {kOutcomeHighScore};
    const Log log = player.Play();  // the second game's prompts start empty again
    EXPECT_EQ(Log(log.end() - 6, log.end()),
              (Log{"--1-- 25 bytes for each prompt.|", "--2-- 25 bytes for each prompt.|", "--3-- 25 bytes for each prompt.|",
                   "--4-- 25 bytes for each prompt.|", std::string("Ann 96 ") + speed + " char/60s", "top Ann Aug 04 07:04:32 1999"}));
  }
  const std::string bytes = test::ReadFile(kHighScoreFile);
  EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(24, 21), std::string("Ann\0Aug 04 07:04:32 1999\0", 25));
  EXPECT_EQ(EntryScore(0) + EntryScore(1) / 1000, 192.096);
}

TEST_F(GameTest, AWrongEntryComesBackAndQuittingScoresNothing) {
  test::WriteFile("string.dat", "Hi.\n");
  Player player;
  player.typing = {"", "", "", "Hi. ", "", "quit"};
  EXPECT_EQ(player.Play(), (Log{"name?", "--1-- Hi.|", "--2-- Hi.|", "--3-- Hi.|", "--3-- Hi.|Hi. ", "--4-- Hi.|"}));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
  EXPECT_EQ(Game().slot, 3) << "the slot stays where the game was left";
}

TEST_F(GameTest, NoSentenceNoNameNoOwnerAndARefusedSave) {
  for (const char* content : {"", "\x1A" "after\n", "missing"}) {
    test::WriteFile("string.dat", content);
    if (content == std::string("missing")) std::filesystem::remove("string.dat");
    EXPECT_EQ(Player().Play(), Log{"no sentence in string.dat"});
  }
  test::WriteFile("string.dat", "x\n");
  Player cancelled, ownerless;
  cancelled.name_result = 2, ownerless.name_result = 0;
  EXPECT_EQ(cancelled.Play().back(), " 0 nan char/60s") << "an empty name; no length in no time";
  std::filesystem::remove(kHighScoreFile);
  const FileOps system = ScoreFileOps();
  ScoreFileOps().write = [](const char*, const void*, std::size_t) { return WriteResult::kFailed; };
  const Log log = ownerless.Play();
  ScoreFileOps() = system;
  EXPECT_EQ(Log(log.begin(), log.begin() + 2), (Log{"name?", "end program"})) << "told to end, the game goes on";
  EXPECT_EQ(log.back(), " 0 nan char/60s") << "a refused save still shows the result";
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
}

TEST_F(GameTest, AThousandRetriesOnOneStack) {
  test::WriteFile("string.dat", "one\ntwo\nthree\n");
  Player player;
  player.millis_per_prompt = 700, player.outcomes = std::vector<int>(1000, kOutcomeRetry);
  player.outcomes.push_back(kOutcomeOk);
  const Log log = player.Play();
  EXPECT_EQ(log.size() + std::count(log.begin(), log.end(), "name?"), 1 + 5 * 1001u + 1);
  EXPECT_EQ(player.frames[0], player.frames[1]) << "each game begins after the last returned";
  EXPECT_EQ(std::string(SlotLabel(4)) + SlotLabel(-1), "");
}

}  // namespace
}  // namespace tolvi
