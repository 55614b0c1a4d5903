// The sentence file: text-mode line rules, 79-byte pieces, counting and drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "practice/random.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"
#include "temp_folder.h"

namespace tolvi {
namespace {

using test::InTempFolder;

// A plain byte-at-a-time model of a text-mode read with an 80-byte line buffer.
std::vector<std::string> ReferenceLines(const std::string& raw) {
  std::string text;
  for (std::size_t i = 0; i < raw.size() && raw[i] != 0x1A; ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::string line;
    while (pos < text.size() && line.size() < 79) {
      const char c = text[pos++];
      if (c == '\n') break;
      line += c;
    }
    // The game sees a line as text, which ends at a NUL byte.
    lines.push_back(line.substr(0, line.find('\0')));
  }
  return lines;
}

class SentenceFile : public InTempFolder {
 protected:
  static std::vector<std::string> ReadAll(const std::string& bytes) {
    WriteFile("lines.txt", bytes);
    SentenceStream stream("lines.txt");
    std::vector<std::string> lines;
    char buffer[kSentenceBytes];
    while (const char* line = read_sentence_line(buffer, kSentenceBytes, stream)) {
      lines.emplace_back(line, std::strlen(line));
    }
    return lines;
  }
};

TEST_F(SentenceFile, LineEndingRules) {
  const std::string long_line(100, 'x');
  const std::string exact_line(79, 'y');
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"CR LF endings", "a\r\nb\r\n", {"a", "b"}},
      {"no final LF", "a\nb", {"a", "b"}},
      {"empty middle line", "a\n\nb\n", {"a", "", "b"}},
      {"lone CR stays", "a\rb\n", {"a\rb"}},
      {"CR CR LF keeps one CR", "a\r\r\nb", {"a\r", "b"}},
      {"CR before end of file stays", "a\r", {"a\r"}},
      {"0x1A ends the text", "a\nb\x1A" "c\nd\n", {"a", "b"}},
      {"CR before 0x1A stays", "a\r\x1A\n", {"a\r"}},
      {"100-byte line is two pieces", long_line, {std::string(79, 'x'), std::string(21, 'x')}},
      {"79-byte line then its LF", exact_line + "\n", {exact_line, ""}},
      {"CR LF straddling the 79th byte", std::string(78, 'z') + "\r\nq", {std::string(78, 'z'), "q"}},
      {"a NUL byte ends the text of its line", std::string("a\0b\nc", 5), {"a", "c"}},
      {"empty file", "", {}},
      {"a lone LF", "\n", {""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadAll(c.bytes), c.lines) << c.what;
    EXPECT_EQ(ReferenceLines(c.bytes), c.lines) << "model disagrees: " << c.what;
  }
}

TEST_F(SentenceFile, CarriageReturnAtABlockBoundary) {
  // The reader takes 64 KiB at a time; a CR LF split across two blocks is one LF.
  const std::size_t block = 64 * 1024;
  for (std::size_t cr_at : {block - 2, block - 1, block}) {
    std::string bytes;
    while (bytes.size() < cr_at) bytes += bytes.size() % 50 == 49 ? '\n' : 'k';
    bytes += "\r\nend\rx\n";
    EXPECT_EQ(ReadAll(bytes), ReferenceLines(bytes)) << "CR at " << cr_at;
  }
}

TEST_F(SentenceFile, AgreesWithTheModelOnRandomFiles) {
  std::mt19937 random(20261206);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n', ' ', '\0', '\x1A', '\xE3'};
  for (int round = 0; round < 200; ++round) {
    const std::size_t size = random() % (round < 190 ? 600 : 150000);
    const int symbols = round % 3 == 0 ? 10 : 8;  // most files have no 0x1A
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
      bytes += random() % 4 == 0 ? alphabet[random() % symbols] : static_cast<char>('c' + random() % 20);
    }
    const std::vector<std::string> expected = ReferenceLines(bytes);
    ASSERT_EQ(ReadAll(bytes), expected) << "round " << round;
  }
}

