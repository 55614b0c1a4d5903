// Appends to history.csv killed at every step and cut by power failures after each: every
// game recorded before is still read, and the next append starts on a line of its own.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/file.h"
#include "practice/game.h"
#include "practice/history.h"
#include "practice/progress.h"
#include "support.h"

namespace tolvi {
namespace {

const LocalTime kWhen{1796739382, 9 * 3600};

// A game of the given speed, in LENGTH 96.
void Record(double speed) {
  GameState game;
  game.total_length = 96;
  game.timer_end = 96 * 60 / speed;
  game.misses = 1;
  game.missed = "\xE3\x81\x82";
  ASSERT_EQ(RecordGame(game, "Ann", kWhen), 1) << speed;
}

// What a program shows after the file holds bytes, and after one more game: the speeds.
std::vector<double> Speeds() {
  std::vector<double> speeds;
  for (const ProgressGame& game : ReadProgress("Ann").recent) speeds.push_back(game.speed);
  return speeds;
}

// Where a child dies: before step `at` of its append (0 reading the last byte, 1 appending,
// 2 flushing, 3 after all), or halfway through its write.
int g_kill_at = 0;
bool g_halfway = false;
int g_step = 0;
HistoryFileOps g_system;

void StepOrDie() {
  if (g_step++ == g_kill_at) kill(getpid(), SIGKILL);
}
TailResult DyingLastByte(const char* path, char* byte) {
  StepOrDie();
  return g_system.last_byte(path, byte);
}
bool DyingAppend(const char* path, const void* bytes, std::size_t size) {
  StepOrDie();
  if (g_halfway) {
    g_system.append(path, bytes, size / 2);
    kill(getpid(), SIGKILL);
  }
  return g_system.append(path, bytes, size);
}
bool DyingFlush(const char* path) {
  StepOrDie();
  const bool flushed = g_system.flush(path);
  StepOrDie();
  return flushed;
}

TEST(CrashedAppends, AKilledAppendLosesNoEarlierGame) {
  for (int at = 0; at <= 4; ++at) {
    test::FreshFolder folder;
    Record(100);
    Record(200);
    const pid_t pid = fork();
    if (pid == 0) {
      g_system = HistoryOps();
      HistoryOps() = {DyingLastByte, DyingAppend, DyingFlush};
      g_kill_at = at == 4 ? -1 : at;
      g_halfway = at == 4;
      Record(300);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child was killed at step " << at;
    const std::vector<double> before = Speeds();
    EXPECT_EQ(std::vector<double>(before.begin(), before.begin() + 2),
              std::vector<double>({100, 200}))
        << "killed at step " << at;
    EXPECT_EQ(before.size(), at == 2 || at == 3 ? 3u : 2u) << "killed at step " << at;
    Record(400);
    EXPECT_EQ(Speeds().back(), 400) << "the next game, after a kill at step " << at;
    EXPECT_EQ(Speeds().size(), before.size() + 1) << "killed at step " << at;
  }
}

// The bytes each append wrote and when it flushed them.
struct Disk {
  std::string flushed;
  std::string written;
};
std::vector<Disk> g_cuts;  // the disk after each step of the appends recorded
Disk g_disk;

bool RecordingAppend(const char* path, const void* bytes, std::size_t size) {
  g_disk.written.append(static_cast<const char*>(bytes), size);
  g_cuts.push_back(g_disk);
  return g_system.append(path, bytes, size);
}
bool RecordingFlush(const char* path) {
  g_disk.flushed = g_disk.written;
  g_cuts.push_back(g_disk);
  return g_system.flush(path);
}

// The power fails after each step of three appends: what was written since the last
// flush is kept whole, halved, lost, or its length kept with zeros in it, as a file system
// that grew the file but never wrote its data leaves it.
TEST(CrashedAppends, APowerCutAtAnyStepLosesNoFlushedGame) {
  test::FreshFolder folder;
  g_system = HistoryOps();
  HistoryOps() = {g_system.last_byte, RecordingAppend, RecordingFlush};
  for (const double speed : {100.0, 200.0, 300.0}) Record(speed);
  HistoryOps() = g_system;
  int checked = 0;
  for (const Disk& cut : g_cuts) {
    const std::string tail = cut.written.substr(cut.flushed.size());
    for (const std::string& kept :
         {std::string(), tail.substr(0, tail.size() / 2), tail, std::string(tail.size(), '\0')}) {
      test::WriteFile(kHistoryFile, cut.flushed + kept);
      const std::vector<double> flushed = [&] {
        test::WriteFile("flushed.csv", cut.flushed);
        std::vector<double> speeds;
        const File file{std::fopen("flushed.csv", "rb")};
        for (const ProgressGame& game : ReadProgress(file.get(), "Ann").recent) {
          speeds.push_back(game.speed);
        }
        return speeds;
      }();
      const std::vector<double> shown = Speeds();
      const Progress progress = ReadProgress("Ann");
      EXPECT_EQ(progress.most_missed.empty() ? 0 : progress.most_missed[0].count, progress.games)
          << "every game read is whole, its missed character too, after cut " << checked;
      EXPECT_EQ(std::vector<double>(shown.begin(),
                                    shown.begin() + std::min(shown.size(), flushed.size())),
                flushed)
          << checked;
      EXPECT_LE(shown.size(), flushed.size() + 1) << checked;
      Record(400);
      const std::vector<double> after = Speeds();
      EXPECT_EQ(after.size(), shown.size() + 1) << "a line of its own after cut " << checked;
      EXPECT_EQ(after.back(), 400) << checked;
      ++checked;
    }
  }
  std::printf("[ power    ] %zu steps of three appends, each cut 4 ways\n", g_cuts.size());
}

}  // namespace
}  // namespace tolvi
