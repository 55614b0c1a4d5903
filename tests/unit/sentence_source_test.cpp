// The sentence file: text-mode line rules, 79-byte pieces, rand15, counting and drawing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files.h"
#include "practice/random.h"
#include "practice/sentence_source.h"

namespace tolvi {
namespace {

using Lines = std::vector<std::string>;

Lines ReadAll(const std::string& bytes, int capacity = kSentenceBytes) {
  test::WriteFile("lines.txt", bytes);
  SentenceStream stream("lines.txt");
  Lines lines;
  char buffer[kSentenceBytes] = "untouched";
  while (read_sentence_line(buffer, capacity, stream)) lines.emplace_back(buffer);
  EXPECT_TRUE(capacity > 0 || std::strcmp(buffer, "untouched") == 0) << "no capacity, nothing written";
  SentenceStream again("lines.txt");
  EXPECT_TRUE(capacity != kSentenceBytes || CountLines(again) == static_cast<int>(lines.size())) << "count";
  return lines;
}

// n lines of the same text, then the rest.
Lines Then(std::size_t n, const std::string& line, const Lines& rest) {
  Lines lines(n, line);
  lines.insert(lines.end(), rest.begin(), rest.end());
  return lines;
}

class SentenceFile : public ::testing::Test {
  test::FreshFolder folder_;
};

TEST_F(SentenceFile, TextModeLineRules) {
  // 829 lines of 78 bytes leave 45 bytes of the first 64 KiB block.
  std::string pad;
  for (int i = 0; i < 829; ++i) pad += std::string(78, 'p') + "\n";
  const std::string p(78, 'p'), q(44, 'q'), x79(79, 'x');
  const struct {
    const char* what;
    std::string bytes;
    Lines lines;
    int capacity = kSentenceBytes;
  } rows[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}}, {"LF, no final LF", "a\nb", {"a", "b"}},
      {"empty line", "a\n\nb\n", {"a", "", "b"}}, {"a lone LF", "\n", {""}}, {"empty file", "", {}},
      {"lone CRs stay", "a\rb\r", {"a\rb\r"}}, {"CR CR LF", "a\r\r\nb", {"a\r", "b"}},
      {"0x1A ends the text", "a\nb\x1A" "c\nd\n", {"a", "b"}},
      {"100 bytes: 79 and 21", std::string(100, 'x'), {x79, std::string(21, 'x')}},
      {"79 bytes then LF", x79 + "\n", {x79, ""}}, {"CR LF after 78", p + "\r\nq", {p, "q"}},
      {"CR after 79", x79 + "\rq", {x79, "\rq"}},
      {"small capacity", "abcdef\n", {"ab", "cd", "ef", ""}, 3}, {"capacity 1", "ab", {}, 1},
      {"capacity 0", "ab\n", {}, 0}, {"capacity -1", "ab\n", {}, -1},
      {"CR LF across blocks", pad + q + "\r\nend", Then(829, p, {q, "end"})},
      {"CR at the block end", pad + q + "\rx\n", Then(829, p, {q + "\rx"})},
      {"piece across blocks", pad + std::string(100, 'r'), Then(829, p, {std::string(79, 'r'), std::string(21, 'r')})},
      {"0x1A in the second block", pad + q + "qw\x1A" "w", Then(829, p, {q + "qw"})},
      {"line over two blocks", std::string(65546, 'x'), Then(829, x79, {std::string(55, 'x')})},
  };
  for (const auto& row : rows) EXPECT_EQ(ReadAll(row.bytes, row.capacity), row.lines) << row.what;
}

TEST_F(SentenceFile, Rand15PicksTheDrawnLine) {
  SeedRandom(0);
  EXPECT_EQ(rand15(), 38);
  EXPECT_EQ(rand15(), 7719);
  EXPECT_EQ(rand15(), 21238);
  SeedRandom(0xFFFFFFFFu);
  EXPECT_EQ(rand15(), 35) << "the state wraps at 32 bits";

  test::WriteFile("string.dat", "zero\none\r\ntwo\nthree\n" + std::string(100, 'f'));
  ASSERT_EQ(CountSentences(), 1);
  SeedRandom(0);  // 38, 7719, 21238: lines 2, 3, 4
  for (const std::string& expected : Lines{"two", "three", std::string(79, 'f')}) {
    char sentence[kSentenceBytes] = "";
    ASSERT_EQ(DrawSentence(sentence), 1);
    EXPECT_EQ(sentence, expected);
  }
}

TEST_F(SentenceFile, ShortenedMissingAndEmptyFiles) {
  test::WriteFile("string.dat", "a\nb\nc\nd\ne\n");
  ASSERT_EQ(CountSentences(), 1);
  char sentence[kSentenceBytes] = "stale";
  for (const char* now : {"first\nlast\n", ""}) {  // line 38 % 5 = 3 is gone
    test::WriteFile("string.dat", now);
    SeedRandom(0);
    ASSERT_EQ(DrawSentence(sentence), 1);
    EXPECT_STREQ(sentence, *now ? "last" : "");
  }
  ASSERT_EQ(CountSentences(), 1);
  std::strcpy(sentence, "kept");
  EXPECT_EQ(DrawSentence(sentence), 0) << "no line to draw";
  test::WriteFile("string.dat", "x\n");
  ASSERT_EQ(CountSentences(), 1);
  std::remove("string.dat");
  EXPECT_EQ(DrawSentence(sentence), 0) << "no file to draw from";
  EXPECT_EQ(CountSentences(), 0);
  test::WriteFile("string.dat", "x\n");
  EXPECT_EQ(DrawSentence(sentence), 0) << "a file that could not be counted has no lines";
  EXPECT_STREQ(sentence, "kept");
}

}  // namespace
}  // namespace tolvi
