// The sentence file (text-mode lines, 79-byte pieces, counting and drawing with
// rand15) and the settings file.
#include "base/profile.h"
#include "practice/random.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"
#include "support.h"

namespace tolvi {
namespace {

using Lines = std::vector<std::string>;
using test::Repeat;

// Every test runs in a process of its own natively; under Wine this one runs alone.
TEST(SentenceFile, NothingIsDrawnBeforeTheFileWasCounted) {
  test::FreshFolder folder;
  test::WriteFile("string.dat", "x\n");
  EXPECT_EQ(rand15(), 41) << "a fresh process draws as if seeded with 1";
  char sentence[kSentenceBytes] = "unchanged";
  EXPECT_EQ(DrawSentence(sentence), 0);
  EXPECT_STREQ(sentence, "unchanged");
}

// n copies of line, then the rest.
Lines Then(std::size_t n, const std::string& line, Lines rest) {
  rest.insert(rest.begin(), n, line);
  return rest;
}

// Every line the reader gives; a count of the same file must agree.
Lines ReadAll(const std::string& bytes, int capacity) {
  test::WriteFile("lines.txt", bytes);
  SentenceStream stream("lines.txt");
  Lines lines;
  char buffer[kSentenceBytes];
  while (read_sentence_line(buffer, capacity, stream)) lines.emplace_back(buffer);
  if (capacity == kSentenceBytes) {
    SentenceStream again("lines.txt");
    EXPECT_EQ(CountLines(again), static_cast<int>(lines.size())) << "the count of " << bytes;
  }
  return lines;
}

class SentenceFileTest : public ::testing::Test {
  test::FreshFolder folder_;
};

TEST_F(SentenceFileTest, TextModeLinesCutInto79BytePieces) {
  const std::string p(78, 'p');
  const std::string x79(79, 'x');
  const std::string x100(100, 'x');
  const std::string a = "\x82\xA0";
  const std::string ya = "\x88\x9F";  // its trail byte looks like a lead byte
  const std::string a39 = Repeat(a, 39);
  const std::string ya39 = Repeat(ya, 39);
  // 829 lines of 79 bytes end 45 bytes short of the 64 KiB block.
  const std::string pad = Repeat(p + "\n", 829);
  const std::string q(44, 'q');
  const std::string bom = "\xEF\xBB\xBF";
  const std::string utf8_a = "\xE3\x81\x82";
  // Kana that code page 932 lacks, each beside one that it has.
  const std::string no_form = "\xE3\x82\x94";
  const std::string no_form_odd = "\xE3\x83\xB7";
  struct Row {
    std::string bytes;
    Lines lines;
    int capacity = kSentenceBytes;
  };
  const Row rows[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"\n", {""}},
      {"", {}},
      {"a\rb\r", {"a\rb\r"}},
      {"a\r\r\nb", {"a\r", "b"}},
      {"a\nb\x1A"
       "c\nd\n",
       {"a", "b"}},
      {x100, {x79, x100.substr(79)}},
      {x79 + "\n", {x79, ""}},
      {p + "\r\nq", {p, "q"}},
      {x79 + "\rq", {x79, "\rq"}},
      {x79 + "\r", {x79, "\r"}},
      {p + "\r" + x79 + "\n", {p + "\r", x79, ""}},
      {"abcdef\n", {"ab", "cd", "ef", ""}, 3},
      {"ab", {}, 1},
      {"ab\n", {}, 0},
      {"ab\n", {}, -1},
      {p + a + "y", {p, a + "y"}},
      {x79 + a, {x79, a}},
      {"x" + ya39 + "z", {"x" + ya39, "z"}},
      {ya39 + ya, {ya39, ya}},
      {x79 + x79.substr(2) + "\x82\n", {x79, x79.substr(2) + "\x82"}},
      {p + a + p, {p, a + p.substr(1), "p"}},
      {Repeat(a, 200), Then(5, a39, {Repeat(a, 5)})},
      {Repeat("abcd\n", 30), Then(30, "abcd", {})},  // a line feed at each 64th byte
      {pad + q + "\r\nend", Then(829, p, {q, "end"})},
      {pad + q + "\rx\n", Then(829, p, {q + "\rx"})},
      {pad + x100, Then(829, p, {x79, x100.substr(79)})},
      {pad + q +
           "qw\x1A"
           "w",
       Then(829, p, {q + "qw"})},
      {std::string(65546, 'x'), Then(829, x79, {std::string(55, 'x')})},
      // UTF-8 is read as the code page 932 it converts to, then cut into pieces.
      {bom, {}},
      {bom + bom + "a\r\n\xC3\xA9", {"?a", "?"}},
      {"\xE3\x80\x9C\xE2\x88\x92\xE2\x91\xA0\n", {"\x81\x60\x81\x7C\x87\x40"}},
      {"\x7F" + utf8_a + "\n", {"\x7F" + a}},
      {bom + "\xC3\xA9\xE3\x81\n\xF0\x9F\x98\x80\x1A\xE3", {"???", "?"}},
      {Repeat(utf8_a, 30) + "\n", {Repeat(a, 30)}},
      {Repeat(utf8_a, 40), {a39, a}},
      {"x" + Repeat(utf8_a, 40), {"x" + a39, a}},
      {"x" + Repeat(utf8_a, 39) + "\n", {"x" + a39, ""}},
      {pad + "x" + Repeat(utf8_a, 40), Then(829, p, {"x" + a39, a})},
      {pad + q + "\xC3\xA9\n", Then(829, p, {q + "?"})},
      {pad + q + "\xC3" + "\xE3\x81\x82", Then(829, p, {q + "?" + a})},
      // Long UTF-8 lines, measured without being converted: 79 bytes of code page 932 are a
      // full piece and an empty one, 78 one piece, whatever holds a byte less or more.
      {bom + Repeat(utf8_a, 39) + "x\r\n", {a39 + "x", ""}},
      {bom + "xx" + Repeat(utf8_a, 38) + "y\n", {"xx" + Repeat(a, 38) + "y", ""}},
      {bom + "\x7F\x7F" + Repeat(utf8_a, 38) + "y\n", {"\x7F\x7F" + Repeat(a, 38) + "y", ""}},
      {bom + "\xE3\x81x" + Repeat(utf8_a, 38) + "\n", {"??x" + Repeat(a, 38), ""}},
      {bom + no_form + Repeat(utf8_a, 39) + "\n", {"?" + a39, ""}},
      {bom + no_form + no_form_odd + Repeat(utf8_a, 38) + "\n", {"??" + Repeat(a, 38)}},
      {bom + "\xC3\xA9" + Repeat(utf8_a, 39) + "\n", {"?" + a39, ""}},
      {bom + "\x80" + Repeat(utf8_a, 39) + "\n", {"?" + a39, ""}},
      {bom + "\xED\xA0\x80" + Repeat(utf8_a, 38) + "\n", {"???" + Repeat(a, 38), ""}},
      {bom + "\xE0\x80\x80" + Repeat(utf8_a, 38) + "\n", {"???" + Repeat(a, 38), ""}},
      {bom + Repeat("\xEF\xBD\xB1", 80) + "\n", {std::string(79, '\xB1'), "\xB1"}},
      {bom + Repeat(utf8_a, 79) + "\n", {a39, a39, a}},
      {bom + Repeat("\xE3\x82\xA2", 40) + "\n", {Repeat("\x83\x41", 39), "\x83\x41"}},
      {bom + Repeat("\xEF\xBD\xB1", 60) + "\n", {std::string(60, '\xB1')}},
      // C0 continues no character: a lead before it is three bytes of their own, read one
      // at a time and sixteen at a time.
      {bom + std::string(76, 'x') + "\xE3\xC0\x80\n", {std::string(76, 'x') + "???", ""}},
      {bom + "\xE3\xC0\x80" + std::string(76, 'x') + "\n", {"???" + std::string(76, 'x'), ""}},
      // A lead at the first byte of the scan's word that holds the line's LF.
      {"x\n" + std::string(62, 'a') + Repeat(utf8_a, 8) + "\n",
       {"x", std::string(62, 'a') + Repeat(a, 8)}},
      // A UTF-8 line past the end of a block, its piece full to the byte, and one cut off
      // at the end of the text just after the block's end.
      {bom + pad + "x" + Repeat(utf8_a, 39) + "\n", Then(829, p, {"x" + a39, ""})},
      {bom + pad + std::string(45, 'z') + std::string(34, 'y') + "\n",
       Then(829, p, {std::string(45, 'z') + std::string(34, 'y'), ""})},
      {bom + Repeat(p + "\n", 828) + std::string(45, 'q') + "\n" + std::string(77, 'x') +
           "\xE3\x81",
       Then(828, p, {std::string(45, 'q'), std::string(77, 'x') + "??"})},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReadAll(row.bytes, row.capacity), row.lines)
        << row.bytes.size() << " bytes: " << row.bytes.substr(0, 20);
  }
}

