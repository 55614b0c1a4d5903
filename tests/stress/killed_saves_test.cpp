// A save killed at any moment leaves highscore.dat whole: the old table or the new,
// and the next game's save clears whatever the killed one left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "save_tables.h"
#include "scores/high_scores.h"
#include "temp_folder.h"

extern char** environ;

namespace tolvi {
namespace {

constexpr int kKills = 500;
constexpr int kLongestDelayMicros = 4000;
const std::string kTempFile = std::string(kHighScoreFile) + ".tmp";

class KilledSaves : public test::InTempFolder {};

// Starts the save loop in the working folder and returns once its first table is
// in place; 0 when it could not be started.
pid_t StartSaveLoop() {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return 0;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
  const std::string folder = std::filesystem::current_path().string();
  char program[] = TOLVI_SAVE_LOOP;
  char* argv[] = {program, const_cast<char*>(folder.c_str()), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ready[1]);
  char byte = 0;
  const bool started = spawned == 0 && read(ready[0], &byte, 1) == 1;
  close(ready[0]);
  if (spawned == 0 && !started) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  return started ? pid : 0;
}

TEST_F(KilledSaves, TheFileIsAlwaysOneWholeTable) {
  const std::string a = stress::ImageOf(stress::FullTable('A', 1000.0));
  const std::string b = stress::ImageOf(stress::FullTable('B', 2000.0));
  const std::uint32_t seed = std::random_device()();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delay_micros(0, kLongestDelayMicros);

  int kills = 0, found_a = 0, found_b = 0, temps_left = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < kKills; ++round) {
    const pid_t pid = StartSaveLoop();
    ASSERT_NE(pid, 0) << "the save loop " << TOLVI_SAVE_LOOP << " did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(delay_micros(random)));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the save loop ended by itself with status " << status << " in round " << round;
    ++kills;

    const std::string bytes = ReadFile(kHighScoreFile);
    ASSERT_EQ(bytes.size(), 480u) << "round " << round << " (seed " << seed << ")";
    ASSERT_TRUE(bytes == a || bytes == b) << "a torn table in round " << round << " (seed " << seed << ")";
    ++(bytes == a ? found_a : found_b);
    if (Exists(kTempFile)) ++temps_left;

    // The next game in this folder loads what is there and saves over it.
    HighScores() = HighScoreTable{};
    ASSERT_EQ(LoadHighScores(), 1) << "round " << round;
    ASSERT_EQ(stress::ImageOf(HighScores()), bytes) << "round " << round;
    ASSERT_EQ(InsertScore("after", 5000.0, "Dec 06 23:59:59 2025"), 1) << "round " << round;
    ASSERT_FALSE(Exists(kTempFile)) << "round " << round;
    ASSERT_EQ(ReadFile(kHighScoreFile), stress::ImageOf(HighScores())) << "round " << round;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("[ stress   ] %d kills survived in %.1f s (delays 0-%d us, seed %u): table A %d times, "
              "table B %d times; %d kills left a temporary file behind\n",
              kills, seconds, kLongestDelayMicros, seed, found_a, found_b, temps_left);
  RecordProperty("kills", kills);
  RecordProperty("found_a", found_a);
  RecordProperty("found_b", found_b);
  EXPECT_GT(found_a, 0);
  EXPECT_GT(found_b, 0);
}

}  // namespace
}  // namespace tolvi
