// A save cut by a power failure at each of its steps, with the disk keeping only what
// was flushed: a write not yet flushed is lost, torn or whole, and a rename not yet on
// the disk may or may not have happened. The next load must find the whole old table
// or the whole new one.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "files.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

struct Step {
  char kind;  // 'w'rite, 'f'lush, 'r'ename begun, 'd'one: the rename is on the disk
  std::string path, to, bytes;
};
std::vector<Step> g_steps;
FileOps g_system;

const FileOps kRecording = {
    [](const char* path, void* bytes, std::size_t capacity, std::size_t* size) {
      return g_system.read(path, bytes, capacity, size);
    },
    [](const char* path, const void* bytes, std::size_t size) {
      g_steps.push_back({'w', path, "", std::string(static_cast<const char*>(bytes), size)});
      return g_system.write(path, bytes, size);
    },
    [](const char* path) { return g_steps.push_back({'f', path, "", ""}), g_system.flush(path); },
    [](const char* from, const char* to) {
      g_steps.push_back({'r', from, to, ""});
      const bool moved = g_system.move_over(from, to);
      g_steps.push_back({'d', "", "", ""});
      return moved;
    },
    [](const char* path) { g_system.remove(path); }};

// What the program shows of the table in memory.
std::string Shown() {
  std::string shown;
  for (int i = 0; i < kHighScoreEntries; ++i) {
    char score[kScoreTextBytes];
    FormatScoreText(i, score);
    shown += std::string(EntryName(i)) + "|" + score + "\n";
  }
  return shown;
}

TEST(PowerCut, TheNextLoadFindsTheOldTableOrTheNew) {
  test::FreshFolder folder;
  ASSERT_EQ(InsertScore("old", 50, "Aug 04 07:04:32 1999"), 1);
  const std::string old_file = test::ReadFile(kHighScoreFile), old_shown = Shown();
  g_system = ScoreFileOps();
  ScoreFileOps() = kRecording;
  ASSERT_EQ(InsertScore("new", 60, "Dec 07 12:00:00 2026"), 1);
  ScoreFileOps() = g_system;
  const std::string new_shown = Shown();

  for (std::size_t cut = 0; cut <= g_steps.size(); ++cut) {
    for (int torn = 0; torn < 3; ++torn) {
      for (bool renamed : {false, true}) {
        // Each file: what is on the disk, and what was written since.
        std::map<std::string, std::pair<std::string, std::string>> disk = {{kHighScoreFile, {old_file, old_file}}}, before_rename;
        bool rename_pending = false;
        for (std::size_t i = 0; i < cut; ++i) {
          const Step& step = g_steps[i];
          if (step.kind == 'w') disk[step.path].second = step.bytes;
          if (step.kind == 'f') disk[step.path].first = disk[step.path].second;
          if (step.kind == 'r') before_rename = disk, disk[step.to] = disk[step.path], disk.erase(step.path);
          rename_pending = step.kind == 'r' || (rename_pending && step.kind != 'd');
        }
        if (rename_pending && !renamed) disk = before_rename;
        test::WriteFile(kHighScoreFile, std::string(480, 'Z'));  // so a short file shows
        LoadHighScores();
        for (const auto& [path, data] : disk) {
          const std::string& written = data.second;
          test::WriteFile(path, data.first == written ? written : torn == 0 ? data.first : written.substr(0, written.size() * torn / 2));
        }
        LoadHighScores();
        const std::string shown = Shown();
        EXPECT_TRUE(shown == old_shown || shown == new_shown) << "cut after step " << cut << ", torn " << torn << ", renamed " << renamed << ":\n" << shown;
        std::remove("highscore.dat.tmp");
      }
    }
  }
  std::printf("[ power    ] %zu steps of a save, each cut %d ways\n", g_steps.size(), 6);
}

}  // namespace
}  // namespace tolvi
