// Whole games against a scripted player: prompts, timing, scoring and outcomes.
#include "practice/game.h"

#include <ctime>

#include "practice/history.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"
#include "support.h"

namespace tolvi {
namespace {

using Log = std::vector<std::string>;

std::int64_t g_millis = 0;

std::int64_t TestMillis() { return g_millis; }

// Aug 04 07:04:32 1999 in Tokyo.
LocalTime AugustFourth1999() { return {933717872, 9 * 3600}; }

// Types what its script says for each thing it is shown ("" the sentence itself, "quit"
// to quit), taking millis_per_prompt a prompt; ends the results with its outcomes, the
// last one again and again; and logs what it was shown.
class Player : public GamePresenter {
 public:
  int name_result = 1;
  std::int64_t millis_per_prompt = 0;
  Log script;
  std::vector<int> outcomes = {kOutcomeOk};
  const void* first_result_frame = nullptr;
  const void* last_result_frame = nullptr;

  Log Play() {
    PlayGame(*this, GameClock{TestMillis, AugustFourth1999});
    return log_;
  }

  int AskPlayerName() override {
    if (name_result == 1) std::strcpy(PlayerName(), "Ann");
    log_.push_back("name?");
    return name_result;
  }
  int PromptSentence() override {
    char* typed = Game().typed[Game().slot].data();
    const char* sentence = Game().sentences[Game().slot].data();
    log_.push_back(std::string(SlotLabel(Game().slot)) + " " + sentence + "|" + typed);
    const std::string entry = log_.size() <= script.size() ? script[log_.size() - 1] : "";
    std::strcpy(typed, entry.empty() ? sentence : entry.c_str());
    g_millis += millis_per_prompt;
    return entry == "quit" ? kOutcomeCancel : 1;
  }
  int ShowGameResult() override {
    const int here = 0;
    if (first_result_frame == nullptr) first_result_frame = &here;
    last_result_frame = &here;
    log_.push_back(std::string(PlayerName()) + " " + std::to_string(Game().total_length) + " " +
                   Game().speed_text.data());
    return outcomes[std::min(results_++, outcomes.size() - 1)];
  }
  void ShowHighScores() override {
    log_.push_back("top " + std::string(EntryName(0)) + " " + std::string(EntryDate(0)));
  }
  void ReportNoSentences(const char* file) override {
    log_.push_back(std::string("no sentence in ") + file);
  }
  void EndProgram() override { log_.push_back("end program"); }

