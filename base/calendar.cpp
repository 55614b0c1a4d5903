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

bool IsLeapYear(std::int64_t year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(std::int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The value of the count digits at text[at], or -1 when one of them is no digit.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - '0';
    if (digit > 9) return -1;
    value = value * 10 + static_cast<int>(digit);
  }
  return value;
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
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
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
                civil.year < 0 ? 5 : 4, static_cast<long long>(civil.year), civil.month,
                civil.day, civil.hour, civil.minute, civil.second,
                when.offset_seconds < 0 ? '-' : '+', offset_minutes / 60, offset_minutes % 60);
}

bool IsIsoDate(std::string_view text) {
  // YYYY-MM-DDTHH:MM:SS, then Z or +HH:MM or -HH:MM.
  const bool zulu = text.size() == 20 && text[19] == 'Z';
  if (!zulu && !(text.size() == 25 && (text[19] == '+' || text[19] == '-') && text[22] == ':')) {
    return false;
  }
  if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') {
    return false;
  }
  const int year = Digits(text, 0, 4);
  const int month = Digits(text, 5, 2);
  const int day = Digits(text, 8, 2);
  const int hour = Digits(text, 11, 2);
  const int minute = Digits(text, 14, 2);
  const int second = Digits(text, 17, 2);
  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return false;
  }
  if (zulu) return true;
  const int offset_hours = Digits(text, 20, 2);
  const int offset_minutes = Digits(text, 23, 2);
  return offset_hours >= 0 && offset_minutes >= 0 && offset_minutes <= 59 &&
         offset_hours * 60 + offset_minutes <= 18 * 60;
}

}  // namespace tolvi