TEST(ReadSentenceLine, NoCapacityIsNoLine) {
  SentenceStream missing("no-such-file.txt");
  char buffer[4] = "abc";
  EXPECT_EQ(read_sentence_line(buffer, 0, missing), nullptr);
  EXPECT_EQ(read_sentence_line(buffer, -5, missing), nullptr);
  EXPECT_STREQ(buffer, "abc");
}

TEST_F(SentenceFile, SmallCapacityCutsIntoSmallPieces) {
  WriteFile("lines.txt", "abcdef\n");
  SentenceStream stream("lines.txt");
  char buffer[3];
  std::vector<std::string> pieces;
  while (read_sentence_line(buffer, 3, stream)) pieces.emplace_back(buffer);
  EXPECT_EQ(pieces, (std::vector<std::string>{"ab", "cd", "ef", ""}));
}

class SentenceDraw : public InTempFolder {};

TEST_F(SentenceDraw, CountFollowsTheLinesAndMissingFileCountsZero) {
  WriteFile("string.dat", std::string(100, 'x') + "\nshort\n");
  EXPECT_EQ(CountSentences(), 1);
  EXPECT_EQ(SentenceCount(), 3);
  std::remove("string.dat");
  EXPECT_EQ(CountSentences(), 0);
  EXPECT_EQ(SentenceCount(), 0);
}

TEST_F(SentenceDraw, OneLineFileAlwaysGivesThatLine) {
  WriteFile("string.dat", "only line\r\n");
  ASSERT_EQ(CountSentences(), 1);
  SeedRandom(987);
  for (int i = 0; i < 20; ++i) {
    char sentence[kSentenceBytes] = "";
    ASSERT_EQ(DrawSentence(sentence), 1);
    EXPECT_STREQ(sentence, "only line");
  }
}

TEST_F(SentenceDraw, DrawTakesTheLineThatRand15Picks) {
  WriteFile("string.dat", "zero\none\ntwo\nthree\nfour\n");
  ASSERT_EQ(CountSentences(), 1);
  const char* names[] = {"zero", "one", "two", "three", "four"};
  SeedRandom(0);  // 38, 7719, 21238 -> lines 3, 4, 3
  for (int expected : {3, 4, 3}) {
    char sentence[kSentenceBytes] = "";
    ASSERT_EQ(DrawSentence(sentence), 1);
    EXPECT_STREQ(sentence, names[expected]);
  }
}

TEST_F(SentenceDraw, ShortenedFileGivesItsLastLineOrAnEmptyOne) {
  WriteFile("string.dat", "a\nb\nc\nd\ne\n");
  ASSERT_EQ(CountSentences(), 1);
  WriteFile("string.dat", "first\nlast\n");
  SeedRandom(0);  // 38 % 5 = 3: the fourth line, which is gone
  char sentence[kSentenceBytes] = "stale";
  ASSERT_EQ(DrawSentence(sentence), 1);
  EXPECT_STREQ(sentence, "last");
  WriteFile("string.dat", "");
  ASSERT_EQ(DrawSentence(sentence), 1);
  EXPECT_STREQ(sentence, "");
}

TEST_F(SentenceDraw, NoLineOrNoFileLeavesTheDestination) {
  WriteFile("string.dat", "");
  ASSERT_EQ(CountSentences(), 1);
  EXPECT_EQ(SentenceCount(), 0);
  char sentence[kSentenceBytes] = "kept";
  EXPECT_EQ(DrawSentence(sentence), 0);
  EXPECT_STREQ(sentence, "kept");

  WriteFile("string.dat", "x\n");
  ASSERT_EQ(CountSentences(), 1);
  std::remove("string.dat");
  EXPECT_EQ(DrawSentence(sentence), 0);
  EXPECT_STREQ(sentence, "kept");
}

}  // namespace
}  // namespace tolvi
