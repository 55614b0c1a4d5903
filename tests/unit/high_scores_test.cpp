// highscore.dat byte for byte: the default file, the ranking rule, stale bytes, short,
// long, garbled and refused files.
#include "scores/high_scores.h"

#include "practice/sentence_source.h"
#include "practice/settings.h"
#include "scores/file_ops.h"
#include "support.h"

namespace tolvi {
namespace {

using Scores = std::vector<double>;
const Scores kTens = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
const char kDate[] = "Aug 04 07:04:32 1999";

std::string Record(const std::string& name, double score, const std::string& date) {
  std::string bytes(48, '\0');
  std::memcpy(&bytes[16], &score, 8);  // both builds run on little-endian machines
  bytes.replace(0, name.size(), name);
  return bytes.replace(24, date.size(), date);
}

// Entry i is named p<i> and dated d<i>; with no scores, the default table.
std::string TableOf(const Scores& scores) {
  std::string bytes;
  for (std::size_t i = 0; i < 10; ++i) {
    const std::string n = std::to_string(i);
    bytes += scores.empty() ? Record("(non)", 0, "-----") : Record("p" + n, scores[i], "d" + n);
  }
  return bytes;
}

// The table in memory, as a save writes it.
std::string Image() {
  EXPECT_EQ(SaveHighScores(), 1);
  return test::ReadFile(kHighScoreFile);
}

class HighScoreFile : public ::testing::Test {
 protected:
  HighScoreFile() { ZeroTable(); }
  // The table as at program start, whatever an earlier test left in it.
  static void ZeroTable() {
    test::WriteFile(kHighScoreFile, std::string(480, '\0'));
    LoadHighScores();
    std::remove(kHighScoreFile);
  }
  test::FreshFolder folder_;
};

TEST_F(HighScoreFile, ANewScoreGoesJustBelowTheLowestThatBeatsIt) {
  struct Row {
    Scores table;  // none: no file
    double speed;
    int place;  // 10: left out, the file untouched
  };
  const Row rows[] = {
      {{}, 50, 0},
      {{}, 0, 0},
      {kTens, 55, 5},
      {kTens, 5, 10},
      {kTens, 100, 0},
      {kTens, 10, 9},
      {{5, 50, 1, 1, 1, 1, 1, 1, 1, 1}, 20, 2},
      {kTens, NAN, 0},
      {{1, 1, 1, 1, 1, 1, 1, 1, 1, NAN}, 0.5, 9},
  };
  for (const Row& row : rows) {
    ZeroTable();
    if (!row.table.empty()) test::WriteFile(kHighScoreFile, TableOf(row.table) + "trailer");
    ASSERT_EQ(InsertScore("a-name-of-17bytes", row.speed, kDate), 1) << row.speed;
    std::string expected = TableOf(row.table);
    if (row.place == 10) {
      expected += "trailer";
    } else {
      expected.insert(48 * row.place, Record("a-name-of-17byt", row.speed, kDate)).resize(480);
    }
    EXPECT_EQ(test::ReadFile(kHighScoreFile), expected)
        << row.speed << " into " << row.table.size();
  }
}

TEST_F(HighScoreFile, MovesOnlyTheTextsAndTheScoreAndCutsTheDate) {
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
  EXPECT_EQ(Image(), TableOf(kTens)) << "only the first 480 bytes are read";
  std::remove(kHighScoreFile);
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_STREQ(EntryShown(9).score, " 0.00  -----") << "a missing file brings the default table";
  EXPECT_EQ(test::ReadFile(kHighScoreFile), TableOf({})) << "and writes it";
  test::WriteFile(kHighScoreFile, TableOf(kTens));
  ASSERT_EQ(LoadHighScores(), 1);
  test::WriteFile(kHighScoreFile, "Zed");
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_EQ(Image(), "Zed" + TableOf(kTens).substr(3)) << "only the bytes the file holds";
  test::WriteFile(kHighScoreFile, std::string(480, 'A'));  // no zero byte anywhere
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_EQ(EntryName(0), std::string(16, 'A'));
  EXPECT_STREQ(EntryShown(0).name, std::string(16, 'A').c_str());
  EXPECT_STREQ(EntryShown(0).score, ("2261634.51  " + std::string(24, 'A')).c_str());
  // A double-byte character cut by the end of its field is not shown by half.
  test::WriteFile(kHighScoreFile, std::string(15, 'A') + "\x82" + std::string(464, '\x82'));
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_STREQ(EntryShown(0).name, std::string(15, 'A').c_str());
  for (int i : {-1, 10}) {
    EXPECT_EQ(EntryName(i), "");
    EXPECT_EQ(EntryDate(i), "");
    EXPECT_EQ(EntryScore(i), 0.0);
  }
}

FileOps g_system;
WriteResult g_temp_answer;
WriteResult g_file_answer;

// A disk that answers each write as told: the temporary file first, then the file itself.
WriteResult AnswerAsTold(const char* path, const void* bytes, std::size_t size) {
  const bool file = std::strcmp(path, kHighScoreFile) == 0;
  const WriteResult answer = file ? g_file_answer : g_temp_answer;
  return answer == WriteResult::kWritten ? g_system.write(path, bytes, size) : answer;
}

TEST_F(HighScoreFile, ARefusedSaveKeepsTheOldTableAndALockedFolderTakesItInPlace) {
  const std::string old_table = TableOf(kTens);
  const std::string new_table = (Record("new", 1000, kDate) + old_table).substr(0, 480);
  struct Row {
    WriteResult temp;
    WriteResult file;
    int saved;
  };
  const Row rows[] = {
      {WriteResult::kFailed, WriteResult::kWritten, 0},
      {WriteResult::kNotCreated, WriteResult::kNotCreated, 0},
      {WriteResult::kNotCreated, WriteResult::kFailed, 0},
      {WriteResult::kNotCreated, WriteResult::kWritten, 1},
  };
  for (const Row& row : rows) {
    test::WriteFile(kHighScoreFile, old_table);
    g_system = ScoreFileOps();
    g_temp_answer = row.temp;
    g_file_answer = row.file;
    ScoreFileOps().write = AnswerAsTold;
    EXPECT_EQ(InsertScore("new", 1000, kDate), row.saved);
    const std::string file = test::ReadFile(kHighScoreFile);
    ScoreFileOps() = g_system;
    EXPECT_EQ(file, row.saved ? new_table : old_table);
    EXPECT_EQ(Image(), file) << "the table in memory is the file's";
    EXPECT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
  }
}

#ifndef _WIN32
TEST_F(HighScoreFile, NoFileLeftOpenNorReplacedWhereItMustNotBe) {
  // A file replaced twice is gone once removed: the one it replaced does not come back.
  ASSERT_EQ(InsertScore("one", 1, kDate) + InsertScore("two", 2, kDate), 2);
  std::remove(kHighScoreFile);
  EXPECT_FALSE(std::filesystem::exists(kHighScoreFile)) << "a table replaced, then removed";
  // A folder in its place cannot be replaced.
  std::filesystem::create_directories(std::string(kHighScoreFile) + "/x");
  EXPECT_EQ(InsertScore("new", 1000, kDate), 0);
  std::filesystem::remove_all(kHighScoreFile);
#ifndef __EMSCRIPTEN__
  // A file that is there but cannot be opened is kept as it is, and nothing is offered to
  // it; the browser has no such file, nor a disk that refuses a flush, nor /proc.
  std::filesystem::create_symlink(kHighScoreFile, kHighScoreFile);
  EXPECT_EQ(InsertScore("new", 1000, kDate), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(kHighScoreFile));
  EXPECT_EQ(EntryName(9), "(non)");
  EXPECT_FALSE(std::filesystem::exists("highscore.dat.tmp"));
  std::filesystem::remove(kHighScoreFile);
  EXPECT_FALSE(FlushFile("/dev/null")) << "a file that cannot be put on the disk";

  const auto open_files = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  test::WriteFile("string.dat", "x\n");
  const auto before = open_files();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(LoadSettings() + CountSentences() + InsertScore("n", i, kDate), 3);
  }
  EXPECT_EQ(open_files(), before) << "after a thousand games";
#endif
}
#endif

}  // namespace
}  // namespace tolvi
