// The sentence file: text-mode line rules, 79-byte pieces, rand15, counting and drawing.

#include "support.h"
#include "practice/random.h"
#include "practice/sentence_source.h"

namespace tolvi {
namespace {

using Lines = std::vector<std::string>;

// Every line the reader gives; the count of the same file must agree.
Lines ReadAll(const std::string& bytes, int capacity) {
  test::WriteFile("lines.txt", bytes);
  SentenceStream stream("lines.txt"), again("lines.txt");
  Lines lines;
  char buffer[kSentenceBytes] = "untouched";
  while (read_sentence_line(buffer, capacity, stream)) lines.emplace_back(buffer);
  EXPECT_TRUE(capacity > 0 || std::strcmp(buffer, "untouched") == 0) << "no capacity, nothing written";
  EXPECT_TRUE(capacity != kSentenceBytes || CountLines(again) == static_cast<int>(lines.size())) << bytes;
  return lines;
}

class SentenceFile : public ::testing::Test {
  test::FreshFolder folder_;
};

TEST_F(SentenceFile, TextModeLineRules) {
  std::string pad;  // 829 lines of 78 bytes leave 45 bytes of the first 64 KiB block
  for (int i = 0; i < 829; ++i) pad += std::string(78, 'p') + "\n";
  const std::string p(78, 'p'), q(44, 'q'), x79(79, 'x'), a = "\x82\xA0", ya = "\x88\x9F";
  std::string a39, ya39;  // 78 bytes each; the trail byte of ya looks like a lead byte
  for (int i = 0; i < 39; ++i) a39 += a, ya39 += ya;
  const auto then = [](std::size_t n, const std::string& line, Lines rest) {
    return rest.insert(rest.begin(), n, line), rest;
  };
  const auto padded = [&](const Lines& rest) { return then(829, p, rest); };
  const struct {
    std::string bytes;
    Lines lines;
    int capacity = kSentenceBytes;
  } rows[] = {
      {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"a\n\nb\n", {"a", "", "b"}}, {"\n", {""}}, {"", {}},
      {"a\rb\r", {"a\rb\r"}}, {"a\r\r\nb", {"a\r", "b"}}, {"a\nb\x1A" "c\nd\n", {"a", "b"}},
      {std::string(100, 'x'), {x79, std::string(21, 'x')}}, {x79 + "\n", {x79, ""}}, {p + "\r\nq", {p, "q"}},
      {x79 + "\rq", {x79, "\rq"}}, {"abcdef\n", {"ab", "cd", "ef", ""}, 3}, {"ab", {}, 1}, {"ab\n", {}, 0},
      {"ab\n", {}, -1}, {pad + q + "\r\nend", padded({q, "end"})}, {pad + q + "\rx\n", padded({q + "\rx"})},
      {pad + std::string(100, 'r'), padded({std::string(79, 'r'), std::string(21, 'r')})},
      {pad + q + "qw\x1A" "w", padded({q + "qw"})}, {p + a + "y", {p, a + "y"}}, {x79 + a, {x79, a}},
      {"x" + ya39 + "z", {"x" + ya39, "z"}}, {ya39 + ya, {ya39, ya}}, {x79.substr(2) + "\x82\n", {x79.substr(2) + "\x82"}}, {a39 + a39 + a39 + a39 + a39 + a39.substr(0, 10), then(5, a39, {a39.substr(0, 10)})}, {std::string(65546, 'x'), then(829, x79, {std::string(55, 'x')})},
  };
  for (const auto& row : rows) EXPECT_EQ(ReadAll(row.bytes, row.capacity), row.lines) << row.bytes.substr(0, 20);
}

TEST_F(SentenceFile, Rand15DecidesTheDrawAndAShortenedFileGivesItsLastLine) {
  SeedRandom(0xFFFFFFFFu);
  EXPECT_EQ(rand15(), 35) << "the state wraps at 32 bits";
  SeedRandom(0);
  EXPECT_EQ((std::vector<int>{rand15(), rand15(), rand15()}), (std::vector<int>{38, 7719, 21238}));

  test::WriteFile("string.dat", "zero\none\r\ntwo\nthree\n" + std::string(100, 'f'));
  ASSERT_EQ(CountSentences(), 1);
  SeedRandom(0);  // 38, 7719, 21238, 2437, 8855: lines 2, 3, 4, 1, 5 of 6
  for (const std::string& expected : Lines{"two", "three", std::string(79, 'f'), "one", std::string(21, 'f')}) {
    char sentence[kSentenceBytes] = "";
    ASSERT_EQ(DrawSentence(sentence), 1);
    EXPECT_EQ(sentence, expected);
  }
  char sentence[kSentenceBytes] = "kept";
  for (const char* now : {"first\nlast\n", ""}) {  // line 38 % 6 = 2 is gone
    test::WriteFile("string.dat", now);
    SeedRandom(0);
    ASSERT_EQ(DrawSentence(sentence), 1);
    EXPECT_STREQ(sentence, *now ? "last" : "");
  }
}

TEST_F(SentenceFile, NoLineOrNoFileDrawsNothing) {
  char sentence[kSentenceBytes] = "kept";
  test::WriteFile("string.dat", "");
  ASSERT_EQ(CountSentences(), 1);
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
