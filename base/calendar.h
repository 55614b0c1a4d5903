// Calendar time counted in 64 bits on every build, the browser's included, and its ISO 8601
// text with the local offset: 2026-12-08T23:16:22+09:00.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tolvi {

// A moment and the local time's offset from UTC at it.
struct LocalTime {
  std::int64_t seconds = 0;  // since 1970-01-01T00:00:00Z
  std::int32_t offset_seconds = 0;
};

// The clock of each build: the C library's where its time_t has 64 bits, the page's own
// clock in the browser, whose C library counts in 32 bits and overflows in 2038.
LocalTime LocalNow();

struct CivilTime {
  std::int64_t year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The local date and time of when.
CivilTime CivilTimeOf(const LocalTime& when);

// Days from 1970-01-01 to the date, the proleptic Gregorian calendar either way.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// "2026-12-08T23:16:22+09:00" and its terminator; a year outside 0 to 9999 is written
// with its sign and all its digits, which no reader takes for a year of the history.
constexpr std::size_t kIsoDateBytes = 128;  // room for whatever numbers the format could meet
void FormatIsoDate(const LocalTime& when, char* out);

// Whether text is such a date of a year from 1970 to 9999, with a real month, day, time
// and an offset of at most 18 hours (or Z).
bool IsIsoDate(std::string_view text);
// The same for a reader that knows already which bytes are digits: bit i for text[i].
bool IsIsoDate(std::string_view text, std::uint32_t digits);

}  // namespace tolvi
