// The sentence file (text-mode lines, 79-byte pieces, rand15, counting and drawing),
// the settings file, and the texts of speeds, scores and dates.
#include <cfloat>
#include <limits>

#include "support.h"
#include "base/profile.h"
#include "practice/random.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"
#include "base/text_format.h"

namespace tolvi {
namespace {

using Lines = std::vector<std::string>;

std::string Repeat(const std::string& text, int times) { return times > 0 ? text + Repeat(text, times - 1) : ""; }
Lines Then(std::size_t n, const std::string& line, Lines rest) { return rest.insert(rest.begin(), n, line), rest; }

// Every line the reader gives; a count of the same file must agree.
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

class Practice : public ::testing::Test {
  test::FreshFolder folder_;
};

TEST_F(Practice, TextModeLines) {
  const std::string pad = Repeat(std::string(78, 'p') + "\n", 829);  // 45 bytes short of the 64 KiB block
  const std::string p(78, 'p'), q(44, 'q'), x79(79, 'x'), x100(100, 'x'), a = "\x82\xA0", ya = "\x88\x9F";
  const std::string a39 = Repeat(a, 39), ya39 = Repeat(ya, 39);  // the trail byte of ya looks like a lead byte
  struct Row { std::string bytes; Lines lines; int capacity = kSentenceBytes; };
  for (const Row& row : {Row{"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"a\n\nb\n", {"a", "", "b"}}, {"\n", {""}},
                         {"", {}}, {"a\rb\r", {"a\rb\r"}}, {"a\r\r\nb", {"a\r", "b"}}, {"a\nb\x1A" "c\nd\n", {"a", "b"}},
                         {x100, {x79, x100.substr(79)}}, {x79 + "\n", {x79, ""}}, {p + "\r\nq", {p, "q"}}, {x79 + "\rq", {x79, "\rq"}}, {x79 + "\r", {x79, "\r"}},
                         {"abcdef\n", {"ab", "cd", "ef", ""}, 3}, {"ab", {}, 1}, {"ab\n", {}, 0}, {"ab\n", {}, -1},
                         {pad + q + "\r\nend", Then(829, p, {q, "end"})}, {pad + q + "\rx\n", Then(829, p, {q + "\rx"})},
                         {pad + x100, Then(829, p, {x79, x100.substr(79)})}, {pad + q + "qw\x1A" "w", Then(829, p, {q + "qw"})},
                         {std::string(65546, 'x'), Then(829, x79, {std::string(55, 'x')})}, {p + a + "y", {p, a + "y"}},
                         {x79 + a, {x79, a}}, {"x" + ya39 + "z", {"x" + ya39, "z"}}, {ya39 + ya, {ya39, ya}},
                         {x79 + x79.substr(2) + "\x82\n", {x79, x79.substr(2) + "\x82"}}, {p + "\r" + x79 + "\n", {p + "\r", x79, ""}}, {p + a + p, {p, a + p.substr(1), "p"}}, {Repeat(a, 200), Then(5, a39, {Repeat(a, 5)})}}) {
    EXPECT_EQ(ReadAll(row.bytes, row.capacity), row.lines) << row.bytes.substr(0, 20);
  }
}

TEST_F(Practice, Rand15DecidesTheDrawAndAShortenedFileGivesItsLastLine) {
  const auto draw = [](const char* expected) {
    char sentence[kSentenceBytes] = "unchanged";
    return std::to_string(DrawSentence(sentence)) + sentence == expected;
  };
  SeedRandom(0xFFFFFFFFu);
  EXPECT_EQ(rand15(), 35) << "the state wraps at 32 bits";
  test::WriteFile("string.dat", "zero\none\r\ntwo\nthree\n" + std::string(100, 'f'));
  ASSERT_EQ(CountSentences(), 1);
  SeedRandom(0);  // 38, 7719, 21238, 2437, 8855: lines 2, 3, 4, 1, 5 of 6
  for (const std::string& line : Lines{"two", "three", std::string(79, 'f'), "one", std::string(21, 'f')}) {
    EXPECT_TRUE(draw(("1" + line).c_str())) << line;
  }
  test::WriteFile("string.dat", "first\nlast\n");  // line 2 is gone
  EXPECT_TRUE((SeedRandom(0), draw("1last")));
  test::WriteFile("string.dat", "");
  EXPECT_TRUE((SeedRandom(0), draw("1")));
  ASSERT_EQ(CountSentences(), 1);
  EXPECT_TRUE(draw("0unchanged")) << "no line to draw";
  test::WriteFile("string.dat", "x\n");
  ASSERT_EQ(CountSentences(), 1);
  std::remove("string.dat");
  EXPECT_TRUE(draw("0unchanged") && CountSentences() == 0) << "no file to draw from or count";
  test::WriteFile("string.dat", "x\n");
  EXPECT_TRUE(draw("0unchanged")) << "a file that could not be counted has no lines";
}

// Under Wine the system's INI reader answers the same table as ours.
TEST_F(Practice, BothSettingsReadersGiveTheSameAnswers) {
  const std::string g = "[Gelvo]\r\nStringFile=";
  struct Row { std::string ini; const char* expected; bool ours_only = false; };  // no ini: no file
  for (const Row& row : {Row{"", "string.dat"}, {g + "words.txt\r\n", "words.txt"}, {"[Gelvo]\nStringFile=lf.txt", "lf.txt"},
                         {"[gELVO]\r\nstringfile=lower.dat\r\n", "lower.dat"}, {g + "my words.dat\r\n", "my words.dat"},
                         {"  [ Gelvo ]\r\n \t StringFile \t=\t spaced.dat \t\r\n", "spaced.dat"},
                         {"[Other]\r\nStringFile=wrong.dat\r\n", "string.dat"}, {"StringFile=orphan.dat\r\n", "string.dat"},
                         {"[Xelvo]\r\nStringFile=x\r\n[Gelvo]\r\nStringFile=right.dat\r\n", "right.dat"},
                         {"[Gelvo]\r\nXtringFile=x.dat\r\nnoequals\r\n;StringFile=japanese.dat\r\n", "string.dat"},
                         {g + "abcdefghijklmnopqrstuvwxy\r\n", "abcdefghijklmnopqrs"}, {g + "\r\n", ""},
                         {g + "\"quoted.dat\"\r\n", "quoted.dat"}, {g + "'single.dat'\r\n", "single.dat"}, {g + "\"\"\r\n", ""},
                         {g + "\"\r\n", "\""}, {g + "one.dat\r\nStringFile=two.dat\r\n", "one.dat"},
                         {g + "abc" + std::string(4082, ' ') + "d\r\n", "abc", true}}) {  // kept up to 4096 bytes
    std::remove("Gelvo.ini");
    if (!row.ini.empty()) test::WriteFile("Gelvo.ini", row.ini);
    char ours[kSentenceFileNameBytes] = "untouched";
    EXPECT_EQ(ReadProfileStringPortable("Gelvo", "StringFile", kDefaultSentenceFile, ours, sizeof ours, kSettingsFile),
              std::strlen(row.expected)) << row.ini;
    EXPECT_STREQ(ours, row.expected) << row.ini;
    EXPECT_TRUE(row.ours_only || (LoadSettings() == 1 && std::string(SentenceFileName()) == row.expected)) << row.ini;
  }
  char none[1] = {'#'};
  EXPECT_EQ(ReadProfileStringPortable("Gelvo", "StringFile", "x", none, 0, kSettingsFile) +
                ReadProfileString("Gelvo", "StringFile", "x", none, 0, kSettingsFile), 0u);
  EXPECT_EQ(none[0], '#') << "no capacity, nothing written";
  std::remove("Gelvo.ini");
  LoadSettings();  // later tests expect the default name again
}

TEST(TextFormat, TwoDecimalsHalfUpOnTheExactValue) {
  struct Row { double value; int width; std::size_t capacity; std::string text; };
  for (const Row& row : {Row{96.125, 0, 64, "96.13"}, {0.125, 0, 64, "0.13"}, {2.675, 0, 64, "2.67"},
                         {1.005, 0, 64, "1.00"}, {0.005, 0, 64, "0.01"}, {99.995, 0, 64, "100.00"},
                         {-96.125, 0, 64, "-96.13"}, {5e-324, 0, 64, "0.00"}, {5.5, 5, 64, " 5.50"},
                         {1234.5, 5, 64, "1234.50"}, {NAN, 5, 64, "  nan"}, {-INFINITY, 5, 64, " -inf"},
                         {0x1p52 - 0.5, 0, 64, "4503599627370495.50"}, {0x1p52, 0, 64, "4503599627370496.00"}, {0x1p53 + 2, 0, 64, "9007199254740994.00"},
                         {DBL_MAX, 0, 52, "179769313486231570814527423731704356798070567525844"},
                         {1.0, 0, 1, ""}, {1.0, 0, 0, "#"}}) {
    char out[64] = "#";
    AppendFixed2(out, row.capacity, 0, row.value, row.width);
    EXPECT_EQ(out, row.text) << row.value;
  }
  char out[400];
  EXPECT_EQ(AppendFixed2(out, sizeof out, 0, -DBL_MAX, 0), 313u) << "every digit, when there is room";
  FormatSpeedText(INFINITY, out, sizeof out);
  EXPECT_STREQ(out, "inf char/60s");
  EXPECT_EQ(AppendText(out, 4, 4, "yz"), 3u) << "a length at the capacity is taken as full";
}

TEST(TextFormat, CutsNeverSplitACharacter) {
  const std::string a = "\x82\xA0", ya = "\x88\x9F", a4 = Repeat(a, 4), ya4 = Repeat(ya, 4);  // ya's trail looks like a lead
  struct Row { std::string text; std::size_t capacity; std::string cut; };
  for (const Row& row : {Row{"abcdefghij", 9, "abcdefgh"}, {a4 + a, 9, a4}, {"x" + a4, 9, "x" + a + a + a}, {ya4, 9, ya4},
                         {"x" + ya4, 9, "x" + ya + ya + ya}, {std::string("a\x82\0b", 4), 9, "a"}, {"\x80x", 2, "\x80"},
                         {"\xA0x", 2, "\xA0"}, {"\xDFx", 2, "\xDF"}, {"\xFDx", 2, "\xFD"}, {"\x81x", 2, ""},
                         {"\x9Fx", 2, ""}, {"\xE0x", 2, ""}, {"\xFCx", 2, ""}, {std::string(50, '-') + ya, 52, std::string(50, '-')}}) {
    char out[64];
    EXPECT_EQ(CopyWholeCharacters(row.text, out, row.capacity), row.cut.size()) << row.text;
    EXPECT_EQ(out, row.cut) << row.text;
  }
}

TEST(TextFormat, DateTexts) {
  std::tm when{};
  when.tm_year = 99, when.tm_mon = 7, when.tm_mday = 4, when.tm_hour = 7, when.tm_min = 4, when.tm_sec = 32;
  char out[kDateTextChars + 2] = "";
  LocalDateText((when.tm_isdst = -1, std::mktime(&when)), out);
  EXPECT_STREQ(out, "Aug 04 07:04:32 1999");
  when.tm_year = 12345 - 1900, when.tm_mon = 12, out[kDateTextChars + 1] = '#';  // no such month
  FormatDateText(when, out);
  EXPECT_EQ(std::string(out, sizeof out), std::string("Jan 04 07:04:32 1234\0#", 22)) << "cut to 20 characters";
  LocalDateText(std::numeric_limits<std::time_t>::max(), out);
  EXPECT_STREQ(out, "-----") << "a time the calendar cannot hold";
}

}  // namespace
}  // namespace tolvi