 private:
  Log log_;
  std::size_t results_ = 0;
};

class GameTest : public ::testing::Test {
 protected:
  GameTest() { PlayerName()[0] = '\0'; }
  test::FreshFolder folder_;
};

TEST_F(GameTest, FourSentencesTimedScoredAndSaved) {
  test::WriteFile("string.dat", "25 bytes for each prompt.\r\n");  // LENGTH 4 * 25 - 4
  const std::string prompt = " 25 bytes for each prompt.|";
  for (const auto& [millis, speed] :
       {std::pair<int, std::string>{15000, "96.00"}, {7500, "192.00"}}) {
    Player player;
    player.millis_per_prompt = millis;
    player.outcomes = {kOutcomeHighScore};
    const Log log = player.Play();
    // The second game asks no name, and its prompts start empty again.
    EXPECT_EQ(Log(log.end() - 6, log.end()),
              (Log{"--1--" + prompt, "--2--" + prompt, "--3--" + prompt, "--4--" + prompt,
                   "Ann 96 " + speed + " char/60s", "top Ann Aug 04 07:04:32 1999"}));
  }
  const std::string bytes = test::ReadFile(kHighScoreFile);
  EXPECT_EQ(bytes.substr(0, 4), std::string("Ann\0", 4));
  EXPECT_EQ(bytes.substr(24, 21), std::string("Aug 04 07:04:32 1999\0", 21));
  EXPECT_EQ(EntryScore(0), 192.0);
  EXPECT_EQ(EntryScore(1), 96.0);
}

TEST_F(GameTest, AWrongEntryComesBackAndQuittingScoresNothing) {
  test::WriteFile("string.dat", "Hi.\n");
  Player player;
  player.script = {"", "", "", "Hi. ", "", "quit"};
  EXPECT_EQ(player.Play(), (Log{"name?", "--1-- Hi.|", "--2-- Hi.|", "--3-- Hi.|", "--3-- Hi.|Hi. ",
                                "--4-- Hi.|"}));
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
  EXPECT_FALSE(std::filesystem::exists(kHistoryFile));
  EXPECT_EQ(Game().slot, 3) << "the slot stays where the game was left";
}

TEST_F(GameTest, EachGameWithItsMissesInTheHistoryEvenWhenItCannotBeWritten) {
  test::WriteFile("string.dat", "Hi.\n");
  Player player;
  player.millis_per_prompt = 1500;
  player.script = {"", "Hi", "", "Hi. ", ""};  // one missed '.', one that only ran on
  player.Play();
  const std::string history =
      "\xEF\xBB\xBF"
      "date,player,length,seconds,speed,misses,missed\r\n"
      "1999-08-04T07:04:32+09:00,Ann,8,9.000,53.33,2,\".\"\r\n";
  EXPECT_EQ(test::ReadFile(kHistoryFile), history);
  const HistoryFileOps system = HistoryOps();
  HistoryOps().append = [](const char*, const void*, std::size_t) { return false; };
  const Log log = Player().Play();
  HistoryOps() = system;
  EXPECT_EQ(log.back(), "Ann 8 inf char/60s") << "the result still shows";
  EXPECT_EQ(std::make_pair(Game().misses, Game().missed), std::make_pair(0, std::string()))
      << "each game counts its own misses";
  EXPECT_EQ(EntryScore(0), INFINITY) << "and the score is saved";
  EXPECT_EQ(test::ReadFile(kHistoryFile), history);
}

TEST_F(GameTest, NoSentenceAsksNothing) {
  const char* const contents[] = {"",
                                  "\x1A"
                                  "after\n",
                                  nullptr};  // no file
  for (const char* content : contents) {
    std::filesystem::remove("string.dat");
    if (content) test::WriteFile("string.dat", content);
    EXPECT_EQ(Player().Play(), Log{"no sentence in string.dat"});
  }
}

TEST_F(GameTest, ANameCancelledOrWithoutOwnerAndARefusedSave) {
  test::WriteFile("string.dat", "x\n");
  Player cancelled;
  cancelled.name_result = 2;
  EXPECT_EQ(cancelled.Play().back(), " 0 nan char/60s")
      << "an empty name, and no length in no time";
  std::filesystem::remove(kHighScoreFile);
  const FileOps system = ScoreFileOps();
  ScoreFileOps().write = [](const char*, const void*, std::size_t) { return WriteResult::kFailed; };
  Player ownerless;
  ownerless.name_result = 0;
  const Log log = ownerless.Play();
  ScoreFileOps() = system;
  EXPECT_EQ(Log(log.begin(), log.begin() + 2), (Log{"name?", "end program"}))
      << "told to end, the game goes on";
  EXPECT_EQ(log.back(), " 0 nan char/60s") << "a refused save still shows the result";
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile));
}

TEST_F(GameTest, AThousandRetriesOnOneStack) {
  test::WriteFile("string.dat", "one\ntwo\nthree\n");
  Player player;
  player.millis_per_prompt = 700;
  player.outcomes = std::vector<int>(1000, kOutcomeRetry);
  player.outcomes.push_back(kOutcomeOk);
  const Log log = player.Play();
  EXPECT_EQ(std::count(log.begin(), log.end(), "name?"), 1);
  EXPECT_EQ(log.size(), 1 + 5 * 1001u) << "a name, then four prompts and a result a game";
  EXPECT_EQ(player.first_result_frame, player.last_result_frame)
      << "each game begins after the last returned";
  EXPECT_STREQ(SlotLabel(4), "");
  EXPECT_STREQ(SlotLabel(-1), "");
}

}  // namespace
}  // namespace tolvi
