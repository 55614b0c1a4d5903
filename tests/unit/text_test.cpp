// The texts of speeds, scores and dates, and cuts that keep whole characters.
#include <cfloat>

#include "base/code_page.h"
#include "base/text_format.h"
#include "base/utf8_scan.h"
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
  char name[9] = "#";
  EXPECT_EQ(CopyUtf8AsCp932("\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xC3\xA9", name,
                            sizeof name),
            8u);
  EXPECT_STREQ(name, "\x82\xA0\x82\xA2\x82\xA4\x82\xA6")
      << "an entry of four kana and an e acute, into a name of 8 bytes";
}

// Both builds convert alike, the characters that tables of code page 932 are known to
// disagree on included.
TEST(CodePage, Utf8ToCp932AndBack) {
  struct Row {
    std::string utf8;
    std::string cp932;
    bool back = true;  // whether the code page 932 reads back as the same UTF-8
  };
  const Row rows[] = {
      {"Tolvi 1.00\r\n", "Tolvi 1.00\r\n"},
      {"\xE3\x81\x82\xE9\xAB\x98", "\x82\xA0\x8D\x82"},         // hiragana a, kanji
      {"\xEF\xBD\xB1", "\xB1"},                                 // half-width katakana a
      {"\xEF\xBD\x9E", "\x81\x60"},                             // full-width tilde
      {"\xE3\x80\x9C", "\x81\x60", false},                      // wave dash
      {"\xEF\xBC\x8D", "\x81\x7C"},                             // full-width hyphen-minus
      {"\xE2\x88\x92", "\x81\x7C", false},                      // minus sign
      {"\xE2\x88\xA5\xE2\x80\x95", "\x81\x61\x81\x5C"},         // parallel, horizontal bar
      {"\xE2\x80\x96\xE2\x80\x94", "\x81\x61\x81\x5C", false},  // double bar, em dash
      {"\xEF\xBF\xA0\xEF\xBF\xA1\xEF\xBF\xA2", "\x81\x91\x81\x92\x81\xCA"},
      {"\xC2\xA2\xC2\xA3\xC2\xAC", "\x81\x91\x81\x92\x81\xCA", false},       // cent, pound, not
      {"\xE2\x91\xA0\xE2\x85\xA0\xE2\x89\x92", "\x87\x40\x87\x54\x81\xE0"},  // NEC
      {"\xE2\x85\xB0\xE9\xAB\x99", "\xFA\x40\xFB\xFC"},      // IBM: small roman one, kanji
      {"\xE2\x97\xAF", "\x81\xFC"},                          // large circle, at the last trail byte
      {"\xE3\x83\xA0\xC3\xB7", "\x83\x80\x81\x80"},          // mu and division, at the first
      {"\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB3", "\x80\xA0\xFF"},  // single bytes of Windows
      // No form: yen, e acute, euro, emoji, a code point beyond the plane whose low bits
      // are those of a kana.
      {"\xC2\xA5\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF3\x81\x81\x80", "?????", false},
      // Not UTF-8: stray trail, overlong, surrogate, beyond U+10FFFF, no such lead.
      {"\x80\xC0\xAF\xC1\xBF\xED\xA0\x80\xF4\x90\x80\x80\xF5\x80\x80\x80", "????????????????",
       false},
      {"\xE3\x81" + std::string("a\xE3"), "??a?", false},              // cut off
      {"\xC3\x7F", "?\x7F", false},                                    // a lead, then DEL
      {"\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "???", false},  // lowest, highest
      {"\xE0\x9F\xBF\xF0\x8F\xBF\xBF", "???????", false},              // overlong
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Utf8ToCp932(row.utf8), row.cp932) << row.utf8;
    if (row.back) {
      EXPECT_EQ(Cp932ToUtf8(row.cp932), row.utf8) << row.utf8;
    }
  }
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
  EXPECT_EQ(Cp932ToUtf8("\x85\x90"), "??") << "natively, each byte that reads as nothing";
#endif
  // Every character of the plane, as a digest: each build's table holds the same forms.
  std::uint64_t digest = 14695981039346656037u;
  for (const std::uint16_t* form = Cp932FormsOfBmp(); form < Cp932FormsOfBmp() + 0x10000; ++form) {
    digest = (digest ^ *form) * 1099511628211u;
  }
  EXPECT_EQ(digest, 0xAEF43E841B77E600u) << "the forms of the whole plane";
  std::string seam;
  AppendCp932FromBmpUtf8(
      "\xC3\xA9"
      "a\xE2\x82\xAC",
      seam);
  EXPECT_EQ(seam, "?a?") << "each build's converter: a whole character with no form is one '?'";
  std::string out;
  EXPECT_EQ(AppendCp932FromUtf8("a\xE3\x81", out, true), 1u) << "a cut-off end waits";
  EXPECT_EQ(out, "a");
  EXPECT_TRUE(IsUtf8("\xE3\x81", true));
  EXPECT_FALSE(IsUtf8("\xE3\x81", false));
  EXPECT_FALSE(
      IsUtf8("\xE3\x81"
             "a",
             true));
}

