// The texts of speeds, scores and dates, and cuts that keep whole characters.
#include <cfloat>
#include <limits>

#include "base/text_format.h"
#include "support.h"

namespace tolvi {
namespace {

TEST(TextFormat, TwoDecimalsRoundHalfUpOnTheExactValue) {
  struct Row {
    double value;
    int width;
    std::size_t capacity;
    std::string text;
  };
  const Row rows[] = {
      {96.125, 0, 64, "96.13"},
      {0.125, 0, 64, "0.13"},
      {2.675, 0, 64, "2.67"},  // just below 2.675 in binary
      {1.005, 0, 64, "1.00"},
      {0.005, 0, 64, "0.01"},
      {99.995, 0, 64, "100.00"},
      {-96.125, 0, 64, "-96.13"},
      {5e-324, 0, 64, "0.00"},
      {0.004999, 0, 64, "0.00"},
      {5.5, 5, 64, " 5.50"},
      {1234.5, 5, 64, "1234.50"},
      {NAN, 5, 64, "  nan"},
      {-INFINITY, 5, 64, " -inf"},
      {0x1p51 + 0.5, 0, 64, "2251799813685248.50"},
      {0x1p52 - 0.5, 0, 64, "4503599627370495.50"},
      {0x1p52, 0, 64, "4503599627370496.00"},
      {0x1p53 + 2, 0, 64, "9007199254740994.00"},
      {DBL_MAX, 0, 52, "179769313486231570814527423731704356798070567525844"},
      {1.0, 0, 5, "1.00"},
      {10.0, 0, 5, "10.0"},
      {1.0, 0, 1, ""},
      {1.0, 0, 0, "#"},
  };
  for (const Row& row : rows) {
    char out[64] = "#";
    AppendFixed2(out, row.capacity, 0, row.value, row.width);
    EXPECT_EQ(out, row.text) << row.value << " in " << row.capacity << " bytes";
  }
}

TEST(TextFormat, EveryDigitWhenThereIsRoom) {
  char out[400];
  EXPECT_EQ(AppendFixed2(out, sizeof out, 0, -DBL_MAX, 0), 313u);
  EXPECT_EQ(std::string(out).substr(0, 6), "-17976");
  EXPECT_EQ(std::string(out).substr(307), "368.00");
}

TEST(TextFormat, SpeedTextAndAppendsAtTheCapacity) {
  char out[64];
  FormatSpeedText(96.0, out, sizeof out);
  EXPECT_STREQ(out, "96.00 char/60s");
  FormatSpeedText(INFINITY, out, sizeof out);
  EXPECT_STREQ(out, "inf char/60s");
  FormatSpeedText(96.0, out, 12);
  EXPECT_STREQ(out, "96.00 char/") << "cut to the capacity";
  EXPECT_EQ(AppendText(out, 4, 4, "yz"), 3u) << "a length at the capacity is taken as full";
  EXPECT_STREQ(out, "96.");
}

TEST(TextFormat, CutsNeverSplitACharacter) {
  const std::string a = "\x82\xA0";
  const std::string ya = "\x88\x9F";  // its trail byte looks like a lead byte
  const std::string a4 = test::Repeat(a, 4);
  const std::string ya4 = test::Repeat(ya, 4);
  struct Row {
    std::string text;
    std::size_t capacity;
    std::string cut;
  };
  const Row rows[] = {
      {"abcdefghij", 9, "abcdefgh"},
      {"abcdefgh", 9, "abcdefgh"},
      {a4 + a, 9, a4},
      {"x" + a4, 9, "x" + a + a + a},
      {ya4, 9, ya4},
      {"x" + ya4, 9, "x" + ya + ya + ya},
      {std::string("a\x82\0b", 4), 9, "a"},
      {"\x80x", 2, "\x80"},
      {"\xA0x", 2, "\xA0"},
      {"\xDFx", 2, "\xDF"},
      {"\xFDx", 2, "\xFD"},
      {"\x81x", 2, ""},
      {"\x9Fx", 2, ""},
      {"\xE0x", 2, ""},
      {"\xFCx", 2, ""},
      {std::string(50, '-') + ya, 52, std::string(50, '-')},
      {"ab", 0, "#"},
  };
  for (const Row& row : rows) {
    char out[64] = "#";
    const std::size_t length = CopyWholeCharacters(row.text, out, row.capacity);
    EXPECT_EQ(out, row.cut) << row.text << " in " << row.capacity << " bytes";
    EXPECT_EQ(length, row.capacity > 0 ? std::strlen(out) : 0) << row.text;
  }
}

std::tm AugustFourth1999() {
  std::tm when{};
  when.tm_year = 99;
  when.tm_mon = 7;
  when.tm_mday = 4;
  when.tm_hour = 7;
  when.tm_min = 4;
  when.tm_sec = 32;
  when.tm_isdst = -1;
  return when;
}

TEST(TextFormat, DateTexts) {
  std::tm when = AugustFourth1999();
  char out[kDateTextChars + 2] = "";
  LocalDateText(std::mktime(&when), out);
  EXPECT_STREQ(out, "Aug 04 07:04:32 1999");
  when.tm_year = 12345 - 1900;
  when.tm_mon = 12;  // no such month
  out[kDateTextChars + 1] = '#';
  FormatDateText(when, out);
  EXPECT_EQ(std::string(out, sizeof out), std::string("Jan 04 07:04:32 1234\0#", 22))
      << "cut to 20 characters";
  when.tm_mon = 11;
  FormatDateText(when, out);
  EXPECT_STREQ(out, "Dec 04 07:04:32 1234");
  LocalDateText(std::numeric_limits<std::time_t>::max(), out);
  EXPECT_STREQ(out, "-----") << "a time the calendar cannot hold";
}

}  // namespace
}  // namespace tolvi
