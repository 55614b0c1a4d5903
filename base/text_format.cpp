// Our own formatting of speeds, scores and dates: the C libraries of the two builds
// round halves differently, and a garbled score must not overflow a field.
#include "base/text_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/code_page.h"

namespace tolvi {
namespace {

constexpr char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr std::size_t kNumberBytes = 320;  // the largest double has 309 digits

// |value| with decimals (2 or 3) places, the exact binary value rounded half up.
void FormatMagnitude(double value, int decimals, char* out) {
  const double magnitude = std::fabs(value);
  if (std::isnan(value) || std::isinf(value)) {
    std::snprintf(out, kNumberBytes, std::isnan(value) ? "nan" : "inf");
    return;
  }
  // From 2^52 up a double is a whole number, which both C libraries print exactly.
  if (magnitude >= 0x1p52) {
    std::snprintf(out, kNumberBytes, "%.0f.%0*d", magnitude, decimals, 0);
    return;
  }
  // Below it, magnitude = m / 2^shift with m < 2^53, so m * 1000 fits in 64 bits.
  int exponent;
  const auto m = static_cast<std::uint64_t>(std::ldexp(std::frexp(magnitude, &exponent), 53));
  const int shift = 53 - exponent;
  const std::uint64_t scale = decimals == 3 ? 1000 : 100;
  std::uint64_t units = 0;
  if (shift < 64) {  // else it is below half a thousandth
    const std::uint64_t scaled = m * scale;
    units = (scaled >> shift) + (scaled >> (shift - 1) & 1);
  }
  std::snprintf(out, kNumberBytes, "%llu.%0*llu", static_cast<unsigned long long>(units / scale),
                decimals, static_cast<unsigned long long>(units % scale));
}

}  // namespace

std::string_view FieldText(const char* field, std::size_t size) {
  const void* end = std::memchr(field, '\0', size);
  return {field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size};
}

std::size_t AppendText(char* out, std::size_t capacity, std::size_t length, std::string_view text) {
  if (capacity == 0) return 0;
  length = std::min(length, capacity - 1);
  const std::size_t n = std::min(text.size(), capacity - 1 - length);
  std::memmove(out + length, text.data(), n);
  out[length + n] = '\0';
  return length + n;
}

std::size_t CopyWholeCharacters(std::string_view text, char* out, std::size_t capacity) {
  const std::size_t room = capacity > 0 ? capacity - 1 : 0;
  const std::string_view until_zero = FieldText(text.data(), text.size());
  const std::size_t length = until_zero.size() < room ? until_zero.size() : room;
  return AppendText(out, capacity, 0, text.substr(0, WholeCharacterBytes(text.data(), length)));
}

std::size_t CopyUtf8AsCp932(std::string_view utf8, char* out, std::size_t capacity) {
  return CopyWholeCharacters(Utf8ToCp932(utf8), out, capacity);
}

std::size_t AppendFixed(char* out, std::size_t capacity, std::size_t length, double value,
                        int decimals, int min_width) {
  char number[kNumberBytes + 1];
  const bool minus = std::signbit(value) && !std::isnan(value);
  number[0] = '-';
  FormatMagnitude(value, decimals, number + minus);
  for (int i = static_cast<int>(std::strlen(number)); i < min_width; ++i) {
    length = AppendText(out, capacity, length, " ");
  }
  return AppendText(out, capacity, length, number);
}

std::size_t AppendFixed2(char* out, std::size_t capacity, std::size_t length, double value,
                         int min_width) {
  return AppendFixed(out, capacity, length, value, 2, min_width);
}

void FormatSpeedText(double speed, char* out, std::size_t capacity) {
  const std::size_t length = AppendFixed2(out, capacity, 0, speed);
  AppendText(out, capacity, length, " char/60s");
}

void FormatDateText(const CivilTime& local, char* out) {
  const int month = local.month >= 1 && local.month <= 12 ? local.month - 1 : 0;
  char text[64];
  std::snprintf(text, sizeof text, "%.3s %02d %02d:%02d:%02d %lld", kMonthNames + 3 * month,
                local.day, local.hour, local.minute, local.second,
                static_cast<long long>(local.year));
  AppendText(out, kDateTextChars + 1, 0, text);
}

void DateTextOf(const LocalTime& when, char* out) { FormatDateText(CivilTimeOf(when), out); }

}  // namespace tolvi
