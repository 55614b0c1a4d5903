// Saves killed at random moments and cut by power failures: highscore.dat is always
// the old table or the new one, never a mix and never a short file.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "scores/file_ops.h"
#include "scores/high_scores.h"
#include "support.h"

namespace tolvi {
namespace {

constexpr int kKills = 200;
char g_letter = 'A';

ReadResult ReadAllOfLetter(const char*, void* bytes, std::size_t capacity, std::size_t* size) {
  std::memset(bytes, g_letter, capacity);
  *size = capacity;
  return ReadResult::kRead;
}

// A child that saves tables of all A and all B in turn until it is killed; it writes a
// byte to ready once A is in place.
pid_t StartSaving(int ready) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  ScoreFileOps().read = ReadAllOfLetter;
  if (!LoadHighScores() || !SaveHighScores() || write(ready, "r", 1) != 1) _exit(2);
  for (;;) {
    g_letter = g_letter == 'A' ? 'B' : 'A';
    if (!LoadHighScores() || !SaveHighScores()) _exit(3);
  }
}

TEST(CrashedSaves, AKilledSaveLeavesOneWholeTable) {
  test::FreshFolder folder;
  const std::uint32_t seed = std::random_device()();
  std::mt19937 random(seed);
  std::map<std::string, int> seen;
  for (int kill_number = 0; kill_number < kKills; ++kill_number) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = StartSaving(ready[1]);
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the saving child did not start";
    close(ready[0]);
    close(ready[1]);
    usleep(random() % 3000);
    int status = 0;
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::string bytes = test::ReadFile(kHighScoreFile);
    ASSERT_TRUE(bytes == std::string(480, 'A') || bytes == std::string(480, 'B'))
        << bytes.size() << " bytes after kill " << kill_number << ", seed " << seed;
    ++seen[bytes.substr(0, 1)];
    ASSERT_EQ(InsertScore("next", 1e300, "Dec 07 12:00:00 2026"), 1) << "the next save clears up";
    ASSERT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
  }
  std::printf("[ killed   ] %d saves (seed %u): table A %d times, B %d times\n", kKills, seed,
              seen["A"], seen["B"]);
  EXPECT_EQ(seen.size(), 2u) << "kills fell both before and after a rename";
}

// What a save did, step by step: 'w'rite, 'f'lush and 'r'ename.
struct Step {
  char kind;
  std::string path;
  std::string to_or_bytes;
};
std::vector<Step> g_steps;
FileOps g_system;

WriteResult RecordWrite(const char* path, const void* bytes, std::size_t size) {
  g_steps.push_back({'w', path, std::string(static_cast<const char*>(bytes), size)});
  return g_system.write(path, bytes, size);
}
bool RecordFlush(const char* path) {
  g_steps.push_back({'f', path, ""});
  return g_system.flush(path);
}
bool RecordRename(const char* from, const char* to) {
  g_steps.push_back({'r', from, to});
  return g_system.move_over(from, to);
}

// A file on a disk: what is surely on it, and what was written since.
struct DiskFile {
  std::string flushed;
  std::string written;
};
using Disk = std::map<std::string, DiskFile>;

// The tables a program would show after the power failed with this disk: each file
// that was written since its flush keeps none, half or all of what was written.
std::vector<std::string> ShownAfterPowerCut(const Disk& disk) {
  std::vector<std::string> shown;
  for (int kept_halves = 0; kept_halves <= 2; ++kept_halves) {
    test::WriteFile(kHighScoreFile, std::string(480, '\0'));  // a short file shows
    LoadHighScores();
    std::remove(kHighScoreFile);
    for (const auto& [path, file] : disk) {
      const bool torn = file.flushed != file.written;
      test::WriteFile(path, torn ? file.written.substr(0, file.written.size() * kept_halves / 2)
                                 : file.written);
    }
    std::string table = LoadHighScores() ? "" : "nothing loaded";
    for (int i = 0; i < kHighScoreEntries; ++i) {
      table += std::string(EntryName(i)) + std::to_string(EntryScore(i)) + " ";
    }
    shown.push_back(table);
    std::remove("highscore.dat.tmp");
  }
  return shown;
}

// The power fails after each step of a save.
TEST(CrashedSaves, APowerCutAtAnyStepLeavesOneWholeTable) {
  test::FreshFolder folder;
  ASSERT_EQ(InsertScore("old", 50, "Aug 04 07:04:32 1999"), 1);
  const std::string old_file = test::ReadFile(kHighScoreFile);
  const std::string old_table = ShownAfterPowerCut({{kHighScoreFile, {old_file, old_file}}})[0];
  g_system = ScoreFileOps();
  ScoreFileOps() = {g_system.read, RecordWrite, RecordFlush, RecordRename, g_system.remove};
  ASSERT_EQ(InsertScore("new", 60, "Dec 07 12:00:00 2026"), 1);
  ScoreFileOps() = g_system;
  const std::string new_file = test::ReadFile(kHighScoreFile);
  const std::string new_table = ShownAfterPowerCut({{kHighScoreFile, {new_file, new_file}}})[0];
  Disk disk = {{kHighScoreFile, {old_file, old_file}}};
  std::vector<Disk> cuts = {disk};
  for (const Step& step : g_steps) {
    if (step.kind == 'w') disk[step.path].written = step.to_or_bytes;
    if (step.kind == 'f') disk[step.path].flushed = disk[step.path].written;
    if (step.kind == 'r') {
      disk[step.to_or_bytes] = disk[step.path];
      disk.erase(step.path);
    }
    cuts.push_back(disk);
  }
  for (std::size_t cut = 0; cut < cuts.size(); ++cut) {
    for (const std::string& shown : ShownAfterPowerCut(cuts[cut])) {
      EXPECT_TRUE(shown == old_table || shown == new_table) << "cut " << cut << ": " << shown;
    }
  }
  std::printf("[ power    ] %zu steps of a save, each cut 3 ways\n", g_steps.size());
}

}  // namespace
}  // namespace tolvi
