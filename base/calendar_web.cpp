// The page's own clock: its milliseconds since 1970 are a double, which overflows in no
// year a player will see, and its offset comes from the browser's time zone.
#include <emscripten/emscripten.h>

#include <cmath>

#include "base/calendar.h"

// clang-format off
EM_JS(double, tolvi_page_now_millis, (), {
  return Date.now();
});

// getTimezoneOffset counts the other way: UTC less local time.
EM_JS(int, tolvi_page_offset_minutes, (double millis), {
  return -new Date(millis).getTimezoneOffset();
});
// clang-format on

namespace tolvi {

LocalTime LocalNow() {
  const double millis = tolvi_page_now_millis();
  LocalTime when;
  when.seconds = static_cast<std::int64_t>(std::floor(millis / 1000));
  when.offset_seconds = tolvi_page_offset_minutes(millis) * 60;
  return when;
}

}  // namespace tolvi
