// Speed, score and date texts, and cuts at whole characters: never past their buffers.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "practice/text_format.h"

namespace tolvi {
namespace {

TEST(TextFormat, TwoDecimalsHalfUpOnTheExactValue) {
  struct Row { double value; int width; std::size_t capacity; std::string text; };
  const Row rows[] = {
      {96.125, 0, 64, "96.13"}, {0.125, 0, 64, "0.13"}, {2.675, 0, 64, "2.67"}, {1.005, 0, 64, "1.00"},
      {0.005, 0, 64, "0.01"}, {99.995, 0, 64, "100.00"}, {-96.125, 0, 64, "-96.13"}, {5e-324, 0, 64, "0.00"},
      {5.5, 5, 64, " 5.50"}, {0, 5, 64, " 0.00"}, {1234.5, 5, 64, "1234.50"}, {NAN, 5, 64, "  nan"},
      {INFINITY, 0, 64, "inf"}, {-INFINITY, 5, 64, " -inf"}, {0x1p52 - 0.5, 0, 64, "4503599627370495.50"},
      {0x1p53 + 2, 0, 64, "9007199254740994.00"}, {DBL_MAX, 0, 52, "179769313486231570814527423731704356798070567525844"},
      {1.0, 0, 1, ""}, {1.0, 0, 0, "#"},
  };
  for (const Row& row : rows) {
    char out[64] = "#";
    AppendFixed2(out, row.capacity, 0, row.value, row.width);
    EXPECT_EQ(out, row.text) << row.value;
  }
  char out[400];
  EXPECT_EQ(AppendFixed2(out, sizeof out, 0, -DBL_MAX, 0), 313u) << "every digit, when there is room";
  FormatSpeedText(96.0, out, sizeof out);
  EXPECT_STREQ(out, "96.00 char/60s");
  EXPECT_EQ(AppendText(out, 4, 4, "yz"), 3u) << "a length at the capacity is taken as full";
}

TEST(TextFormat, CutsNeverSplitACharacter) {
  const std::string a = "\x82\xA0", ya = "\x88\x9F";  // the trail byte of ya looks like a lead byte
  struct Row { std::string text; std::size_t capacity; std::string cut; };
  const Row rows[] = {
      {"abcdefghij", 9, "abcdefgh"}, {a + a + a + a + a, 9, a + a + a + a}, {"x" + a + a + a + a, 9, "x" + a + a + a},
      {ya + ya + ya + ya, 9, ya + ya + ya + ya}, {"x" + ya + ya + ya + ya, 9, "x" + ya + ya + ya}, {"a\x82", 9, "a"},
      {std::string("a\x82\0b", 4), 9, "a"}, {std::string(50, '-') + ya, 52, std::string(50, '-')},
      {"\x80x", 2, "\x80"}, {"\xA0x", 2, "\xA0"}, {"\xDFx", 2, "\xDF"}, {"\xFDx", 2, "\xFD"},  // single bytes
      {"\x81x", 2, ""}, {"\x9Fx", 2, ""}, {"\xE0x", 2, ""}, {"\xFCx", 2, ""},                  // lead bytes
  };
  for (const Row& row : rows) {
    char out[64];
    EXPECT_EQ(CopyWholeCharacters(row.text, out, row.capacity), row.cut.size()) << row.text;
    EXPECT_EQ(out, row.cut) << row.text;
  }
}

TEST(TextFormat, DateTexts) {
  struct Row { int year, month, day; const char* text; };
  const Row rows[] = {{1999, 7, 4, "Aug 04 07:04:32 1999"}, {2026, 11, 31, "Dec 31 07:04:32 2026"},
                      {2000, 12, 1, "Jan 01 07:04:32 2000"}, {12345, 0, 1, "Jan 01 07:04:32 1234"}};
  for (const Row& row : rows) {
    std::tm when{};
    when.tm_year = row.year - 1900, when.tm_mon = row.month, when.tm_mday = row.day;
    when.tm_hour = 7, when.tm_min = 4, when.tm_sec = 32, when.tm_isdst = -1;
    char out[kDateTextChars + 2] = "";
    out[kDateTextChars + 1] = '#';
    FormatDateText(when, out);
    EXPECT_EQ(std::string(out, sizeof out), row.text + std::string("\0#", 2));
    if (row.year == 1999) LocalDateText(std::mktime(&when), out);
    EXPECT_STREQ(out, row.text);
  }
  char out[kDateTextChars + 1];
  LocalDateText(std::numeric_limits<std::time_t>::max(), out);
  EXPECT_STREQ(out, "-----") << "a time the calendar cannot hold";
}

}  // namespace
}  // namespace tolvi
