// Saves that fail (a full disk, a file or folder that cannot be replaced): the score
// is refused, the old file stays byte for byte, nothing is left behind, and a game
// still shows its result.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "failing_file_replace.h"
#include "practice/game.h"
#include "practice/random.h"
#include "save_tables.h"
#include "scores/high_scores.h"
#include "scripted_player.h"
#include "temp_folder.h"

namespace tolvi {
namespace {

using stress::Faults;

const std::string kTempFile = std::string(kHighScoreFile) + ".tmp";
const char kDate[] = "Dec 06 23:59:59 2025";

struct Fault {
  const char* what;
  bool full_disk, read_only;
};
const Fault kFaults[] = {
    {"full disk", true, false},
    {"read-only file or folder", false, true},
    {"both", true, true},
};

class FailedSaves : public test::InTempFolder {
 protected:
  void SetUp() override {
    InTempFolder::SetUp();
    Faults() = stress::FileReplaceFaults{};
    HighScores() = HighScoreTable{};
  }
  void TearDown() override {
    std::printf("[ stress   ] %d faults injected\n", Faults().injected);
    RecordProperty("faults_injected", Faults().injected);
    Faults() = stress::FileReplaceFaults{};
    InTempFolder::TearDown();
  }
  static void Inject(const Fault& fault) {
    Faults().full_disk = fault.full_disk;
    Faults().read_only = fault.read_only;
  }
  static void Heal() { Inject({"none", false, false}); }
};

TEST_F(FailedSaves, AnEnteringScoreIsRefusedAndTheOldFileStays) {
  const std::string old_file = stress::ImageOf(stress::FullTable('A', 1000.0));  // 1000 down to 910
  for (const Fault& fault : kFaults) {
    WriteFile(kHighScoreFile, old_file);
    Inject(fault);
    const int injected = Faults().injected;
    EXPECT_EQ(InsertScore("Zed", 955.0, kDate), 0) << fault.what;
    EXPECT_EQ(Faults().injected, injected + 1) << fault.what;
    EXPECT_EQ(ReadFile(kHighScoreFile), old_file) << fault.what;
    EXPECT_FALSE(Exists(kTempFile)) << fault.what;

    // A score that does not enter writes nothing, so nothing can fail.
    const int flushes = Faults().flushes, moves = Faults().moves;
    EXPECT_EQ(InsertScore("Low", 5.0, kDate), 1) << fault.what;
    EXPECT_EQ(Faults().flushes, flushes) << fault.what;
    EXPECT_EQ(Faults().moves, moves) << fault.what;
    EXPECT_EQ(ReadFile(kHighScoreFile), old_file) << fault.what;
  }
  Heal();
  EXPECT_EQ(InsertScore("Zed", 955.0, kDate), 1) << "the same score once the disk is well";
  EXPECT_EQ(EntryName(5), "Zed");
  EXPECT_EQ(ReadFile(kHighScoreFile), stress::ImageOf(HighScores()));
}

TEST_F(FailedSaves, AMissingFileThatCannotBeMadeLeavesDefaultsInMemoryOnly) {
  for (const Fault& fault : kFaults) {
    std::remove(kHighScoreFile);
    HighScores() = stress::FullTable('B', 2000.0);
    Inject(fault);
    EXPECT_EQ(InsertScore("Zed", 955.0, kDate), 0) << fault.what;
    EXPECT_FALSE(Exists(kHighScoreFile)) << fault.what;
    EXPECT_FALSE(Exists(kTempFile)) << fault.what;
    for (int i = 0; i < kHighScoreEntries; ++i) {
      EXPECT_EQ(EntryName(i), "(non)") << fault.what << ", entry " << i;
      EXPECT_EQ(EntryScore(i), 0.0) << fault.what << ", entry " << i;
      EXPECT_EQ(EntryDate(i), "-----") << fault.what << ", entry " << i;
    }
  }
}

TEST_F(FailedSaves, AGameStillShowsItsResult) {
  WriteFile("string.dat", std::string(25, 's') + "\r\n");  // LENGTH 4 * 25 - 4 = 96
  const std::string old_file = stress::ImageOf(stress::FullTable('C', 100.0));  // 96 enters at 1
  for (const bool had_file : {true, false}) {
    for (const Fault& fault : kFaults) {
      const std::string what = std::string(fault.what) + (had_file ? ", file there" : ", no file");
      std::remove(kHighScoreFile);
      if (had_file) WriteFile(kHighScoreFile, old_file);
      PlayerName()[0] = '\0';
      SeedRandom(7);
      stress::ScriptedPlayer player;
      player.millis_for_prompt = [](long) { return 15000; };  // 60 s in all
      player.outcome = [](long) { return kOutcomeHighScore; };
      Inject(fault);
      const int injected = Faults().injected;
      PlayGame(player, stress::FakeClock());
      EXPECT_EQ(player.results, 1) << what;
      EXPECT_EQ(player.shown_speed, "96.00 char/60s") << what;
      EXPECT_EQ(player.high_scores_shown, 1) << what;
      EXPECT_EQ(Faults().injected, injected + 1) << what;
      EXPECT_EQ(Exists(kHighScoreFile), had_file) << what;
      if (had_file) {
        EXPECT_EQ(ReadFile(kHighScoreFile), old_file) << what;
      }
      EXPECT_FALSE(Exists(kTempFile)) << what;
    }
  }
}

TEST_F(FailedSaves, FaultsAtRandomNeverTearTheFile) {
  // The file must always hold the table of the last save that succeeded.
  std::mt19937 random(4711);
  ASSERT_EQ(LoadHighScores(), 1);
  std::string last_saved = ReadFile(kHighScoreFile);
  int refused = 0, saved = 0;
  for (int round = 0; round < 400; ++round) {
    const Fault& fault = kFaults[random() % 3];
    const bool faulty = random() % 2 == 0;
    if (faulty) {
      Inject(fault);
    } else {
      Heal();
    }
    // Mostly rising, so most offers enter and are saved or refused.
    const double speed = round + static_cast<double>(random() % 2000) / 100.0;
    const int flushes = Faults().flushes;
    const int result = InsertScore("p" + std::to_string(round), speed, kDate);
    const bool wrote = Faults().flushes != flushes;
    if (wrote && faulty) {
      ASSERT_EQ(result, 0) << "round " << round << ", " << fault.what;
      ++refused;
    } else {
      ASSERT_EQ(result, 1) << "round " << round;
      if (wrote) {
        last_saved = stress::ImageOf(HighScores());
        ++saved;
      }
    }
    ASSERT_EQ(ReadFile(kHighScoreFile), last_saved) << "round " << round;
    ASSERT_FALSE(Exists(kTempFile)) << "round " << round;
  }
  std::printf("[ stress   ] 400 offers: %d saved, %d refused by a fault\n", saved, refused);
  EXPECT_GT(refused, 0);
  EXPECT_GT(saved, 0);
}

}  // namespace
}  // namespace tolvi
