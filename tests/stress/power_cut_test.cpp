// A save cut by a power failure after each of its steps, the disk keeping only what
// was flushed: a write not yet flushed is lost, torn or whole, and a rename not yet on
// the disk may or may not have happened. The next load finds the old table or the new.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "files.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

struct Step { char kind; std::string path, to, bytes; };  // 'w'rite, 'f'lush, 'r'ename, rename 'd'one
std::vector<Step> g_steps;
FileOps g_system;

WriteResult RecordWrite(const char* path, const void* bytes, std::size_t size) {
  g_steps.push_back({'w', path, "", std::string(static_cast<const char*>(bytes), size)});
  return g_system.write(path, bytes, size);
}
bool RecordFlush(const char* path) { return g_steps.push_back({'f', path, "", ""}), g_system.flush(path); }
bool RecordRename(const char* from, const char* to) {
  g_steps.push_back({'r', from, to, ""});
  const bool moved = g_system.move_over(from, to);
  return g_steps.push_back({'d', "", "", ""}), moved;
}

// Loads the folder over a table unlike any saved, so that a short file shows.
std::string LoadAndShow(const std::map<std::string, std::string>& folder) {
  test::WriteFile(kHighScoreFile, std::string(480, '\0'));
  LoadHighScores();
  std::remove("highscore.dat.tmp");
  for (const auto& [path, bytes] : folder) test::WriteFile(path, bytes);
  std::string shown = LoadHighScores() ? "" : "nothing loaded";
  for (int i = 0; i < kHighScoreEntries; ++i) shown += std::string(EntryName(i)) + std::to_string(EntryScore(i)) + " ";
  return shown;
}

TEST(PowerCut, TheNextLoadFindsTheOldTableOrTheNew) {
  test::FreshFolder folder;
  ASSERT_EQ(InsertScore("old", 50, "Aug 04 07:04:32 1999"), 1);
  const std::string old_file = test::ReadFile(kHighScoreFile), old_shown = LoadAndShow({{kHighScoreFile, old_file}});
  g_system = ScoreFileOps();
  ScoreFileOps() = {g_system.read, RecordWrite, RecordFlush, RecordRename, g_system.remove};
  ASSERT_EQ(InsertScore("new", 60, "Dec 07 12:00:00 2026"), 1);
  ScoreFileOps() = g_system;
  const std::string new_shown = LoadAndShow({{kHighScoreFile, test::ReadFile(kHighScoreFile)}});
  for (std::size_t cut = 0; cut <= g_steps.size(); ++cut) {
    for (int torn = 0; torn < 6; ++torn) {  // lost, half or whole; with a rename undone or not
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
      if (renaming && torn % 2) disk = before_rename;
      std::map<std::string, std::string> folder;
      for (const auto& [path, data] : disk) {
        const std::string& written = data.second;
        folder[path] = data.first == written ? written : written.substr(0, written.size() * (torn / 2) / 2);
      }
      const std::string shown = LoadAndShow(folder);
      EXPECT_TRUE(shown == old_shown || shown == new_shown) << "cut after step " << cut << ", way " << torn << ": " << shown;
    }
  }
  std::printf("[ power    ] %zu steps of a save, each cut 6 ways\n", g_steps.size());
}

}  // namespace
}  // namespace tolvi
