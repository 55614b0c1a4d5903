// Speed, score and date texts: two decimals rounded half up on the exact value,
// never wider than their buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "practice/text_format.h"

namespace tolvi {
namespace {

std::string Fixed2(double value, int width = 0) {
  char out[400];
  AppendFixed2(out, sizeof out, 0, value, width);
  return out;
}

TEST(Fixed2, RoundsTheExactDecimalValueHalfUp) {
  // Expected texts are the exact binary values rounded half up, worked out apart.
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {96.125, "96.13"},  {0.125, "0.13"},    {2.675, "2.67"},     {96.0, "96.00"},
      {0.0, "0.00"},      {5.5, "5.50"},      {1234.5, "1234.50"}, {0.005, "0.01"},
      {1.005, "1.00"},    {0.015, "0.01"},    {0.994999, "0.99"},  {0.995, "0.99"},
      {99.995, "100.00"}, {12.345, "12.35"},  {1e-300, "0.00"},    {5e-324, "0.00"},
      {0.5, "0.50"},      {0.045, "0.04"},    {1.115, "1.11"},     {7.0 / 3, "2.33"},
      {186.0 / 7, "26.57"}, {123456789.125, "123456789.13"},
      {9007199254740992.0, "9007199254740992.00"}, {1e22, "10000000000000000000000.00"},
      {-96.125, "-96.13"}, {-0.0, "-0.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(Fixed2(c.value), c.text) << c.value;
}

TEST(Fixed2, HugeValuesKeepEveryDigit) {
  const std::string text = Fixed2(1e300);
  EXPECT_EQ(text.substr(0, 60), "100000000000000005250476025520442024870446858110815915491585");
  EXPECT_EQ(text.size(), 301u + 3u);
  EXPECT_EQ(Fixed2(std::numeric_limits<double>::max()).size(), 309u + 3u);
}

TEST(Fixed2, NonFiniteValuesHaveShortNames) {
  EXPECT_EQ(Fixed2(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(Fixed2(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(Fixed2(std::nan("")), "nan");
  EXPECT_EQ(Fixed2(std::nan(""), 5), "  nan");
}

TEST(Fixed2, WidthPadsOnTheLeftAndNeverCuts) {
  EXPECT_EQ(Fixed2(5.5, 5), " 5.50");
  EXPECT_EQ(Fixed2(0.0, 5), " 0.00");
  EXPECT_EQ(Fixed2(1234.5, 5), "1234.50");
}

TEST(AppendText, StopsAtTheCapacity) {
  char out[8];
  std::size_t length = AppendText(out, sizeof out, 0, "abc");
  length = AppendText(out, sizeof out, length, "defghijk");
  EXPECT_EQ(length, 7u);
  EXPECT_STREQ(out, "abcdefg");
  length = AppendFixed2(out, sizeof out, length, 1e300, 0);
  EXPECT_STREQ(out, "abcdefg");
  EXPECT_EQ(AppendText(out, 0, 0, "x"), 0u);
}

TEST(SpeedText, TwoDecimalsAndTheUnit) {
  char out[64];
  FormatSpeedText(96.0, out, sizeof out);
  EXPECT_STREQ(out, "96.00 char/60s");
  FormatSpeedText(96.125, out, sizeof out);
  EXPECT_STREQ(out, "96.13 char/60s");
  FormatSpeedText(std::numeric_limits<double>::infinity(), out, sizeof out);
  EXPECT_STREQ(out, "inf char/60s");
  std::memset(out, 'X', sizeof out);
  FormatSpeedText(1e300, out, sizeof out);
  EXPECT_EQ(std::strlen(out), 63u);
}

TEST(DateText, MonthDayTimeYearZeroPadded) {
  std::tm when{};
  when.tm_year = 99;
  when.tm_mon = 7;
  when.tm_mday = 4;
  when.tm_hour = 7;
  when.tm_min = 4;
  when.tm_sec = 32;
  char out[kDateTextChars + 1];
  FormatDateText(when, out);
  EXPECT_STREQ(out, "Aug 04 07:04:32 1999");

  when = std::tm{};
  when.tm_year = 126;
  when.tm_mon = 11;
  when.tm_mday = 31;
  when.tm_hour = 23;
  when.tm_min = 59;
  when.tm_sec = 59;
  FormatDateText(when, out);
  EXPECT_STREQ(out, "Dec 31 23:59:59 2026");
}

TEST(DateText, LocalTimeOfAKnownMoment) {
  std::tm local{};
  local.tm_year = 99;
  local.tm_mon = 7;
  local.tm_mday = 4;
  local.tm_hour = 7;
  local.tm_min = 4;
  local.tm_sec = 32;
  local.tm_isdst = -1;
  char out[kDateTextChars + 1];
  LocalDateText(std::mktime(&local), out);
  EXPECT_STREQ(out, "Aug 04 07:04:32 1999");
}

}  // namespace
}  // namespace tolvi
