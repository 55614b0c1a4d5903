// The C library's clock, where time_t counts in 64 bits (Linux and Windows): the local
// offset is how far the local calendar reads from the moment itself.
#include <ctime>

#include "base/calendar.h"

namespace tolvi {

LocalTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  LocalTime when;
  when.seconds = static_cast<std::int64_t>(now);
  if (const std::tm* local = std::localtime(&now)) {
    const std::int64_t local_seconds =
        DaysFromCivil(local->tm_year + 1900LL, local->tm_mon + 1, local->tm_mday) * 86400 +
        local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
    when.offset_seconds = static_cast<std::int32_t>(local_seconds - when.seconds);
  }
  return when;
}

}  // namespace tolvi
