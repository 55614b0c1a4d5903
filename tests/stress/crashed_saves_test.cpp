// Saves killed at random moments and cut by power failures: highscore.dat is always
// the old table or the new one, never a mix and never a short file.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <thread>

#include "support.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

constexpr int kKills = 200;
char g_letter = 'A';

// A child that saves tables of all A and all B in turn until it is killed, once A is in place.
pid_t StartSaving(int ready[2]) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // The table to save comes in as if it were read from the file.
  ScoreFileOps().read = [](const char*, void* bytes, std::size_t capacity, std::size_t* size) {
    return std::memset(bytes, g_letter, *size = capacity), ReadResult::kRead;
  };
  if (!LoadHighScores() || !SaveHighScores() || write(ready[1], "r", 1) != 1) _exit(2);
  for (;; g_letter = static_cast<char>('A' + 'B' - g_letter)) {
    if (!LoadHighScores() || !SaveHighScores()) _exit(3);
  }
}

TEST(CrashedSaves, AKilledSaveLeavesOneWholeTable) {
  test::FreshFolder folder;
  const std::uint32_t seed = std::random_device()();
  std::mt19937 random(seed);
  int seen[2] = {0, 0};
  for (int kill_number = 0; kill_number < kKills; ++kill_number) {
    int ready[2], status = 0;
    char byte;
    const pid_t pid = pipe(ready) == 0 ? StartSaving(ready) : -1;
    ASSERT_TRUE(pid > 0 && read(ready[0], &byte, 1) == 1) << "the saving child did not start";
    close(ready[0]), close(ready[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    ASSERT_TRUE(kill(pid, SIGKILL) == 0 && waitpid(pid, &status, 0) == pid && WIFSIGNALED(status));
    const std::string bytes = test::ReadFile(kHighScoreFile);
    ASSERT_TRUE(bytes == std::string(480, 'A') || bytes == std::string(480, 'B'))
        << "a torn table of " << bytes.size() << " bytes after kill " << kill_number << ", seed " << seed;
    ++seen[bytes[0] - 'A'];
    ASSERT_EQ(InsertScore("next", 1e300, "Dec 07 12:00:00 2026"), 1) << "the next save clears up";
    ASSERT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
  }
  std::printf("[ killed   ] %d saves (seed %u): table A %d times, B %d times\n", kKills, seed, seen[0], seen[1]);
  EXPECT_GT(seen[0] * seen[1], 0) << "kills fell both before and after a rename";
}

// What a save did: 'w'rite, 'f'lush, 'r'ename, and 'd' once the rename is on the disk.
struct Step { char kind; std::string path, to, bytes; };
std::vector<Step> g_steps;
FileOps g_system;

WriteResult RecordWrite(const char* path, const void* bytes, std::size_t size) {
  return g_steps.push_back({'w', path, "", std::string(static_cast<const char*>(bytes), size)}), g_system.write(path, bytes, size);
}
bool RecordFlush(const char* path) { return g_steps.push_back({'f', path, "", ""}), g_system.flush(path); }
bool RecordRename(const char* from, const char* to) {
  g_steps.push_back({'r', from, to, ""});
  const bool moved = g_system.move_over(from, to);
  return g_steps.push_back({'d', "", "", ""}), moved;
}

// Loads the folder over a table of zeros, so that a short file shows.
std::string LoadAndShow(const std::map<std::string, std::string>& folder) {
  test::WriteFile(kHighScoreFile, std::string(480, '\0'));
  LoadHighScores();
  std::remove("highscore.dat.tmp");
  for (const auto& [path, bytes] : folder) test::WriteFile(path, bytes);
  std::string shown = LoadHighScores() ? "" : "nothing loaded";
  for (int i = 0; i < kHighScoreEntries; ++i) shown += std::string(EntryName(i)) + std::to_string(EntryScore(i)) + " ";
  return shown;
}

// After each step the power fails: a write not yet flushed is lost, torn or whole, and
// a rename not yet on the disk happened or not.
TEST(CrashedSaves, APowerCutAtAnyStepLeavesOneWholeTable) {
  test::FreshFolder folder;
  ASSERT_EQ(InsertScore("old", 50, "Aug 04 07:04:32 1999"), 1);
  const std::string old_file = test::ReadFile(kHighScoreFile), old_shown = LoadAndShow({{kHighScoreFile, old_file}});
  g_system = ScoreFileOps();
  ScoreFileOps() = {g_system.read, RecordWrite, RecordFlush, RecordRename, g_system.remove};
  ASSERT_EQ(InsertScore("new", 60, "Dec 07 12:00:00 2026"), 1);
  ScoreFileOps() = g_system;
  const std::string new_shown = LoadAndShow({{kHighScoreFile, test::ReadFile(kHighScoreFile)}});
  for (std::size_t cut = 0; cut <= g_steps.size(); ++cut) {
    for (int way = 0; way < 6; ++way) {  // lost, half or whole; the rename undone or not
      using Disk = std::map<std::string, std::pair<std::string, std::string>>;  // flushed, written
      Disk disk = {{kHighScoreFile, {old_file, old_file}}}, before_rename;
      bool renaming = false;
      for (std::size_t i = 0; i < cut; ++i) {
        const Step& step = g_steps[i];
        if (step.kind == 'w') disk[step.path].second = step.bytes;
        if (step.kind == 'f') disk[step.path].first = disk[step.path].second;
        if (step.kind == 'r') before_rename = disk, disk[step.to] = disk[step.path], disk.erase(step.path);
        renaming = step.kind == 'r' || (renaming && step.kind != 'd');
      }
      if (renaming && way % 2) disk = before_rename;
      std::map<std::string, std::string> after;  // unflushed data lost, torn in half or whole
      for (const auto& [path, data] : disk) after[path] = data.second.substr(0, data.first == data.second ? std::string::npos : data.second.size() * (way / 2) / 2);
      const std::string shown = LoadAndShow(after);
      EXPECT_TRUE(shown == old_shown || shown == new_shown) << "cut after step " << cut << ", way " << way << ": " << shown;
    }
  }
  std::printf("[ power    ] %zu steps of a save, each cut 6 ways\n", g_steps.size());
}

}  // namespace
}  // namespace tolvi
