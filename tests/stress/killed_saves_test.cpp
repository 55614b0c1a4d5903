// A save killed at any moment leaves highscore.dat whole, the old table or the new,
// and the next game saves over whatever the killed one left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

#include "files.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

constexpr int kKills = 200;

// Every byte says which table it came from.
std::string Filled(char letter) { return std::string(sizeof(HighScoreTable), letter); }

char g_letter = 'A';

// A child that saves tables A and B in turn until it is killed, once A is in place.
pid_t StartSaving() {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    // The table to save comes in as if it were read from the file.
    ScoreFileOps().read = [](const char*, void* bytes, std::size_t capacity, std::size_t* size) {
      std::memset(bytes, g_letter, *size = capacity);
      return ReadResult::kRead;
    };
    if (!LoadHighScores() || !SaveHighScores() || write(ready[1], "r", 1) != 1) _exit(2);
    for (;;) {
      g_letter = static_cast<char>('A' + 'B' - g_letter);
      if (!LoadHighScores() || !SaveHighScores()) _exit(3);
    }
  }
  char byte;
  const bool started = pid > 0 && read(ready[0], &byte, 1) == 1;
  close(ready[0]), close(ready[1]);
  return started ? pid : -1;
}

TEST(KilledSaves, TheFileIsAlwaysOneWholeTable) {
  test::FreshFolder folder;
  const std::uint32_t seed = std::random_device()();
  std::mt19937 random(seed);
  int seen[2] = {0, 0}, temps_left = 0;
  for (int kill_number = 0; kill_number < kKills; ++kill_number) {
    const pid_t pid = StartSaving();
    ASSERT_GT(pid, 0) << "the saving child did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    int status = 0;
    ASSERT_TRUE(kill(pid, SIGKILL) == 0 && waitpid(pid, &status, 0) == pid && WIFSIGNALED(status));
    const std::string bytes = test::ReadFile(kHighScoreFile);
    ASSERT_TRUE(bytes == Filled('A') || bytes == Filled('B'))
        << "a torn table of " << bytes.size() << " bytes after kill " << kill_number << ", seed " << seed;
    ++seen[bytes[0] - 'A'];
    temps_left += std::filesystem::exists("highscore.dat.tmp");
    ASSERT_EQ(InsertScore("next", 1e300, "Dec 07 12:00:00 2026"), 1);
    ASSERT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
  }
  std::printf("[ stress   ] %d saves killed (seed %u): table A %d times, B %d times, %d temporary files left\n",
              kKills, seed, seen[0], seen[1], temps_left);
  EXPECT_GT(seen[0] * seen[1], 0) << "kills fell both before and after a rename";
}

}  // namespace
}  // namespace tolvi
