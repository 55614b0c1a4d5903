// Speed, score and date texts, and cuts at whole characters: never past their buffers.
#include <cfloat>
#include <limits>

#include "support.h"
#include "practice/text_format.h"

namespace tolvi {
namespace {

TEST(TextFormat, TwoDecimalsHalfUpOnTheExactValue) {
  struct Row { double value; int width; std::size_t capacity; std::string text; };
  for (const Row& row : {Row{96.125, 0, 64, "96.13"}, {0.125, 0, 64, "0.13"}, {2.675, 0, 64, "2.67"},
                         {1.005, 0, 64, "1.00"}, {0.005, 0, 64, "0.01"}, {99.995, 0, 64, "100.00"},
                         {-96.125, 0, 64, "-96.13"}, {5e-324, 0, 64, "0.00"}, {5.5, 5, 64, " 5.50"},
                         {1234.5, 5, 64, "1234.50"}, {NAN, 5, 64, "  nan"}, {-INFINITY, 5, 64, " -inf"},
                         {0x1p52 - 0.5, 0, 64, "4503599627370495.50"}, {0x1p53 + 2, 0, 64, "9007199254740994.00"},
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
  const std::string a = "\x82\xA0", ya = "\x88\x9F", a4 = a + a + a + a, ya4 = ya + ya + ya + ya;  // ya's trail looks like a lead
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
  when.tm_year = 12345 - 1900, out[kDateTextChars + 1] = '#';
  FormatDateText(when, out);
  EXPECT_EQ(std::string(out, sizeof out), std::string("Aug 04 07:04:32 1234\0#", 22)) << "cut to 20 characters";
  LocalDateText(std::numeric_limits<std::time_t>::max(), out);
  EXPECT_STREQ(out, "-----") << "a time the calendar cannot hold";
}

}  // namespace
}  // namespace tolvi