// The draw of a freshly seeded game: "1" and the sentence, or "0" and what was there.
std::string DrawAfterSeed(std::uint32_t seed) {
  SeedRandom(seed);
  char sentence[kSentenceBytes] = "unchanged";
  const int drawn = DrawSentence(sentence);
  return std::to_string(drawn) + sentence;
}

TEST_F(SentenceFileTest, Rand15DecidesTheDraw) {
  SeedRandom(0xFFFFFFFFu);
  EXPECT_EQ(rand15(), 35) << "the state wraps at 32 bits";
  const std::string o(100, 'o');
  test::WriteFile("string.dat", "zero\n" + o + "\ntwo\r\nthree\n" + std::string(100, 'f'));
  ASSERT_EQ(CountSentences(), 1);
  SeedRandom(0);  // 38, 7719, 21238, 2437, 8855, 11797: lines 3, 5, 0, 1, 0, 2 of 7
  const Lines expected = {"two",  std::string(79, 'f'), "zero", o.substr(0, 79),
                          "zero", o.substr(79)};
  for (const std::string& line : expected) {
    char sentence[kSentenceBytes] = "";
    ASSERT_EQ(DrawSentence(sentence), 1);
    EXPECT_EQ(sentence, line);
  }
  test::WriteFile("string.dat", Repeat(std::string(78, 'p') + "\n", 830) + "last\n");
  ASSERT_EQ(CountSentences(), 1);
  EXPECT_EQ(DrawAfterSeed(497), "1last") << "line 830 of 831, in the file's second block";
  test::WriteFile("string.dat", "\xE3\x81\x82\n\xE3\x81\x84\n\xE3\x81\x86\n");
  ASSERT_EQ(CountSentences(), 1);
  EXPECT_EQ(DrawAfterSeed(0), "1\x82\xA4")
      << "the third of three lines of UTF-8, from its own start";
}

