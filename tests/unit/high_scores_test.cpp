// highscore.dat byte for byte: the default file, the ranking rule, stale bytes,
// short, long, garbled and refused files.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace tolvi {
namespace {

using Scores = std::vector<double>;
const Scores kTens = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
const char kDate[] = "Aug 04 07:04:32 1999";

std::string Record(const std::string& name, double score, const std::string& date) {
  std::string bytes(48, '\0');
  bytes.replace(0, name.size(), name);
  std::memcpy(&bytes[16], &score, 8);  // both builds run on little-endian machines
  return bytes.replace(24, date.size(), date);
}

std::string TableOf(const Scores& scores) {
  std::string bytes;
  for (double s : scores) {
    const std::string i = std::to_string(bytes.size() / 48);
    bytes += Record("p" + i, s, "d" + i);
  }
  return bytes;
}

Scores Memory() {
  Scores scores;
  for (int i = 0; i < kHighScoreEntries; ++i) scores.push_back(EntryScore(i));
  return scores;
}

std::string Image() { return {reinterpret_cast<const char*>(HighScores().data()), 480}; }

class HighScoreFile : public ::testing::Test {
  test::FreshFolder folder_;
};

TEST_F(HighScoreFile, FirstLoadWritesTheDefaultFile) {
  HighScores() = HighScoreTable{};
  ASSERT_EQ(LoadHighScores(), 1);
  std::string expected;
  for (int i = 0; i < 10; ++i) expected += Record("(non)", 0.0, "-----");
  EXPECT_EQ(test::ReadFile(kHighScoreFile), expected);
  EXPECT_EQ(Image(), expected);
  EXPECT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
}

TEST_F(HighScoreFile, RankingRule) {
  const struct {
    const char* what;
    Scores table;  // empty: no file
    double speed;
    int place;  // 10: does not enter
    Scores after;
  } rows[] = {
      {"into the default table", {}, 50, 0, {50, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"zero above equal zeros", {}, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"middle", kTens, 55, 5, {100, 90, 80, 70, 60, 55, 50, 40, 30, 20}}, {"too low", kTens, 5, 10, kTens},
      {"tie with the best", kTens, 100, 0, {100, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
      {"tie with the last", kTens, 10, 9, kTens},
      {"unsorted", {5, 50, 1, 1, 1, 1, 1, 1, 1, 1}, 20, 2, {5, 50, 20, 1, 1, 1, 1, 1, 1, 1}},
      {"NaN beaten by none", kTens, NAN, 0, {NAN, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
      {"NaN beats none", {1, 1, 1, 1, 1, 1, 1, 1, 1, NAN}, 0.5, 9, {1, 1, 1, 1, 1, 1, 1, 1, 1, 0.5}},
  };
  for (const auto& row : rows) {
    std::remove(kHighScoreFile);
    if (!row.table.empty()) test::WriteFile(kHighScoreFile, TableOf(row.table) + "trailer");
    ASSERT_EQ(InsertScore("a-name-of-17bytes", row.speed, kDate), 1) << row.what;
    const Scores after = Memory();
    for (int i = 0; i < 10; ++i) {
      EXPECT_TRUE(after[i] == row.after[i] || (std::isnan(after[i]) && std::isnan(row.after[i])))
          << row.what << ": entry " << i << " is " << after[i];
    }
    const std::string bytes = test::ReadFile(kHighScoreFile);
    if (row.place == 10) {
      EXPECT_EQ(bytes, TableOf(row.table) + "trailer") << row.what << ": the file is not rewritten";
      continue;
    }
    EXPECT_EQ(bytes, Image()) << row.what;
    EXPECT_EQ(EntryName(row.place), "a-name-of-17byt") << row.what;
    EXPECT_EQ(EntryDate(row.place), kDate) << row.what;
  }
}

TEST_F(HighScoreFile, MovesOnlyTheThreeFieldsAndCutsTheDate) {
  std::string table = TableOf(kTens);
  table.replace(48 * 4, 16, "LongerName12345", 16);
  table.replace(48 * 3, 16, std::string("Bob\0", 4) + std::string(12, '\x7F'));
  test::WriteFile(kHighScoreFile, table);
  ASSERT_EQ(InsertScore("Ann", 75, "Mar 03 03:03:03 2003 and more"), 1);
  const std::string bytes = test::ReadFile(kHighScoreFile);
  // Bob moved from 3 to 4 with his zero byte; the rest of the longer name stays.
  EXPECT_EQ(bytes.substr(48 * 4, 16), std::string("Bob\0erName12345\0", 16));
  EXPECT_EQ(bytes.substr(48 * 3, 16), std::string("Ann\0", 4) + std::string(12, '\x7F'));
  EXPECT_EQ(bytes.substr(48 * 3 + 24, 24), std::string("Mar 03 03:03:03 2003\0\0\0\0", 24));
  EXPECT_EQ(EntryDate(4), "d3");
}

TEST_F(HighScoreFile, ShortLongAndGarbledFiles) {
  test::WriteFile(kHighScoreFile, TableOf(kTens) + std::string(1000, 'J'));
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_EQ(Memory(), kTens);
  test::WriteFile(kHighScoreFile, "Zed");
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_EQ(Image(), "Zed" + TableOf(kTens).substr(3)) << "only the bytes the file holds are taken";

  test::WriteFile(kHighScoreFile, std::string(48, 'A') + Record("i", -INFINITY, "d") +
                                      Record("m", DBL_MAX, std::string(24, 'D')) + TableOf(Scores(7, 1)));
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_EQ(EntryName(0), std::string(16, 'A'));
  EXPECT_EQ(EntryDate(0), std::string(24, 'A'));
  const char* expected[] = {nullptr, " -inf  d", "179769313486231570814527423731704356798070567525844"};
  for (int i = 1; i < 3; ++i) {
    char text[kScoreTextBytes + 1];
    text[kScoreTextBytes] = '#';
    FormatScoreText(i, text);
    EXPECT_STREQ(text, expected[i]);
    EXPECT_EQ(text[kScoreTextBytes], '#');
  }
  for (int i : {-1, 10}) EXPECT_EQ(std::string(EntryName(i)) + std::string(EntryDate(i)) + std::to_string(EntryScore(i)), "0.000000");
}

TEST_F(HighScoreFile, ARefusedSaveLeavesTheOldTableInTheFileAndInMemory) {
  const std::string old_table = TableOf(kTens);
  test::WriteFile(kHighScoreFile, old_table);
  const FileOps system = ScoreFileOps();
  ScoreFileOps().write = [](const char*, const void*, std::size_t) { return WriteResult::kFailed; };
  EXPECT_EQ(InsertScore("new", 1000, kDate), 0);
  ScoreFileOps() = system;
  EXPECT_EQ(test::ReadFile(kHighScoreFile), old_table);
  EXPECT_EQ(Image(), old_table);
  EXPECT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
#ifndef _WIN32
  // A folder in its place cannot be replaced; a file that is there but cannot be
  // opened is kept as it is, and nothing is offered to it.
  std::remove(kHighScoreFile);
  std::filesystem::create_directories(std::string(kHighScoreFile) + "/x");
  EXPECT_EQ(InsertScore("new", 1000, kDate), 0);
  std::filesystem::remove_all(kHighScoreFile);
  std::filesystem::create_symlink(kHighScoreFile, kHighScoreFile);
  EXPECT_EQ(InsertScore("new", 1000, kDate), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(kHighScoreFile));
  EXPECT_EQ(Memory(), Scores(10, 0.0));
  EXPECT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
#endif
}

#ifndef _WIN32
TEST_F(HighScoreFile, AThousandGamesLeaveNoFileOpen) {
  auto open_descriptors = [] {
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return std::distance(begin(fds), end(fds));
  };
  test::WriteFile("string.dat", "x\n");
  const auto before = open_descriptors();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(LoadSettings() + CountSentences() + InsertScore("n", i, kDate), 3);
  }
  EXPECT_EQ(open_descriptors(), before);
}
#endif

}  // namespace
}  // namespace tolvi