// The kinds of a few bytes, wherever they lie: in a word read sixteen at a time, in the
// last bytes read one at a time, and across two words.
TEST(Utf8Scan, KindsOfBytesWhereverTheyLie) {
  // LF, a kana, a stray continuation byte, e acute (not three bytes), U+0800 (a lead that
  // needs a check of its next byte), a kana cut off by an ASCII byte, U+1000 and a
  // full-width "!" (the lowest and highest leads that need none), and a lead whose
  // continuation byte comes one too late.
  const std::string sample =
      "a\n\xE3\x81\x82\x80\xC3\xA9\xE0\xA0\x80\xE3\x81"
      "b\xE1\x80\x80\xEF\xBC\x81\xE3"
      "c\x81";
  const auto bits = [](const std::vector<std::uint64_t>& words) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < 64 * words.size(); ++i) {
      if (words[i / 64] >> (i % 64) & 1) at.push_back(i);
    }
    return at;
  };
  // Bytes before the sample and after it: in a word, in the last bytes, across two words.
  // And where a kana's lead, or the lead whose continuation comes late, is a word's last byte
  // or the one before it, with the next word read sixteen bytes or one at a time.
  const std::pair<std::size_t, std::size_t> places[] = {{0, 64},  {0, 0},   {64, 0}, {58, 64},
                                                        {61, 64}, {60, 64}, {51, 0}, {43, 64}};
  for (const auto& [before, after] : places) {
    const std::string text = std::string(before, 'x') + sample + std::string(after, 'y');
    Utf8Scan scan;
    ScanUtf8(text.data(), text.size(), &scan);
    const std::size_t o = before;
    EXPECT_EQ(bits(scan.line_feeds), std::vector<std::size_t>({o + 1})) << before;
    EXPECT_EQ(bits(scan.leads), std::vector<std::size_t>({o + 2, o + 14, o + 17})) << before;
    EXPECT_EQ(bits(scan.others), std::vector<std::size_t>({o + 5, o + 6, o + 7, o + 8, o + 9,
                                                           o + 10, o + 11, o + 12, o + 20, o + 22}))
        << before;
  }
}

TEST(TextFormat, DateTexts) {
  CivilTime when{12345, 13, 4, 7, 4, 32};  // no such month
  char out[kDateTextChars + 2] = "";
  out[kDateTextChars + 1] = '#';
  FormatDateText(when, out);
  EXPECT_EQ(std::string(out, sizeof out), std::string("Jan 04 07:04:32 1234\0#", 22))
      << "cut to 20 characters";
  when.month = 12;
  FormatDateText(when, out);
  EXPECT_STREQ(out, "Dec 04 07:04:32 1234");
}

}  // namespace
}  // namespace tolvi
