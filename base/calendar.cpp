// The civil calendar by arithmetic alone, so that no build's 32-bit time_t or time zone
// table stands between a moment and its text.
#include "base/calendar.h"

#include <cstdio>
#include <cstdlib>

namespace tolvi {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysPerEra = 146097;  // 400 Gregorian years

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

bool IsLeapYear(std::int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(std::int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  // Years counted from March, so that a leap day ends its year.
  year -= month <= 2;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t year_of_era = year - era * 400;
  const int shifted_month = month > 2 ? month - 3 : month + 9;
  const std::int64_t day_of_year = (153 * shifted_month + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * kDaysPerEra + day_of_era - 719468;
}

CivilTime CivilTimeOf(const LocalTime& when) {
  const std::int64_t local = when.seconds + when.offset_seconds;
  const std::int64_t days = FloorDiv(local, kSecondsPerDay);
  const std::int64_t second_of_day = local - days * kSecondsPerDay;
  const std::int64_t shifted = days + 719468;
  const std::int64_t era = FloorDiv(shifted, kDaysPerEra);
  const std::int64_t day_of_era = shifted - era * kDaysPerEra;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  CivilTime civil;
  civil.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  civil.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  civil.year = year_of_era + era * 400 + (civil.month <= 2);
  civil.hour = static_cast<int>(second_of_day / 3600);
  civil.minute = static_cast<int>(second_of_day / 60 % 60);
  civil.second = static_cast<int>(second_of_day % 60);
  return civil;
}

void FormatIsoDate(const LocalTime& when, char* out) {
  const CivilTime civil = CivilTimeOf(when);
  const int offset_minutes = std::abs(when.offset_seconds) / 60;
  std::snprintf(out, kIsoDateBytes, "%0*lld-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                civil.year < 0 ? 5 : 4, static_cast<long long>(civil.year), civil.month, civil.day,
                civil.hour, civil.minute, civil.second, when.offset_seconds < 0 ? '-' : '+',
                offset_minutes / 60, offset_minutes % 60);
}

bool IsIsoDate(std::string_view text) {
  std::uint32_t digits = 0;
  for (std::size_t i = 0; i < text.size() && i < 32; ++i) {
    digits |= static_cast<std::uint32_t>(text[i] >= '0' && text[i] <= '9') << i;
  }
  return IsIsoDate(text, digits);
}

bool IsIsoDate(std::string_view text, std::uint32_t digits) {
  // YYYY-MM-DDTHH:MM:SS, then Z or +HH:MM or -HH:MM.
  constexpr std::uint32_t kDateAndTime = 0b1101101101101101101101111;
  constexpr std::uint32_t kZuluDigits = kDateAndTime & 0x7FFFF;
  const bool zulu = text.size() == 20;
  if (zulu ? digits != kZuluDigits || text[19] != 'Z'
           : text.size() != 25 || digits != kDateAndTime || (text[19] != '+' && text[19] != '-') ||
                 text[22] != ':') {
    return false;
  }
  if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') {
    return false;
  }
  const auto two = [&](std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  const int year = two(0) * 100 + two(2);
  const int month = two(5);
  const int day = two(8);
  const int offset = zulu ? 0 : two(20) * 60 + two(23);
  return year >= 1970 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month) &&
         two(11) <= 23 && two(14) <= 59 && two(17) <= 59 && (zulu || two(23) <= 59) &&
         offset <= 18 * 60;
}

}  // namespace tolvi
