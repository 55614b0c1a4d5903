// highscore.dat: exact bytes, the ranking rule, stale bytes, garbled and failed files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "scores/high_scores.h"
#include "temp_folder.h"

namespace tolvi {
namespace {

// One 48-byte record as the file holds it.
std::string Record(const std::string& name, double score, const std::string& date) {
  std::string bytes(48, '\0');
  std::memcpy(&bytes[0], name.data(), std::min<std::size_t>(name.size(), 16));
  std::uint64_t bits;
  std::memcpy(&bits, &score, sizeof bits);
  for (int i = 0; i < 8; ++i) bytes[16 + i] = static_cast<char>(bits >> (8 * i) & 0xFF);
  std::memcpy(&bytes[24], date.data(), std::min<std::size_t>(date.size(), 24));
  return bytes;
}

std::string TableOf(const std::vector<double>& scores) {
  std::string bytes;
  for (std::size_t i = 0; i < scores.size(); ++i) {
    bytes += Record("p" + std::to_string(i), scores[i], "Jan 01 00:00:0" + std::to_string(i) + " 2000");
  }
  return bytes;
}

std::vector<double> Scores() {
  std::vector<double> scores;
  for (int i = 0; i < kHighScoreEntries; ++i) scores.push_back(EntryScore(i));
  return scores;
}

class HighScoreFile : public test::InTempFolder {
 protected:
  void SetUp() override {
    InTempFolder::SetUp();
    HighScores() = HighScoreTable{};
  }
};

const std::vector<double> kTens = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};

TEST_F(HighScoreFile, FirstLoadCreatesTheDefaultFileByteForByte) {
  ASSERT_EQ(LoadHighScores(), 1);
  const std::string bytes = ReadFile(kHighScoreFile);
  ASSERT_EQ(bytes.size(), 480u);
  const std::string entry = std::string("(non)") + std::string(11, '\0') + std::string(8, '\0') +
                            "-----" + std::string(19, '\0');
  for (int i = 0; i < 10; ++i) EXPECT_EQ(bytes.substr(48 * i, 48), entry) << "entry " << i;
  EXPECT_FALSE(Exists(std::string(kHighScoreFile) + ".tmp"));

  char text[kScoreTextBytes];
  FormatScoreText(9, text);
  EXPECT_STREQ(text, " 0.00  -----");
  EXPECT_EQ(EntryName(9), "(non)");
}

TEST_F(HighScoreFile, RankingRule) {
  const struct {
    const char* what;
    std::vector<double> table;  // empty: no file
    double speed;
    int place;  // -1: does not enter
    std::vector<double> after;
  } cases[] = {
      {"into the default table", {}, 50.0, 0, {50, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"zero above equal zeros", {}, 0.0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"middle", kTens, 55, 5, {100, 90, 80, 70, 60, 55, 50, 40, 30, 20}},
      {"too low", kTens, 5, -1, kTens},
      {"equal to the best goes first", kTens, 100, 0, {100, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
      {"equal to the last enters", kTens, 10, 9, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}},
      {"unsorted table: just below the lowest that beats it", {5, 50, 1, 1, 1, 1, 1, 1, 1, 1}, 20, 2,
       {5, 50, 20, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    std::remove(kHighScoreFile);
    if (!c.table.empty()) WriteFile(kHighScoreFile, TableOf(c.table) + "trailer");
    ASSERT_EQ(InsertScore("new", c.speed, "Aug 04 07:04:32 1999"), 1) << c.what;
    EXPECT_EQ(Scores(), c.after) << c.what;
    const std::string bytes = ReadFile(kHighScoreFile);
    if (c.place < 0) {
      // Not rewritten: the trailer a rewrite would drop is still there.
      EXPECT_EQ(bytes.size(), 480u + 7u) << c.what;
    } else {
      ASSERT_EQ(bytes.size(), 480u) << c.what;
      EXPECT_EQ(EntryName(c.place), "new") << c.what;
      EXPECT_EQ(EntryDate(c.place), "Aug 04 07:04:32 1999") << c.what;
      EXPECT_EQ(std::memcmp(bytes.data(), HighScores().data(), 480), 0) << c.what;
    }
  }
}

TEST_F(HighScoreFile, MovesOnlyTheThreeFieldsAndKeepsStaleBytes) {
  std::string table = TableOf(kTens);
  table.replace(48 * 4, 16, "LongerName12345", 16);  // entry 4, 15 letters and a zero
  table.replace(48 * 3, 16, std::string("Bob\0", 4) + std::string(12, '\x7F'));
  WriteFile(kHighScoreFile, table);
  ASSERT_EQ(InsertScore("Ann", 75, "Mar 03 03:03:03 2003 and more"), 1);

  const std::string bytes = ReadFile(kHighScoreFile);
  // Bob moved from 3 to 4: his four bytes over the old name, the rest of it left.
  EXPECT_EQ(bytes.substr(48 * 4, 16), std::string("Bob\0", 4) + std::string("erName12345\0", 12));
  // Ann went over Bob's field at 3: "Ann" and a zero, then Bob's stale bytes.
  EXPECT_EQ(bytes.substr(48 * 3, 16), std::string("Ann\0", 4) + std::string(12, '\x7F'));
  // The date is cut to 20 characters and a zero; the old date's last bytes stay.
  EXPECT_EQ(bytes.substr(48 * 3 + 24, 21), std::string("Mar 03 03:03:03 2003\0", 21));
  EXPECT_EQ(EntryDate(3), "Mar 03 03:03:03 2003");
}

TEST_F(HighScoreFile, ShortAndLongFiles) {
  ASSERT_EQ(LoadHighScores(), 1);  // defaults in memory and on disk
  WriteFile(kHighScoreFile, "Zed");
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_EQ(EntryName(0), "Zedn)");  // "Zed" over "(no"; the rest of the name stays
  EXPECT_EQ(std::string(HighScores()[0].name.data(), 6), std::string("Zedn)\0", 6));
  EXPECT_EQ(EntryName(1), "(non)");

  WriteFile(kHighScoreFile, TableOf(kTens) + std::string(10000, 'J'));
  ASSERT_EQ(LoadHighScores(), 1);
  EXPECT_EQ(Scores(), kTens);
}

TEST_F(HighScoreFile, GarbledFieldsReadNoFurtherThanTheirField) {
  std::string table = TableOf(kTens);
  table.replace(0, 48, std::string(48, 'A'));  // no zero byte anywhere in entry 0
  std::string nan = Record("nan", std::nan(""), "d");
  std::string inf = Record("inf", -std::numeric_limits<double>::infinity(), "d");
  std::string huge = Record("huge", std::numeric_limits<double>::max(), std::string(24, 'D'));
  table.replace(48, 48, nan);
  table.replace(96, 48, inf);
  table.replace(144, 48, huge);
  WriteFile(kHighScoreFile, table);
  ASSERT_EQ(LoadHighScores(), 1);

  EXPECT_EQ(EntryName(0), std::string(16, 'A'));
  EXPECT_EQ(EntryDate(0), std::string(24, 'A'));
  char text[kScoreTextBytes + 8];
  std::memset(text, '#', sizeof text);
  for (int i = 0; i < kHighScoreEntries; ++i) {
    FormatScoreText(i, text);
    EXPECT_LE(std::strlen(text), kScoreTextBytes - 1) << "rank " << i + 1;
    EXPECT_EQ(text[kScoreTextBytes], '#') << "wrote past the buffer at rank " << i + 1;
  }
  FormatScoreText(1, text);
  EXPECT_STREQ(text, "  nan  d");
  FormatScoreText(2, text);
  EXPECT_STREQ(text, " -inf  d");
  FormatScoreText(3, text);
  EXPECT_EQ(std::string(text), "179769313486231570814527423731704356798070567525844");

  // Ranking over such a table neither crashes nor runs past a field.
  ASSERT_EQ(InsertScore("x", 42, "Aug 04 07:04:32 1999"), 1);
  EXPECT_EQ(ReadFile(kHighScoreFile).size(), 480u);
}

TEST_F(HighScoreFile, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string old_table = TableOf(kTens);
  WriteFile(kHighScoreFile, old_table);
  const std::string temp = std::string(kHighScoreFile) + ".tmp";
  std::filesystem::create_directory(temp);  // the temporary cannot be written
  EXPECT_EQ(InsertScore("new", 1000, "Aug 04 07:04:32 1999"), 0);
  EXPECT_EQ(ReadFile(kHighScoreFile), old_table);
  EXPECT_EQ(std::memcmp(HighScores().data(), old_table.data(), 480), 0)
      << "the table in memory shows what the file holds";
  std::filesystem::remove(temp);

  EXPECT_EQ(InsertScore("new", 1000, "Aug 04 07:04:32 1999"), 1);
  EXPECT_EQ(EntryName(0), "new");
  EXPECT_FALSE(Exists(temp));
}

TEST_F(HighScoreFile, AFolderInThePlaceOfTheFileIsNeitherReplacedNorCrashed) {
  std::filesystem::create_directory(kHighScoreFile);
  EXPECT_EQ(InsertScore("new", 50, "Aug 04 07:04:32 1999"), 0);
  EXPECT_TRUE(std::filesystem::is_directory(kHighScoreFile));
  EXPECT_FALSE(Exists(std::string(kHighScoreFile) + ".tmp"));
}

TEST_F(HighScoreFile, ResetWritesDefaultsEvenOverAnOldTable) {
  WriteFile(kHighScoreFile, TableOf(kTens));
  ASSERT_EQ(ResetHighScores(), 1);
  EXPECT_EQ(Scores(), std::vector<double>(10, 0.0));
  EXPECT_EQ(ReadFile(kHighScoreFile).size(), 480u);
  EXPECT_EQ(EntryName(5), "(non)");
  EXPECT_EQ(EntryName(10), "");
  EXPECT_EQ(EntryScore(-1), 0.0);
}

}  // namespace
}  // namespace tolvi