TEST_F(SentenceFileTest, AFileChangedSinceItsCount) {
  test::WriteFile("string.dat", "zero\none\ntwo\n");
  ASSERT_EQ(CountSentences(), 1);
  test::WriteFile("string.dat", "first\nlast\n");
  EXPECT_EQ(DrawAfterSeed(0), "1last") << "line 3 is gone: the last line";
  test::WriteFile("string.dat", "");
  EXPECT_EQ(DrawAfterSeed(0), "1") << "no line at all: an empty one";
  std::remove("string.dat");
  EXPECT_EQ(DrawAfterSeed(0), "0unchanged") << "no file to draw from";
  EXPECT_EQ(CountSentences(), 0);
  test::WriteFile("string.dat", "x\n");
  EXPECT_EQ(DrawAfterSeed(0), "0unchanged") << "a file that could not be counted has no lines";
  test::WriteFile("string.dat", "");
  ASSERT_EQ(CountSentences(), 1);
  EXPECT_EQ(DrawAfterSeed(0), "0unchanged") << "an empty file has no lines";
}

// Under Wine the system's INI reader answers the same table as ours.
TEST_F(SentenceFileTest, BothSettingsReadersGiveTheSameAnswers) {
  const std::string g = "[Gelvo]\r\nStringFile=";
  struct Row {
    std::string ini;  // empty: no file
    std::string expected;
    bool ours_only = false;
  };
  const Row rows[] = {
      {"", "string.dat"},
      {g + "words.txt\r\n", "words.txt"},
      {"[Gelvo]\nStringFile=lf.txt", "lf.txt"},
      {"[gELVO]\r\nstringfile=lower.dat\r\n", "lower.dat"},
      {g + "my words.dat\r\n", "my words.dat"},
      {"  [ Gelvo ]\r\n \t StringFile \t=\t spaced.dat \t\r\n", "spaced.dat"},
      {"[Other]\r\nStringFile=wrong.dat\r\n", "string.dat"},
      {"StringFile=orphan.dat\r\n", "string.dat"},
      {"[Xelvo]\r\nStringFile=x\r\n[Gelvo]\r\nStringFile=right.dat\r\n", "right.dat"},
      {"[Gelvo]\r\nXtringFile=x\r\nnoequals\r\n;StringFile=japanese.dat\r\n", "string.dat"},
      {g + "abcdefghijklmnopqrstuvwxy\r\n", "abcdefghijklmnopqrs"},
      {g + "\r\n", ""},
      {g + "\"quoted.dat\"\r\n", "quoted.dat"},
      {g + "'single.dat'\r\n", "single.dat"},
      {g + "\"\"\r\n", ""},
      {g + "\"\r\n", "\""},
      {g + "one.dat\r\nStringFile=two.dat\r\n", "one.dat"},
      {g + "abc" + std::string(4082, ' ') + "d\r\n", "abc", true},  // kept up to 4096 bytes
  };
  for (const Row& row : rows) {
    std::remove("Gelvo.ini");
    if (!row.ini.empty()) test::WriteFile("Gelvo.ini", row.ini);
    char ours[kSentenceFileNameBytes] = "untouched";
    EXPECT_EQ(ReadProfileStringPortable("Gelvo", "StringFile", kDefaultSentenceFile, ours,
                                        sizeof ours, kSettingsFile),
              row.expected.size())
        << row.ini;
    EXPECT_EQ(ours, row.expected) << row.ini;
    if (row.ours_only) continue;
    EXPECT_EQ(LoadSettings(), 1);
    EXPECT_EQ(SentenceFileName(), row.expected) << row.ini;
  }
  char none[1] = {'#'};
  EXPECT_EQ(ReadProfileString("Gelvo", "StringFile", "x", none, 0, kSettingsFile), 0u);
  EXPECT_EQ(ReadProfileStringPortable("Gelvo", "StringFile", "x", none, 0, kSettingsFile), 0u);
  EXPECT_EQ(none[0], '#') << "no capacity, nothing written";
  std::remove("Gelvo.ini");
  LoadSettings();  // later tests in this process expect the default name again
}

}  // namespace
}  // namespace tolvi
